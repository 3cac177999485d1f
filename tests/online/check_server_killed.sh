#!/usr/bin/env bash
# The rendezvous server killed once the two peers have met and play: a match on a direct path goes on to its end with
# equal traces; one relayed through the server ends on both sides with "The server relaying the game stopped
# answering." within 3 s (and a little for the machine's load). Run inside with_server.sh.
# Usage: check_server_killed.sh REPLAY RUN_DIR WORK_DIR PORT direct|relayed
set -euo pipefail
# shellcheck source=tests/online/room_code.sh
source "$(dirname "$0")/room_code.sh"
replay=$1 run_dir=$2 work=$3 port=$4 path=$5
mkdir -p "$work"
printf '1 keys=SPACE\n899 keys=RCONTROL\n' > "$work/host.replay"
printf '900 keys=LSHIFT\n' > "$work/join.replay"
meeting=(--server="$TAVO_SERVER")
[ "$path" = relayed ] && meeting+=(--relay-only)
cd "$run_dir"
: > "$work/host.err"  # emptied first: a code left from an earlier run must not be read
"$replay" --host="$port" "${meeting[@]}" "$work/host.replay" > "$work/host.trace" 2> "$work/host.err" &
host=$!
code=$(room_code_of "$work/host.err")
[ -n "$code" ] || { echo "FAIL: no room code"; exit 1; }
"$replay" --join="$code" "${meeting[@]}" "$work/join.replay" > "$work/join.trace" 2> "$work/join.err" &
joiner=$!
# Playing: 100 confirmed frames on the host's side.
for _ in $(seq 200); do
  [ "$(grep -c '^f=' "$work/host.trace" || true)" -ge 100 ] && break
  sleep 0.1
done
kill -9 "$TAVO_SERVER_PID"
killed=$(date +%s%N)
host_code=0 join_code=0
wait "$host" || host_code=$?
wait "$joiner" || join_code=$?
took_ms=$(( ($(date +%s%N) - killed) / 1000000 ))
if [ "$path" = direct ]; then
  if [ "$host_code" -ne 0 ] || [ "$join_code" -ne 0 ]; then
    echo "FAIL: exits $host_code and $join_code"; tail -n 3 "$work"/*.err; exit 1
  fi
  cmp -s "$work/host.trace" "$work/join.trace" || { echo "FAIL: the traces differ"; exit 1; }
  echo "direct: the match went on to its end ($(grep -c '^f=' "$work/host.trace") frames) without the server"
else
  for side in host join; do
    grep -q "The server relaying the game stopped answering." "$work/$side.err" ||
      { echo "FAIL: the $side did not say why"; tail -n 3 "$work/$side.err"; exit 1; }
  done
  if [ "$host_code" -ne 3 ] || [ "$join_code" -ne 3 ]; then echo "FAIL: exits $host_code and $join_code"; exit 1; fi
  [ "$took_ms" -le 4500 ] || { echo "FAIL: the peers took $took_ms ms to notice"; exit 1; }
  echo "relayed: both sides ended $took_ms ms after the server's end, saying so"
fi
