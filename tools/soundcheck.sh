#!/usr/bin/env bash
# Sounds through a real audio output. Starts private PulseAudio daemons, each
# with only a null sink, and runs bench/soundcheck's checks against them:
# first, alone, Morse playback (Play Fast and Play Slow of "sos" and "paris"),
# recorded tone for tone; then, alone too, a server stopped by SIGSTOP before
# the program starts: the start and Play Fast of "sos" stay within bounds and
# the window answers and closes; after SIGCONT sound is heard again; then the
# same server stopped for a second just as a tune starts: the tune heard whole
# after; then four lines at a time:
#   - quick sounds: letters typed and pasted into the Morse window, key clicks
#     in the typing trainer, every key sounding; fails when the program stops
#     answering or hangs; then the server killed and started again during a
#     run: letters, a tune and a playback heard afterwards;
#   - the first half of the tunes, each played ten times, every play heard whole;
#   - the other half;
#   - a sink nobody records, which takes a new stream's first samples late:
#     in a short session every sound is handed to the server whole (counted
#     in the program, where it calls the server's client library); then the
#     same sink, idle, recorded from just after the program starts: the
#     welcome tune heard whole.
# The recorded checks record the sink's monitor with parec.
#   tools/soundcheck.sh [build folder]   (default: build; run after the build)
#   tools/soundcheck.sh --restart SECONDS
#       kills the daemon of the environment's PULSE_RUNTIME_PATH and starts it
#       again SECONDS later (the restart check calls this)
# Where no PulseAudio daemon can start, it says so and passes.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# serve FOLDER [idle]: a daemon of our own in FOLDER, whoever runs this (root
# included), with only a null sink; this shell then talks to it. With idle,
# nothing reads the sink's monitor.
serve() {
  mkdir -p "$1" && chmod 700 "$1"
  export XDG_RUNTIME_DIR=$1 PULSE_RUNTIME_PATH=$1/pulse PULSE_STATE_PATH=$1/state
  export PULSE_SERVER=unix:$1/pulse/native
  HOME=$1 pulseaudio --daemonize=yes -n --exit-idle-time=-1 --log-target=file:"$1/pulse.log" \
    --load=module-native-protocol-unix --load=module-null-sink 2>"$1/start.err" || return 1
  for _ in $(seq 50); do
    if pactl info >/dev/null 2>&1; then
      # Its monitor read all the time, as a sound card plays all the time: a
      # null sink no one reads renders in blocks of up to two seconds, and a
      # new stream waits that long for its first sound. It ends with the daemon.
      if [ "${2:-}" != idle ]; then parec -d @DEFAULT_MONITOR@ --latency-msec=20 >/dev/null 2>&1 & fi
      return 0
    fi
    sleep 0.1
  done
  echo "PulseAudio started but does not answer" >"$1/start.err"
  return 1
}

# The daemon's process, by the id it wrote down.
daemon_pid() { cat "$PULSE_RUNTIME_PATH/pid" 2>/dev/null; }

if [ "${1:-}" = "--restart" ]; then
  # As after a crash: killed outright, then started again.
  pid=$(daemon_pid)
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  for _ in $(seq 50); do
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep "${2:-5}"
  serve "$XDG_RUNTIME_DIR" || { cat "$XDG_RUNTIME_DIR/start.err" >&2; exit 1; }
  exit 0
fi

build=${1:-build}
check="$build/bench/soundcheck"
bound=300   # seconds for each check; the longest takes about 130

if [ ! -x "$check" ]; then
  echo "soundcheck: $check is missing; build first" >&2
  exit 1
fi
for tool in pulseaudio pactl parec; do
  if ! command -v "$tool" >/dev/null; then
    echo "soundcheck SKIPPED: $tool is not installed (tools/setup.sh installs pulseaudio and pulseaudio-utils)"
    exit 0
  fi
done

runtime=$(mktemp -d)
lines=(quick morse stuck tunes idle)
finish() {
  for line in "${lines[@]}"; do
    pid=$(cat "$runtime/$line/pulse/pid" 2>/dev/null)
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  done
  rm -rf "$runtime"
}
trap finish EXIT

if ! (serve "$runtime/quick"); then
  echo "soundcheck SKIPPED: PulseAudio cannot start here: $(tail -n 1 "$runtime/quick/start.err")"
  exit 0
fi
(serve "$runtime/morse") && (serve "$runtime/stuck") && (serve "$runtime/tunes") && (serve "$runtime/idle" idle) || {
  echo "soundcheck FAILED: a second PulseAudio daemon does not start: $(cat "$runtime"/*/start.err)"
  exit 1
}

# run LINE ARGS...: bench/soundcheck ARGS against LINE's daemon, killed after
# $bound seconds; what it says goes to LINE.out, its exit code to LINE.rc.
run() {
  local line=$1
  shift
  (
    export XDG_RUNTIME_DIR=$runtime/$line PULSE_RUNTIME_PATH=$runtime/$line/pulse PULSE_STATE_PATH=$runtime/$line/state
    export PULSE_SERVER=unix:$runtime/$line/pulse/native
    export QEM_SOUNDCHECK_RESTART="bash $root/tools/soundcheck.sh --restart"
    QEM_SOUNDCHECK_SERVER=$(cat "$runtime/$line/pulse/pid" 2>/dev/null)
    export QEM_SOUNDCHECK_SERVER
    QT_QPA_PLATFORM=offscreen QEM_MEDIA_DIR=$root timeout -s KILL "$bound" "$check" "$@" 2>&1 \
      | grep -v "does not support setting window opacity"
    exit "${PIPESTATUS[0]}"
  ) >>"$runtime/$line.out"
  local rc=$?
  # A line's first failure stands.
  [ "$(cat "$runtime/$line.rc" 2>/dev/null || echo 0)" = 0 ] && echo "$rc" >"$runtime/$line.rc"
  return "$rc"
}

# Notes the program's streams into the quick sounds' sink, to show the sound went out.
(
  export PULSE_SERVER=unix:$runtime/quick/pulse/native
  while sleep 1; do pactl list short sink-inputs 2>/dev/null | wc -l; done >"$runtime/streams"
) &
watcher=$!

tunes=$(find Sound -maxdepth 1 \( -name '*.mp3' -o -name Drumroll.wav \) | wc -l)
half=$(((tunes + 1) / 2))
started=$(date +%s)
# The playback's timing first, on a machine not busy with the other checks.
run morse morse
run stuck stuck
run stuck pause
(run quick && run quick restart) &
checks=($!)
(run idle handed; run idle late) &
checks+=($!)
run morse tunes 0 "$half" &
checks+=($!)
(run tunes tunes "$half" "$tunes") &
checks+=($!)
wait "${checks[@]}"
kill "$watcher" 2>/dev/null
streams=$(sort -n "$runtime/streams" 2>/dev/null | tail -n 1)

failed=0
for line in "${lines[@]}"; do
  echo "== $line"
  cat "$runtime/$line.out" 2>/dev/null
  case $(cat "$runtime/$line.rc" 2>/dev/null) in
    0) ;;
    137) echo "soundcheck FAILED: the program hung and was killed after $bound s"; failed=1 ;;
    77) echo "soundcheck FAILED: the program found no audio output although PulseAudio runs"; failed=1 ;;
    *) echo "soundcheck FAILED"; failed=1 ;;
  esac
done
if [ "${streams:-0}" -lt 1 ]; then
  echo "soundcheck FAILED: no sound reached the quick sounds' sink"
  failed=1
fi
[ $failed = 0 ] || exit 1
echo "soundcheck passed in $(($(date +%s) - started)) s (up to $streams streams into the quick sounds' sink at once)"
