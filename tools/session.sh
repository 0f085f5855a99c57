# Sourced: starts what the Wine tests need for this shell: a virtual X display (unless one is
# given), a private PulseAudio server whose sink records everything played to
# $SONIDEX_CAPTURE/cap.raw (bit-exact, real time), and a warm wineserver for the build this
# machine runs (session_warm BUILD_DIR warms another's). session_end stops them.
_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$_here/wine-env.sh"
SONIDEX_SESSION_PIDS=()
SONIDEX_SESSION_BUILDS=()
if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and writes it once it listens: sessions started
  # at the same moment by others on this machine cannot end up sharing one.
  _dfile=$(mktemp "${TMPDIR:-/tmp}/sonidex-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$_dfile" >/dev/null 2>&1 &
  SONIDEX_SESSION_PIDS+=($!)
  for i in $(seq 200); do [ -s "$_dfile" ] && break; sleep 0.05; done
  if [ -s "$_dfile" ]; then
    export DISPLAY=:$(head -n 1 "$_dfile")
  else
    echo "warning: the virtual display did not start" >&2
  fi
  rm -f "$_dfile"
fi
# A capture folder made here is removed at the end: its recording grows by 10 MB a minute.
_own_capture=
[ -z "${SONIDEX_CAPTURE:-}" ] && _own_capture=$(mktemp -d /tmp/sonidex-pulse.XXXXXX)
export SONIDEX_CAPTURE=${SONIDEX_CAPTURE:-$_own_capture}
if "$_here/pulse_start.sh" "$SONIDEX_CAPTURE"; then
  export PULSE_SERVER=unix:$SONIDEX_CAPTURE/native PULSE_LATENCY_MSEC=60
else
  echo "warning: no PulseAudio capture: the tests that listen skip, and fail under tools/test.sh" >&2
  [ -n "$_own_capture" ] && rm -rf "$_own_capture"
  unset SONIDEX_CAPTURE
fi
# A warm server with helpers whose output is not ctest's pipe: every later start is fast.
session_warm() {
  ( export SONIDEX_BUILD=$1; source "$_here/wine-env.sh"; wine_warm )
  SONIDEX_SESSION_BUILDS+=("$1")
}
session_warm "$SONIDEX_BUILD"
session_end() {
  for b in "${SONIDEX_SESSION_BUILDS[@]}"; do
    ( export SONIDEX_BUILD=$b; source "$_here/wine-env.sh"; wineserver -k >/dev/null 2>&1 ) || true
  done
  [ -n "${SONIDEX_CAPTURE:-}" ] && "$_here/pulse_stop.sh" "$SONIDEX_CAPTURE"
  [ -n "$_own_capture" ] && rm -rf "$_own_capture"
  for p in "${SONIDEX_SESSION_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
}
