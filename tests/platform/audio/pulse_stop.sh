#!/bin/sh
# Stops what pulse_start.sh started in <state dir>.
for f in "$1/parec.pid" "$1/run/pulse/pid"; do
    [ -f "$f" ] || continue
    pid=$(cat "$f"); kill "$pid" 2>/dev/null; rm -f "$f"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
done
exit 0
