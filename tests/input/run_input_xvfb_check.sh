#!/usr/bin/env bash
# Runs the input check program in a virtual X display and drives it with xdotool: relative moves, keys, a click.
# Usage: run_input_xvfb_check.sh CHECK_BINARY   (the script calls itself with --inside within the display)
set -u

drive() {
  local check=$1 work=$2
  "$check" "$work/ready" "$work/done" 7 12 &
  local pid=$!
  for _ in $(seq 1 200); do [ -e "$work/ready" ] && break; sleep 0.05; done
  if [ ! -e "$work/ready" ]; then echo "check program never became ready"; kill "$pid"; wait "$pid"; return 1; fi
  xdotool search --name "Input check" windowfocus 2>/dev/null || true
  sleep 0.2
  xdotool mousemove_relative -- 10 5; sleep 0.15
  xdotool mousemove_relative -- -3 7; sleep 0.15
  for key in Escape space Return Left Right Control_R Shift_L a z; do
    xdotool keydown "$key"; sleep 0.12; xdotool keyup "$key"; sleep 0.05
  done
  xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.1
  touch "$work/done"
  wait "$pid"
}
if [ "${1:-}" = "--inside" ]; then
  drive "$2" "$3"
  exit $?
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$(dirname "$0")/../support/xvfb_run.sh" 1024x768x24 bash "$0" --inside "$1" "$work"
