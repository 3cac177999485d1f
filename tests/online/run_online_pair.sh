#!/usr/bin/env bash
# Two headless peers of the replay tool play one online session over loopback, the joiner's link through the link
# simulator, each from its own player's script. Both traces must be equal, both recordings the same file, and the
# offline replay of that recording must give the same trace; rollbacks must happen wherever the link has a delay,
# and stalls must not happen where the issue's goal says (up to 150 ms round trip at 2 % loss).
# With TAVO_GARBAGE=1 a third socket sends the host garbage, truncated and oversized datagrams meanwhile: they
# must be ignored and counted, and change nothing.
# TAVO_HOST_REPLAY (a command, words split) plays the host instead of REPLAY: another system's replay tool (the
# Windows one under Wine), whose trace must be the same byte for byte.
# TAVO_SERVER=ADDRESS:PORT meets through that rendezvous server instead (the host's room code read from its stderr);
# with TAVO_RELAY_ONLY=1 both peers then play through the server's relay.
# Usage: run_online_pair.sh REPLAY RUN_DIR WORK_DIR PORT FRAMES ROUND_TRIP_MS LOSS_PERCENT JITTER_MS [SCALE]
set -euo pipefail
# shellcheck source=tests/online/room_code.sh
source "$(dirname "$0")/room_code.sh"
replay=$1 run_dir=$2 work=$3 port=$4 frames=$5 trip=$6 loss=$7 jitter=$8 scale=${9:-4}
mkdir -p "$work"
work=$(cd "$work" && pwd)

# Each player's script of `frames` frames.
"$(dirname "$0")/write_pair_scripts.sh" "$work" "$frames"

sim="delay=$(( trip / 2 )),jitter=$jitter,loss=$loss,seed=$port"
cd "$run_dir"
read -r -a host_replay <<< "${TAVO_HOST_REPLAY:-$replay}"
meeting=()
[ -n "${TAVO_SERVER:-}" ] && meeting+=("--server=$TAVO_SERVER")
[ "${TAVO_RELAY_ONLY:-0}" = 1 ] && meeting+=(--relay-only)
# The files are emptied first: the host's shell opens its own only once it runs, and a room code left from an earlier
# run must not be read meanwhile.
: > "$work/host.err"
TAVO_NET_SIM='' "${host_replay[@]}" --host="$port" "${meeting[@]}" --time-scale="$scale" --record="$work/host.rec" \
  "$work/host.replay" > "$work/host.trace" 2> "$work/host.err" &
host=$!
join_at="127.0.0.1:$port"
if [ -n "${TAVO_SERVER:-}" ]; then
  join_at=$(room_code_of "$work/host.err")
  [ -n "$join_at" ] || { echo "FAIL: the host got no room code from $TAVO_SERVER"; cat "$work/host.err"; exit 1; }
fi
if [ "${TAVO_GARBAGE:-0}" = 1 ]; then
  python3 - "$port" <<'PY' &
import os, random, socket, sys, time
port = int(sys.argv[1])
out = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
rng = random.Random(port)
for i in range(600):
    kind = i % 4
    if kind == 0:
        data = os.urandom(rng.randint(1, 600))
    elif kind == 1:
        data = b"TV\x01" + bytes([rng.choice([1, 2, 4, 5, 9, 22, 25])]) + os.urandom(rng.randint(0, 40))
    elif kind == 2:
        data = b"TV\x01\x04" + os.urandom(2000)
    else:
        data = b"TV\x01\x01"
    out.sendto(data, ("127.0.0.1", port))
    time.sleep(0.01)
PY
fi
code=0
TAVO_NET_SIM="$sim" "$replay" --join="$join_at" "${meeting[@]}" --time-scale="$scale" --record="$work/join.rec" \
  "$work/join.replay" > "$work/join.trace" 2> "$work/join.err" || code=$?
host_code=0
# A joiner that failed leaves the host waiting for nobody: it is stopped rather than waited for.
[ "$code" -eq 0 ] || kill "$host" 2> /dev/null || true
wait "$host" || host_code=$?

fail() {
  echo "FAIL ($sim, $frames frames): $*"
  echo "--- host stderr"; tail -n 5 "$work/host.err"
  echo "--- joiner stderr"; tail -n 5 "$work/join.err"
  exit 1
}
[ "$host_code" -eq 0 ] || fail "the host exited with $host_code"
[ "$code" -eq 0 ] || fail "the joiner exited with $code"
[ "$(tail -n 1 "$work/host.trace")" = end ] || fail "the host's trace does not end with 'end'"
[ "$(grep -c '^f=' "$work/host.trace")" -eq "$frames" ] || fail "the host's trace has not $frames frames"
cmp -s "$work/host.trace" "$work/join.trace" || fail "the traces differ: $(cmp "$work/host.trace" "$work/join.trace")"
cmp -s "$work/host.rec" "$work/join.rec" || fail "the recordings differ"
"$replay" "$work/host.rec" > "$work/offline.trace" 2> "$work/offline.err" || fail "the offline replay failed"
cmp -s "$work/offline.trace" "$work/host.trace" || fail "the offline replay of the recording differs"

count() { sed -n "s/.*\\b$2=\\([0-9]*\\).*/\\1/p" "$work/$1.err" | tail -n 1; }
rollbacks=$(( $(count host rollbacks) + $(count join rollbacks) ))
stalls=$(( $(count host stalls) + $(count join stalls) ))
echo "round trip $trip ms, loss $loss %, jitter $jitter ms, $frames frames: equal traces; rollbacks $rollbacks," \
  "stalls $stalls; host: $(grep '^online:' "$work/host.err"); joiner: $(grep '^online:' "$work/join.err")"
if [ "$trip" -gt 0 ] && [ "$rollbacks" -eq 0 ]; then fail "no rollback at a round trip of $trip ms"; fi
if [ "$trip" -le 150 ] && [ "$loss" -le 2 ] && [ "$stalls" -ne 0 ]; then fail "$stalls stalls at $trip ms and $loss % loss"; fi
if [ "${TAVO_GARBAGE:-0}" = 1 ] && [ "$(count host ignored)" -eq 0 ]; then fail "the host counted no garbage"; fi
exit 0
