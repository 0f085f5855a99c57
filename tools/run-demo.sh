#!/usr/bin/env bash
# Installs what is missing, builds, and starts Sonidex.exe under Wine on the demo sample library.
# With no DISPLAY it starts a virtual display and leaves a screenshot in build/demo.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
lib=$(winepath -w "$root/build/win/demo-library" 2>/dev/null)
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$root/build/win/Sonidex.exe" "$lib"
fi
source "$root/tools/session.sh"
trap session_end EXIT
wine "$root/build/win/Sonidex.exe" "$lib" & pid=$!
sleep 4; import -window root "$root/build/demo.png" && echo "screenshot: build/demo.png"
echo "Sonidex runs on DISPLAY=$DISPLAY; press Ctrl+C to end."
wait $pid
