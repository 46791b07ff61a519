#!/bin/sh
# Stops what pulse_start.sh started in <state dir>.
dir=$1
if [ -f "$dir/parec.pid" ]; then
    kill "$(cat "$dir/parec.pid")" 2>/dev/null
    rm -f "$dir/parec.pid"
fi
pidfile="$dir/run/pulse/pid"
if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    rm -f "$pidfile"
fi
exit 0
