#!/bin/sh
# Runs a command against a private PipeWire (pipewire-pulse, WirePlumber on a private D-Bus) with
# a null sink "parlomat_test" (48 kHz mono); exits 77 (skipped) without PipeWire.
# Usage: pipewire_run.sh <state dir> <command> [args...]; PARLOMAT_PULSE_SERVER names the server.
set -eu
for tool in pipewire pipewire-pulse wireplumber dbus-daemon pactl; do
    command -v "$tool" >/dev/null 2>&1 || { echo "pipewire_run: skipped: no $tool"; exit 77; }
done
mkdir -p "$1"
dir=$(cd "$1" && pwd)
shift
rm -rf "$dir/run" "$dir/home"
mkdir -p "$dir/home" "$dir/run"
chmod 700 "$dir/run"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run" PULSE_SERVER="unix:$dir/run/pulse/native"
out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
pids="$(echo "$out" | sed -n 2p)"
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true' EXIT
pipewire >"$dir/pipewire.log" 2>&1 &
pids="$pids $!"
sleep 0.5
wireplumber >"$dir/wireplumber.log" 2>&1 &
pids="$pids $!"
pipewire-pulse >"$dir/pipewire-pulse.log" 2>&1 &
pids="$pids $!"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl load-module module-null-sink sink_name=parlomat_test rate=48000 channels=1 >/dev/null
sleep 1
pactl set-default-sink parlomat_test
pactl set-default-source parlomat_test.monitor
PARLOMAT_PULSE_SERVER="$PULSE_SERVER" "$@"
