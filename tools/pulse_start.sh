#!/usr/bin/env bash
# pulse_start.sh DIR: a private PulseAudio daemon recording, in real time and bit for bit,
# everything played. Sink "cap" is a pipe sink (S16LE, 44100 Hz, stereo) clocked by the system
# clock; a reader appends the stream to DIR/cap.raw (silence while idle, 176400 bytes a second).
# Clients need PULSE_SERVER=unix:DIR/native and PULSE_LATENCY_MSEC=60 (without it, 5 ms gaps
# were seen now and then). pulse_stop.sh DIR ends it.
D=${1:?folder}; mkdir -p "$D/run"; chmod 700 "$D/run"; rm -f "$D/sink.fifo"; mkfifo "$D/sink.fifo"; : > "$D/cap.raw"
cat > "$D/pipe.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$D/native
load-module module-pipe-sink sink_name=cap file=$D/sink.fifo format=s16le rate=44100 channels=2 use_system_clock_for_timing=yes
set-default-sink cap
PA
setsid bash -c "exec cat '$D/sink.fifo' >> '$D/cap.raw'" </dev/null >/dev/null 2>&1 9>&- & echo $! > "$D/cat.pid"
XDG_RUNTIME_DIR=$D/run setsid pulseaudio -n -F "$D/pipe.pa" --daemonize=no --exit-idle-time=-1 --realtime=no \
  --high-priority=no --log-target=file:"$D/pa.log" </dev/null >/dev/null 2>&1 9>&- & echo $! > "$D/pa.pid"
for i in $(seq 100); do PULSE_SERVER=unix:$D/native pactl info >/dev/null 2>&1 && exit 0; sleep 0.1; done
echo "pulseaudio did not start" >&2; exit 1
