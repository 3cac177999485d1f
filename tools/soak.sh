#!/usr/bin/env bash
# The soak: seeded pseudo-random play through the replay tool (menu, both player counts, the hidden mode, serves,
# paddles, Escape, game overs) for many frames. Fails on a crash or a non-zero exit, or when the heap in use at
# the end is more than 64 KiB above what it was after the first 1,000 frames.
# Usage: tools/soak.sh [frames [seed [build tree]]]   defaults: 1000000 frames, seed 2000, the tree build/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-1000000}
seed=${2:-2000}
tree=${3:-$root/build}
case $tree in /*) ;; *) tree=$root/$tree ;; esac
replay=$tree/tools/replay/tavo_replay
[ -x "$replay" ] || { echo "soak: no replay tool at $replay; build the tree first (tools/build.sh)" >&2; exit 2; }
limit=65536

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The script. The pointer's y changes only in menu frames, and every menu visit of the script starts with Escape
# (a menu frame whether play was running or not) and ends back in the new-game band, so the script always knows
# where the pointer is and never takes it to the quit band. Play stretches press the button now and then: it does
# nothing in play, and starts a new game when Space after a game over has opened the menu.
awk -v frames="$frames" -v seed="$seed" '
function rnd() { state = (state * 16807) % 2147483647; return state / 2147483647 }
function pick(n) { return int(rnd() * n) }
function emit(count, rest) {
  if (count > frames - made) count = frames - made
  if (count <= 0) return
  print count (rest == "" ? "" : " " rest)
  made += count
}
function moveTo(target) { emit(1, "dy=" (target - y)); y = target }
function playStretch(   runs, keys, motion) {
  for (runs = 1 + pick(12); runs > 0; --runs) {
    keys = ""
    if (rnd() < 0.5) keys = keys ",RCONTROL"
    if (rnd() < 0.3) keys = keys ",LSHIFT"
    if (rnd() < 0.15) keys = keys (rnd() < 0.5 ? ",LEFT" : ",RIGHT")
    if (rnd() < 0.1) { emit(1, "keys=SPACE dx=" (pick(81) - 40)); continue }
    if (rnd() < 0.05) { emit(1, "btn"); continue }
    motion = "dx=" (pick(41) - 20)
    emit(1 + pick(40), motion (keys == "" ? "" : " keys=" substr(keys, 2)))
  }
}
function gameOverRun(   misses) {
  for (misses = 0; misses < 3; ++misses) {
    emit(1, "keys=SPACE dx=" (misses % 2 == 0 ? 400 : -400))
    emit(60, "")
  }
  emit(2, "keys=SPACE")
  emit(1, "btn")
}
function menuVisit(   stays) {
  emit(1, "keys=ESC")
  for (stays = 1 + pick(4); stays > 0; --stays) {
    if (rnd() < 0.6) { moveTo(265); emit(1 + pick(3), "btn") }
    if (rnd() < 0.3) emit(1 + pick(4), "keys=CHORD")
    moveTo(rnd() < 0.5 ? pick(236) : 276 + pick(69))
    emit(1 + pick(30), "dx=" (pick(21) - 10))
  }
  moveTo(pick(236))
  emit(1, rnd() < 0.5 ? "btn" : "keys=RETURN")
}
BEGIN {
  state = seed % 2147483646 + 1
  made = 0
  y = 0
  print "# soak script: " frames " frames, seed " seed
  emit(1, "")
  emit(1, "btn")
  while (made < frames) {
    r = rnd()
    if (r < 0.75) playStretch()
    else if (r < 0.93) menuVisit()
    else gameOverRun()
  }
}' > "$work/soak.replay"

echo "soak: $frames frames, seed $seed, $replay"
start=$(date +%s)
code=0
(cd "$tree/run" && "$replay" --soak "$work/soak.replay") > "$work/out" 2> "$work/errors" || code=$?
seconds=$(( $(date +%s) - start ))
if [ "$code" -ne 0 ] || ! grep -qx end "$work/out"; then
  echo "soak: FAILED: the replay ended with exit code $code after $seconds s" >&2
  tail -5 "$work/out" "$work/errors" >&2
  exit 1
fi
heap=$(grep '^heap ' "$work/out")
baseline=$(sed -n 's/.*baseline_bytes=\([0-9]*\).*/\1/p' <<<"$heap")
final=$(sed -n 's/.*end_bytes=\([0-9]*\).*/\1/p' <<<"$heap")
growth=$((final - baseline))
echo "soak: $seconds s; heap in use $baseline bytes after the first frames, $final at the end ($growth bytes more)"
if [ "$growth" -gt "$limit" ]; then
  echo "soak: FAILED: the heap grew by more than $limit bytes" >&2
  exit 1
fi
echo "soak: passed"
