# Sourced by the runner scripts: the Wine settings every Sonidex test and run uses.
# SONIDEX_BUILD is the cross build folder (it holds the prefix); the default suits a checkout.
_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export SONIDEX_BUILD=${SONIDEX_BUILD:-$_here/../build/win}
export WINEPREFIX=${WINEPREFIX:-$SONIDEX_BUILD/wineprefix}
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
# midimap=n loads our MIDI test double from the prefix (no MIDI device exists in a container).
export WINEDLLOVERRIDES="mscoree,mshtml=;midimap=n"
