#!/usr/bin/env bash
# Runs the audio engine's benchmarks under Wine in a session of their own (virtual display,
# PulseAudio capture) and prints one line of figures each, on the build this machine runs (or
# SONIDEX_BUILD). Build first with tools/build.sh.
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/session.sh"
trap session_end EXIT
echo "measuring the ${SONIDEX_ARCH_OF_BUILD}-bit build ($SONIDEX_BUILD)"
for b in stream_start static_load stream_memory stream_busy_ui hires_stream click_to_sound waveform audition; do
  "$root/tools/wine-run.sh" "$SONIDEX_BUILD/$b.exe" "$@" 2>/dev/null
done
