#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: native unit tests, the Wine tests in a
# virtual display, and the end-to-end tests of Sonidex.exe with its sound captured.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" || exit 1
"$root/tools/build.sh" || { echo "build failed"; exit 1; }
source "$root/tools/session.sh"
trap session_end EXIT
rc=0
( cd "$root/build/native" && ctest --output-on-failure -j2 "$@" ) | tee /tmp/sonidex-native.log || rc=1
( cd "$root/build/win" && ctest --output-on-failure "$@" ) | tee /tmp/sonidex-win.log || rc=1
# One closing line for both runs.
sum() { grep -E 'tests passed, [0-9]+ tests failed out of' "$1" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/'; }
read -r f1 t1 < <(sum /tmp/sonidex-native.log || echo "1 1")
read -r f2 t2 < <(sum /tmp/sonidex-win.log || echo "1 1")
echo "total: $(( t1 + t2 - f1 - f2 )) passed, $(( f1 + f2 )) failed"
[ $(( f1 + f2 )) -eq 0 ] && [ $rc -eq 0 ]
