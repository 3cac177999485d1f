#!/usr/bin/env bash
# Runs a command with a rendezvous server listening on loopback (TAVO_SERVER=127.0.0.1:PORT in its environment, the
# server's process number in TAVO_SERVER_PID), then stops the server; on failure the server's log is shown.
# Usage: with_server.sh SERVER PORT LOG COMMAND...
set -euo pipefail
server=$1 port=$2 log=$3
shift 3
mkdir -p "$(dirname "$log")"
"$server" --listen="0.0.0.0:$port" --rooms-per-address=1000 > "$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q '^listening' "$log" && break
  kill -0 "$pid" 2> /dev/null || { echo "FAIL: the server did not start"; cat "$log"; exit 1; }
  sleep 0.1
done
code=0
TAVO_SERVER="127.0.0.1:$port" TAVO_SERVER_PID=$pid "$@" || code=$?
if [ "$code" -ne 0 ]; then
  echo "--- server log"
  tail -n 20 "$log"
fi
exit "$code"
