#!/usr/bin/env bash
# One scenario through the Windows replay tool under Wine, whose trace must equal the Linux one byte for byte
# (picture fingerprints included). Usage: check_replay_trace.sh WINE_RUN REPLAY.exe SCRIPT EXPECTED RUN_DIR ACTUAL
set -uo pipefail
wine_run=$1 replay=$2 script=$3 expected=$4 run_dir=$5 actual=$6
cd "$run_dir" || exit 1
"$wine_run" "$replay" "$script" > "$actual" 2> "$actual.err"
code=$?
if ! cmp -s "$expected" "$actual"; then
  echo "trace differs from $expected (actual kept in $actual):"
  diff -u "$expected" "$actual" | head -n 40
  cat "$actual.err"
  exit 1
fi
[ "$code" = 0 ] || { echo "replay exited with $code"; cat "$actual.err"; exit 1; }
echo "same trace as on Linux: $(basename "$expected")"
