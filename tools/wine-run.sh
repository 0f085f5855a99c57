#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix: the cross build's test emulator.
source "$(dirname "$0")/wine-env.sh"
# Wine writes CRLF; the tools reading a test's output (gtest's test list) want plain lines.
wine "$@" 2> >(grep -v -e '^ALSA lib' -e 'snd_seq' >&2) | tr -d '\r'
exit ${PIPESTATUS[0]}
