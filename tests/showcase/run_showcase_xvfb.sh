#!/usr/bin/env bash
# Runs the showcase in a window on a virtual X display, lets it play for two seconds, presses Escape and
# expects it to end by itself with exit code 0. Usage: run_showcase_xvfb.sh SHOWCASE_BINARY
set -u
if [ "${1:-}" = "--inside" ]; then
  "$2" &
  pid=$!
  sleep 2
  if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; echo "the showcase ended before Escape (code $?)"; exit 1; fi
  xdotool search --name "library showcase" windowfocus 2>/dev/null || true
  sleep 0.2
  xdotool keydown Escape; sleep 0.1; xdotool keyup Escape
  for _ in $(seq 1 50); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; code=$?; echo "showcase ended with code $code"; exit "$code"; fi
    sleep 0.1
  done
  echo "the showcase did not end after Escape"
  kill "$pid"
  exit 1
fi
"$(dirname "$0")/../support/xvfb_run.sh" 1280x1024x24 bash "$0" --inside "$1"
