#!/usr/bin/env bash
# The whole grid of online_pair rows, 10,000 frames each, when TAVO_ONLINE_FULL_GRID=1 (it takes hours at the
# frame clock's pace; skipped, with CTest's skip code 77, otherwise).
# Usage: run_online_grid.sh REPLAY RUN_DIR WORK_DIR
set -euo pipefail
[ "${TAVO_ONLINE_FULL_GRID:-0}" = 1 ] || { echo "skipped: set TAVO_ONLINE_FULL_GRID=1 to play the whole grid"; exit 77; }
here=$(dirname "$0")
port=28100
for trip in 0 60 150 300; do
  for loss in 0 2 5 10; do
    for jitter in 0 20; do
      "$here/run_online_pair.sh" "$1" "$2" "$3/grid_$port" "$port" 10000 "$trip" "$loss" "$jitter" 8
      port=$(( port + 1 ))
    done
  done
done
