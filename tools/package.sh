#!/usr/bin/env bash
# package.sh: the Windows release in dist/: Sonidex-VERSION-win32.zip and -win64.zip (the
# program, README.txt and LICENSE.txt), Sonidex-VERSION-setup.exe (an NSIS installer of the
# 32-bit program) and SHA256SUMS. It packs the Sonidex.exe of build/win and build/win64 as
# tools/build.sh made them (release mode), bringing them up to date first: after a build and a
# test run, the packages hold the very bytes that were tested. VERSION is the project's
# (CMakeLists.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/host.sh"
dist=$root/dist
for tool in zip makensis sha256sum; do
  command -v $tool >/dev/null || { echo "package.sh needs $tool: run tools/install-deps.sh" >&2; exit 1; }
done
for arch in 32 64; do
  dir=$(sonidex_build_dir $arch)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  if ! grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$dir/CMakeCache.txt"; then
    echo "$dir is not a release build (tools/build.sh makes one)" >&2; exit 1
  fi
  cmake --build "$dir" --target Sonidex -j "$(nproc)" > "$dir/package-build.log" 2>&1 ||
    { cat "$dir/package-build.log" >&2; exit 1; }
  test -f "$dir/Sonidex.exe"
done
version=$(cat "$(sonidex_build_dir 32)/sonidex-version")
[ "$version" = "$(cat "$(sonidex_build_dir 64)/sonidex-version")" ] || { echo "the two builds differ in version" >&2; exit 1; }

rm -rf "$dist"
mkdir -p "$dist"
stage=$(mktemp -d "${TMPDIR:-/tmp}/sonidex-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
# Texts for Windows users, with Windows line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/resources/package/README.txt" > "$stage/README.txt"
sed -e 's/$/\r/' "$root/LICENSE" > "$stage/LICENSE.txt"
for arch in 32 64; do
  mkdir "$stage/win$arch"
  cp -p "$(sonidex_build_dir $arch)/Sonidex.exe" "$stage/README.txt" "$stage/LICENSE.txt" "$stage/win$arch/"
  (cd "$stage/win$arch" && zip -q -X "$dist/Sonidex-$version-win$arch.zip" Sonidex.exe README.txt LICENSE.txt)
done
makensis -V2 -DVERSION="$version" -DEXE="$(sonidex_build_dir 32)/Sonidex.exe" -DREADME="$stage/README.txt" \
  -DLICENSE="$stage/LICENSE.txt" -DICON="$(sonidex_build_dir 32)/resources/Sonidex.ico" \
  -DOUTFILE="$dist/Sonidex-$version-setup.exe" "$root/resources/package/Sonidex.nsi"
(cd "$dist" && sha256sum -- Sonidex-"$version"-win32.zip Sonidex-"$version"-win64.zip Sonidex-"$version"-setup.exe > SHA256SUMS)
ls -l "$dist" | tail -n +2
