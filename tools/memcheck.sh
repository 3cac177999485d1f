#!/usr/bin/env bash
# Memory check: runs the replay tool under valgrind (memcheck, full leak check) over one scenario, from start-up
# to the game's own quit and shut-down. Fails on any memory error or any definitely or indirectly lost block
# that tools/memcheck.supp does not account for, and prints valgrind's summary.
# Usage: tools/memcheck.sh [scenario.replay [build tree]]
#   defaults: tests/whole_program/scenarios/game_over.replay and the tree build/ (built with tools/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scenario=${1:-$root/tests/whole_program/scenarios/game_over.replay}
tree=${2:-$root/build}
case $scenario in /*) ;; *) scenario=$PWD/$scenario ;; esac
case $tree in /*) ;; *) tree=$root/$tree ;; esac
replay=$tree/tools/replay/tavo_replay
command -v valgrind > /dev/null || { echo "memcheck: valgrind is missing; run tools/install-deps.sh" >&2; exit 2; }
[ -x "$replay" ] || { echo "memcheck: no replay tool at $replay; build the tree first (tools/build.sh)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
code=0
(cd "$tree/run" && valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=40 \
  --suppressions="$root/tools/memcheck.supp" --log-file="$work/valgrind.log" \
  "$replay" "$scenario") > "$work/trace" || code=$?
grep -E "HEAP SUMMARY|in use at exit|total heap usage|LEAK SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:|ERROR SUMMARY" \
  "$work/valgrind.log" | sed 's/^==[0-9]*== //'
echo "replay: $(tail -1 "$work/trace")"
if [ "$code" -ne 0 ]; then
  cp "$work/valgrind.log" "$tree/memcheck.log"
  echo "memcheck: FAILED (exit code $code); valgrind's whole report is in $tree/memcheck.log" >&2
  exit 1
fi
echo "memcheck: passed"
