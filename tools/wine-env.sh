# Sourced by the runner scripts: the Wine settings every Sonidex test and run uses.
# SONIDEX_BUILD is the cross build folder; it holds the prefix, and its file sonidex-arch says
# whether its programs are 32- or 64-bit. The default is the build this machine runs.
_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$_here/host.sh"
export SONIDEX_BUILD=${SONIDEX_BUILD:-$(sonidex_build_dir "$SONIDEX_HOST_ARCH")}
# Wine takes only an absolute prefix: a build folder named relative to here is made absolute.
case $SONIDEX_BUILD in /*) ;; *) SONIDEX_BUILD=$PWD/$SONIDEX_BUILD ;; esac
SONIDEX_ARCH_OF_BUILD=$(cat "$SONIDEX_BUILD/sonidex-arch" 2>/dev/null || echo "$SONIDEX_HOST_ARCH")
# Each build folder has its own prefix: a win32 one for the 32-bit programs, a win64 one for
# the 64-bit programs. The loaders are named outright: Debian's wrappers pick the 32-bit loader
# whenever it is installed, even where the kernel cannot run it.
export WINEPREFIX=$SONIDEX_BUILD/wineprefix
if [ "$SONIDEX_ARCH_OF_BUILD" = 64 ]; then
  export WINEARCH=win64 SONIDEX_WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32 SONIDEX_WINE=/usr/lib/wine/wine
fi
export WINELOADER=$SONIDEX_WINE
for _s in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
  [ -x "$_s" ] && { export WINESERVER=$_s; break; }
done
export WINEDEBUG=${WINEDEBUG:--all}
# midimap=n loads our MIDI test double from the prefix (no MIDI device exists in a container).
export WINEDLLOVERRIDES="mscoree,mshtml=;midimap=n"
wine() { "$SONIDEX_WINE" "$@"; }
wineserver() { "$WINESERVER" "$@"; }
winepath() { "$SONIDEX_WINE" winepath.exe "$@"; }
# Starts this prefix's server to stay a minute after its last client, and Wine's helper
# processes, with no output of theirs on our pipes: every later start is fast. A server still
# running from a moment ago (the build's prefix set-up leaves one) refuses -p: it is used as
# it is. Never fails, also for callers under "set -e".
wine_warm() {
  wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
}
