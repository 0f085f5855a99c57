#!/usr/bin/env bash
# Installs what building and testing Sonidex needs on Debian 12: both MinGW-w64 cross compilers
# (the 32-bit program is built everywhere, the 64-bit one beside it), the Wine this machine can
# run (with its 32-bit part only where the kernel runs 32-bit code), a virtual X display, input
# and screenshot tools, a private PulseAudio for sound capture, GoogleTest sources, clang with libFuzzer,
# Liberation Sans, which the test prefixes put in place of Arial (Wine has no Arial), and zip
# and NSIS for the release packages (tools/package.sh).
# Quiet and quick when all is there.
set -euo pipefail
source "$(dirname "$0")/host.sh"
[ "$SONIDEX_HOST_ARCH" = none ] && exit 1
pkgs=(cmake make g++ python3 googletest
      g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64
      wine wine64 xvfb xauth xdotool x11-apps imagemagick pulseaudio pulseaudio-utils fonts-wine fonts-liberation sox ccache
      clang libclang-rt-14-dev libx11-dev zip nsis)
# The X libraries Wine recommends, for each Wine installed: without them it falls back to X's
# own font cursors and leaves out input and display extensions, so the 32-bit and the 64-bit
# Wine would look and behave differently.
xlibs=(libxcursor1 libxi6 libxrandr2 libxrender1 libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1)
pkgs+=("${xlibs[@]}")
if [ "$SONIDEX_HOST_RUNS32" = yes ]; then
  pkgs+=(wine32:i386)
  for p in "${xlibs[@]}"; do pkgs+=("$p:i386"); done
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}"
if [ "$SONIDEX_HOST_RUNS32" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
