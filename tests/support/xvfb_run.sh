#!/usr/bin/env bash
# Runs a command on a fresh virtual display, like xvfb-run -a, but starts the command only once the display
# answers a client, so a real-window test never races the server's start. Usage: xvfb_run.sh SCREEN COMMAND...
# (SCREEN as Xvfb takes it, e.g. 1920x1080x24).
set -euo pipefail
screen=$1
shift
if [ "${1:-}" = "--ready" ]; then
  shift
  for _ in $(seq 1 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
  exec "$@"
fi
# -noreset: the server does not start over each time its last client leaves (the readiness probe, a screenshot),
# so a program that connects at that moment is not turned away.
exec xvfb-run -a -s "-screen 0 $screen -noreset" "$0" "$screen" --ready "$@"
