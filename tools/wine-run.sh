#!/usr/bin/env bash
# wine-run.sh [--build DIR] PROGRAM ARGS...: runs a Windows program under Wine with the prefix
# and loader of the build folder DIR (the cross build's test emulator names its own folder).
if [ "${1:-}" = --build ]; then export SONIDEX_BUILD=$2; shift 2; fi
source "$(dirname "$0")/wine-env.sh"
# Wine writes CRLF; the tools reading a test's output (gtest's test list) want plain lines.
wine "$@" 2> >(grep -v -e '^ALSA lib' -e 'snd_seq' >&2) | tr -d '\r'
exit ${PIPESTATUS[0]}
