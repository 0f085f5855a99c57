#!/usr/bin/env bash
# make_prefix.sh BUILD_DIR [MIDIMAP_DLL]: a quiet Wine prefix for automated GUI and sound tests
# in BUILD_DIR/wineprefix, win32 or win64 as the folder's programs are.
set -e
export SONIDEX_BUILD=${1:?build folder}
source "$(dirname "$0")/wine-env.sh"
export WINEDLLOVERRIDES="mscoree,mshtml="
P=$WINEPREFIX
if ! "$SONIDEX_WINE" --version >/dev/null 2>&1; then
  echo "cannot make the Wine prefix of $SONIDEX_BUILD: its loader $SONIDEX_WINE does not run here" >&2
  echo "($SONIDEX_HOST_WHY; tools/install-deps.sh installs the Wine this machine can run)" >&2
  exit 1
fi
if [ ! -f "$P/.base" ]; then
  rm -rf "$P"
  # Without DISPLAY wineboot shows no progress window.
  env -u DISPLAY "$SONIDEX_WINE" wineboot -u </dev/null >/dev/null 2>&1 9>&-
  # Debian's Wine does not find the fonts of fonts-wine by itself: captions would be garbage.
  [ -d /usr/share/wine/fonts ] && cp /usr/share/wine/fonts/* "$P/drive_c/windows/Fonts/"
  # No window manager under Xvfb: Wine draws the frames itself, and DestroyWindow and
  # ShowWindow(SW_HIDE) of a top-level window no longer stall for 2 s each.
  env -u DISPLAY "$SONIDEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
  env -u DISPLAY wineserver -w 9>&-
  touch "$P/.base"
fi
# Wine shows the program's own cursors as Windows does (by default it shows the cursor theme's,
# or X's font cursors where libXcursor is missing): what the tests read of the pointer is then
# the program's shape on every host. Its own step, so that an older prefix gets it too.
if [ ! -f "$P/.cursors" ]; then
  env -u DISPLAY "$SONIDEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseSystemCursors /d N /f </dev/null >/dev/null 2>&1 9>&-
  env -u DISPLAY wineserver -w 9>&-
  touch "$P/.cursors"
fi
# Drives for the folder tree's tests: T: a fixed disk and U: a CD-ROM, both folders of the
# prefix that tests fill, and V: a CD-ROM drive with no disc in it (its link leads nowhere).
if [ ! -f "$P/.drives" ]; then
  mkdir -p "$P/drive_t" "$P/drive_u"
  ln -sfn ../drive_t "$P/dosdevices/t:"
  ln -sfn ../drive_u "$P/dosdevices/u:"
  ln -sfn ../no-disc "$P/dosdevices/v:"
  for d in u: v:; do
    env -u DISPLAY "$SONIDEX_WINE" reg add 'HKLM\Software\Wine\Drives' /v $d /d cdrom /f </dev/null >/dev/null 2>&1 9>&-
  done
  env -u DISPLAY wineserver -w 9>&-
  touch "$P/.drives"
fi
# Arial, the program's font, is not among Wine's fonts and its stand-in is wider: captions
# measured for Arial are cut. Liberation Sans (fonts-liberation) has Arial's metrics, so the
# windows look as they do on Windows. Its own marker: prefixes made before it get it too.
if [ ! -f "$P/.arial" ]; then
  lib=/usr/share/fonts/truetype/liberation
  [ -d "$lib" ] && cp "$lib"/LiberationSans-*.ttf "$P/drive_c/windows/Fonts/"
  env -u DISPLAY "$SONIDEX_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
    </dev/null >/dev/null 2>&1 9>&-
  # Only Arial: other faces keep their own names (a test asks for Courier New by name).
  for f in 'Times New Roman' 'Courier New'; do
    env -u DISPLAY "$SONIDEX_WINE" reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /f \
      </dev/null >/dev/null 2>&1 9>&- || true        # absent: nothing to delete
  done
  env -u DISPLAY wineserver -w 9>&-
  touch "$P/.arial"
fi
# The MIDI test double (tools/fakemidi): programs load it with WINEDLLOVERRIDES midimap=n.
[ -n "${2:-}" ] && cp "$2" "$P/drive_c/windows/system32/midimap.dll"
touch "$P/.ready"
