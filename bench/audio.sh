#!/usr/bin/env bash
# Runs the audio engine's benchmarks under Wine in a session of their own (virtual display,
# PulseAudio capture) and prints one line of figures each. Build first with tools/build.sh.
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/session.sh"
trap session_end EXIT
for b in stream_start static_load stream_memory stream_busy_ui; do
  "$root/tools/wine-run.sh" "$root/build/win/$b.exe" "$@" 2>/dev/null
done
