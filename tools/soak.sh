#!/usr/bin/env bash
# The soak: seeded pseudo-random play through the replay tool (menu, both player counts, the hidden mode, serves,
# paddles, Escape, game overs) for many frames. Fails on a crash or a non-zero exit, or when the heap in use at
# the end is more than 64 KiB above what it was after the first 1,000 frames.
# Usage: tools/soak.sh [frames [seed [build tree [replay command]]]]
#   defaults: 1000000 frames, seed 2000, the tree build/, the tree's replay tool (a build for another processor
#   names the script that starts it through the emulator)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-1000000}
seed=${2:-2000}
tree=${3:-$root/build}
case $tree in /*) ;; *) tree=$root/$tree ;; esac
replay=${4:-$tree/tools/replay/tavo_replay}
[ -x "$replay" ] || { echo "soak: no replay tool at $replay; build the tree first (tools/build.sh)" >&2; exit 2; }
limit=65536

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The script comes from the replay tool, which takes the title menu's bands from the game itself.
"$replay" --soak-script "$frames" "$seed" > "$work/soak.replay"

echo "soak: $frames frames, seed $seed, $replay"
start=$(date +%s)
code=0
(cd "$tree/run" && "$replay" --soak "$work/soak.replay") > "$work/out" 2> "$work/errors" || code=$?
seconds=$(( $(date +%s) - start ))
if [ "$code" -ne 0 ] || ! grep -qx end "$work/out"; then
  echo "soak: FAILED: the replay ended with exit code $code after $seconds s" >&2
  tail -n 5 "$work/out" "$work/errors" >&2
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
