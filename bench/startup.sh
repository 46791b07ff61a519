#!/bin/sh
# Start-up time, idle CPU and memory of the program: six 30 s messages in the last
# configuration, a private PulseAudio null sink as the sound card, Xvfb as the display.
# Usage: bench/startup.sh BUILD_DIR [IDLE_SECONDS]
set -eu
build=$(cd "$1" && pwd)
idle=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap '"$here/../tests/platform/audio/pulse_stop.sh" "$work/pulse" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
"$here/../tests/platform/audio/pulse_start.sh" "$work/pulse" >/dev/null
export XDG_RUNTIME_DIR="$work/pulse/run" PULSE_SERVER="unix:$work/pulse/run/pulse/native"
mkdir -p "$work/station"
"$build/bench/startup_bench" --prepare "$work/station"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \
    'PARLOMAT_BENCH_T0_NS=$(date +%s%N) exec "$0" "$@"' \
    "$build/bench/startup_bench" "$work/station" "$idle"
