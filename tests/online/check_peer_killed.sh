#!/usr/bin/env bash
# The joiner killed in the middle of a match: the host says "The other player is not answering." within 3 s (of
# its clock, which runs as the replay tool's --time-scale says) and ends its run (exit code 3).
# Usage: check_peer_killed.sh REPLAY RUN_DIR WORK_DIR PORT
set -euo pipefail
replay=$1 run_dir=$2 work=$3 port=$4
mkdir -p "$work"
printf '1 keys=SPACE\n5000 keys=RCONTROL\n' > "$work/host.replay"
printf '5001 keys=LSHIFT\n' > "$work/join.replay"
cd "$run_dir"
"$replay" --host="$port" "$work/host.replay" > "$work/host.trace" 2> "$work/host.err" &
host=$!
"$replay" --join="127.0.0.1:$port" "$work/join.replay" > /dev/null 2>&1 &
joiner=$!
sleep 3
kill -9 "$joiner"
killed=$(date +%s%N)
code=0
wait "$host" || code=$?
took_ms=$(( ($(date +%s%N) - killed) / 1000000 ))
grep -q "The other player is not answering." "$work/host.err" || { echo "FAIL: the host did not say why"; exit 1; }
[ "$code" -eq 3 ] || { echo "FAIL: the host exited with $code"; exit 1; }
# 3 s of silence, and a little for the machine's load.
[ "$took_ms" -le 4500 ] || { echo "FAIL: the host took $took_ms ms to notice"; exit 1; }
echo "the host noticed the joiner's end after $took_ms ms"
