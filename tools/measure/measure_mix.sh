#!/usr/bin/env bash
# Measures the game's sound mix as it leaves the program: the real game under Xvfb, its output captured through
# SDL's disk audio driver (48000 Hz stereo float) for SECONDS of play (new game, serve, right Ctrl held so the
# rally lasts), three times: the song alone (--effects-volume=0), the effects alone (--music-volume=0), both.
# Prints RMS and peak in dBFS and the samples at full scale for each.
# Usage: tools/measure/measure_mix.sh [build tree, default build] ; environment: SECONDS_PLAYED (default 40).
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  run_dir=$2 capture=$3 seconds=$4
  shift 4
  cd "$run_dir"
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$capture" ./tavo2000 "$@" > /dev/null 2>&1 &
  pid=$!
  sleep 2
  xdotool mousedown 1; sleep 0.2; xdotool mouseup 1; sleep 0.5
  xdotool keydown space; sleep 0.2; xdotool keyup space
  xdotool keydown Control_R
  sleep "$seconds"
  xdotool keyup Control_R
  kill "$pid"; wait "$pid" 2>/dev/null || true
  exit 0
fi

cd "$(dirname "$0")/../.."
tree=${1:-build}
seconds=${SECONDS_PLAYED:-40}
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
for part in "song --effects-volume=0" "effects --music-volume=0" "both"; do
  read -r name option <<< "$part"
  # shellcheck disable=SC2086
  tests/support/xvfb_run.sh 640x480x24 "$PWD/$0" --inside "$PWD/$tree/run" "$work/$name.raw" "$seconds" $option
  tests/support/sound_level.py "$work/$name.raw" "$name"
done
