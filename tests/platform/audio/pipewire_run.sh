#!/bin/sh
# Runs a command against a private PipeWire with its PulseAudio server (pipewire-pulse) and a
# null sink "parlomat_test" (48 kHz mono), the way a Debian 12 desktop runs it; a private D-Bus
# session bus carries the session manager (WirePlumber). Exits 77 (skipped) when PipeWire is not
# installed. Usage: pipewire_run.sh <state dir> <command> [args...]; the command finds the
# server in PARLOMAT_PULSE_SERVER.
set -eu
for tool in pipewire pipewire-pulse wireplumber dbus-daemon pactl; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "pipewire_run: skipped: $tool is not installed (apt-get install pipewire pipewire-pulse wireplumber)"
        exit 77
    fi
done
mkdir -p "$1"
dir=$(cd "$1" && pwd)
shift
rm -rf "$dir/run" "$dir/home"
mkdir -p "$dir/home" "$dir/run"
chmod 700 "$dir/run"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
export PULSE_SERVER="unix:$dir/run/pulse/native"
pids=""
stop() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap stop EXIT
# dbus-daemon forks itself and prints its address and pid.
out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
pids="$(echo "$out" | sed -n 2p)"
pipewire >"$dir/pipewire.log" 2>&1 &
pids="$pids $!"
sleep 0.5
wireplumber >"$dir/wireplumber.log" 2>&1 &
pids="$pids $!"
pipewire-pulse >"$dir/pipewire-pulse.log" 2>&1 &
pids="$pids $!"
tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
        echo "pipewire_run: the PulseAudio server of PipeWire did not come up" >&2
        exit 1
    fi
    sleep 0.1
done
pactl load-module module-null-sink sink_name=parlomat_test rate=48000 channels=1 >/dev/null
sleep 1
pactl set-default-sink parlomat_test
pactl set-default-source parlomat_test.monitor
echo "pipewire_run: null sink parlomat_test on $(pactl info | sed -n 's/^Server Name: //p')"
PARLOMAT_PULSE_SERVER="$PULSE_SERVER" "$@"
