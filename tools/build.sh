#!/usr/bin/env bash
# Builds build/native (pure logic and its unit tests) and both cross builds: build/win, the
# 32-bit Sonidex.exe, and build/win64, the 64-bit one. The build this machine runs (tools/host.sh)
# is built whole: the Wine tests, test doubles, benchmarks, demo library and Wine prefix. Of the
# other, the 64-bit build gives what its end-to-end tests need where the machine runs it too,
# and the 32-bit build gives Sonidex.exe alone where it cannot run (it is still checked).
# build/fuzz holds the fuzz targets built with clang's libFuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/host.sh"
[ "$SONIDEX_HOST_ARCH" = none ] && exit 1
jobs=$(nproc)
# ccache, where present, keeps compiled objects across build folders and checkouts (paths are
# taken relative to the checkout, so another clone of the same sources hits too).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
fi
quiet() { grep -v -E '^\[ *[0-9]+%\]' || true; }
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$root/build/native" -j "$jobs" 2>&1 | quiet
for arch in 32 64; do
  dir=$(sonidex_build_dir $arch)
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw$arch.cmake" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  if [ "$arch" = "$SONIDEX_HOST_ARCH" ]; then targets=(all)
  elif [ "$arch" = 64 ]; then targets=(e2e_programs)
  else targets=(Sonidex)
  fi
  cmake --build "$dir" -j "$jobs" --target "${targets[@]}" 2>&1 | quiet
  test -f "$dir/Sonidex.exe"
done
test -f "$root/build/native/unit_tests"
# build/fuzz: the fuzz targets alone, with clang's libFuzzer, to run on generated input.
fuzzers=$(cd "$root/tests/fuzz" && ls -- *_fuzz.cpp | sed 's/\.cpp$//')
cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DSONIDEX_LIBFUZZER=ON "${launcher[@]}" >/dev/null
cmake --build "$root/build/fuzz" -j "$jobs" --target $fuzzers 2>&1 | quiet
