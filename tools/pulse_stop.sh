#!/usr/bin/env bash
# pulse_stop.sh DIR: stops the daemon and the reader that pulse_start.sh started.
D=${1:?folder}; for f in pa cat; do [ -f "$D/$f.pid" ] && kill "$(cat "$D/$f.pid")" 2>/dev/null; rm -f "$D/$f.pid"; done; true
