#!/usr/bin/env bash
# Installs what is missing, builds, and starts Sonidex.exe under Wine on the demo sample library:
# the 32-bit build where this machine runs 32-bit code, else the 64-bit one (tools/host.sh).
# With no DISPLAY it starts a virtual display and leaves a screenshot in build/demo.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/host.sh"
[ "$SONIDEX_HOST_ARCH" = none ] && exit 1
echo "$SONIDEX_HOST_WHY"
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
# The folder's Windows name is asked of Wine only once the display is there: a Wine started
# without one keeps a desktop that can show no window, and the program would start into it.
demo_library() { winepath -w "$SONIDEX_BUILD/demo-library" 2>/dev/null | tr -d '\r'; }
if [ -n "${DISPLAY:-}" ]; then
  exec "$SONIDEX_WINE" "$SONIDEX_BUILD/Sonidex.exe" "$(demo_library)"
fi
source "$root/tools/session.sh"
trap session_end EXIT
trap 'exit 130' INT TERM
lib=$(demo_library)
wine "$SONIDEX_BUILD/Sonidex.exe" "$lib" & pid=$!
# The screenshot once the window shows its folder (a first start in a new prefix is slow).
for i in $(seq 120); do
  xdotool search --onlyvisible --name '^Sonidex Z:' >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 2; import -window root "$root/build/demo.png" && echo "screenshot: build/demo.png"
echo "Sonidex runs on DISPLAY=$DISPLAY; press Ctrl+C to end."
wait $pid
