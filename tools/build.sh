#!/usr/bin/env bash
# Builds both halves: build/native (pure logic and its unit tests) and build/win (Sonidex.exe,
# the Wine tests, test doubles, benchmarks, demo library, Wine prefix).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j "$jobs" 2>&1 | grep -v -E '^\[ *[0-9]+%\]' || true
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win" -j "$jobs" 2>&1 | grep -v -E '^\[ *[0-9]+%\]' || true
test -f "$root/build/native/unit_tests" && test -f "$root/build/win/Sonidex.exe"
