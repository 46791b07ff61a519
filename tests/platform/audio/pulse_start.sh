#!/bin/sh
# Starts a private PulseAudio daemon with a null sink "parlomat_test" (48 kHz mono) and a capture
# of its monitor (unrecorded, a null sink stalls a second or two after its first stream opens).
# Usage: pulse_start.sh <state dir>; the socket is <state dir>/run/pulse/native.
set -eu
mkdir -p "$1"
dir=$(cd "$1" && pwd)
"$(dirname "$0")/pulse_stop.sh" "$dir" || true
rm -rf "$dir"
mkdir -p "$dir/home" "$dir/run"
chmod 700 "$dir/run"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run" PULSE_SERVER="unix:$dir/run/pulse/native"
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes --log-target=stderr \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --load="module-null-sink sink_name=parlomat_test rate=48000 channels=1" 2>"$dir/pulse.log"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null || { cat "$dir/pulse.log" >&2; exit 1; }
pactl set-default-sink parlomat_test
pactl set-default-source parlomat_test.monitor
parec -d parlomat_test.monitor --latency-msec=20 >/dev/null 2>&1 &
echo $! >"$dir/parec.pid"
sleep 3  # the sink's stall happens now, before any test opens a stream
