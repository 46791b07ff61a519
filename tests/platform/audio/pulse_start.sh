#!/bin/sh
# Starts a private PulseAudio daemon with one null sink "parlomat_test" (48 kHz mono) for the
# audio tests, and a capture of the sink's monitor that keeps the sink clocked (a null sink
# stalls for a second or two after its first stream opens unless something records it).
# Usage: pulse_start.sh <state dir>; the socket is <state dir>/run/pulse/native.
set -eu
mkdir -p "$1"
dir=$(cd "$1" && pwd)
"$(dirname "$0")/pulse_stop.sh" "$dir" || true
rm -rf "$dir"
mkdir -p "$dir/home" "$dir/run"
chmod 700 "$dir/run"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
export PULSE_SERVER="unix:$dir/run/pulse/native"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes --log-target=stderr \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --load="module-null-sink sink_name=parlomat_test rate=48000 channels=1" 2>"$dir/pulse.log"
tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
        echo "pulse_start: the daemon did not come up" >&2
        cat "$dir/pulse.log" >&2
        exit 1
    fi
    sleep 0.1
done
pactl set-default-sink parlomat_test
pactl set-default-source parlomat_test.monitor
parec -d parlomat_test.monitor --latency-msec=20 >/dev/null 2>&1 &
echo $! >"$dir/parec.pid"
# Let the sink settle: its stall happens now, before any test opens a stream.
sleep 3
echo "pulse_start: null sink parlomat_test on $PULSE_SERVER"
