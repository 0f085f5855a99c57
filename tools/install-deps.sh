#!/usr/bin/env bash
# Installs what building and testing Sonidex needs on Debian 12: the i686 MinGW-w64 cross
# compiler, Wine with its 32-bit part, a virtual X display, input and screenshot tools, a
# private PulseAudio for sound capture, GoogleTest sources. Quiet and quick when all is there.
set -euo pipefail
pkgs=(cmake make g++ python3 googletest g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
      wine wine32:i386 xvfb xauth xdotool x11-apps imagemagick pulseaudio pulseaudio-utils fonts-wine sox)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then $SUDO dpkg --add-architecture i386; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
