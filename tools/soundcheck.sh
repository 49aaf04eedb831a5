#!/usr/bin/env bash
# Quick sounds through a real audio output: starts a private PulseAudio
# daemon with a null sink, runs bench/soundcheck (letters typed and pasted
# into the Morse window, key clicks in the typing trainer, every key
# sounding) and fails when the program stops answering or hangs.
#   tools/soundcheck.sh [build folder]   (default: build; run after the build)
# Where no PulseAudio daemon can start, it says so and passes.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
check="$build/bench/soundcheck"
bound=240   # seconds; the check itself takes about 80

if [ ! -x "$check" ]; then
  echo "soundcheck: $check is missing; build first" >&2
  exit 1
fi
if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  echo "soundcheck SKIPPED: pulseaudio or pactl is not installed (tools/setup.sh installs them)"
  exit 0
fi

runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime PULSE_RUNTIME_PATH=$runtime/pulse PULSE_STATE_PATH=$runtime/state
export PULSE_SERVER=unix:$runtime/pulse/native
watcher=""
finish() {
  [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
  pulseaudio --kill 2>/dev/null
  rm -rf "$runtime"
}
trap finish EXIT

# A daemon of our own, whoever runs this (root included), with only a null sink.
if ! HOME=$runtime pulseaudio --daemonize=yes -n --exit-idle-time=-1 --log-target=file:"$runtime/pulse.log" \
     --load=module-native-protocol-unix --load=module-null-sink 2>"$runtime/start.err"; then
  echo "soundcheck SKIPPED: PulseAudio cannot start here: $(tail -n 1 "$runtime/start.err")"
  exit 0
fi
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "soundcheck SKIPPED: PulseAudio started but does not answer"
  exit 0
fi
echo "soundcheck: PulseAudio with sink $(pactl get-default-sink)"

# Notes the program's streams into the sink, to show the sound went out.
( while sleep 1; do pactl list short sink-inputs 2>/dev/null | wc -l; done >"$runtime/streams" ) &
watcher=$!

QT_QPA_PLATFORM=offscreen QEM_MEDIA_DIR=$root timeout -s KILL "$bound" "$check" 2>&1 \
  | grep -v "does not support setting window opacity"
rc=${PIPESTATUS[0]}
streams=$(sort -n "$runtime/streams" | tail -n 1)

case $rc in
  0)
    if [ "${streams:-0}" -lt 1 ]; then
      echo "soundcheck FAILED: no sound reached the sink"
      exit 1
    fi
    echo "soundcheck passed (up to $streams streams into the sink at once)" ;;
  137) echo "soundcheck FAILED: the program hung and was killed after $bound s"; exit 1 ;;
  77) echo "soundcheck FAILED: the program found no audio output although PulseAudio runs"; exit 1 ;;
  *) echo "soundcheck FAILED (exit code $rc)"; exit 1 ;;
esac
