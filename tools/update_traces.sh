#!/usr/bin/env bash
# Refreshes the golden traces of the replay scenarios after a deliberate change of the game's behaviour: builds the
# replay tool and the assets of a tree, runs each scenario (tests/whole_program/scenarios/NAME.replay) in the tree's
# run folder as the replay_ tests do, and writes its whole output as NAME.trace beside it. It refuses a source tree
# with uncommitted changes other than traces (the traces must come from code a commit holds), a build tree made
# from another checkout, and a scenario the replay tool fails on; it writes nothing then.
# Usage: tools/update_traces.sh [--allow-dirty] [--tree TREE] [scenario names...]  (default: build/, every scenario)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tree=build
allow_dirty=0
names=()
while [ $# -gt 0 ]; do
  case $1 in
    --allow-dirty) allow_dirty=1; shift ;;
    --tree) tree=${2:?--tree needs a build tree}; shift 2 ;;
    -*) echo "usage: tools/update_traces.sh [--allow-dirty] [--tree TREE] [scenario names...]" >&2; exit 2 ;;
    *) names+=("$1"); shift ;;
  esac
done
scenarios=tests/whole_program/scenarios

if [ "$allow_dirty" -eq 0 ] && git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  changed=$(git status --porcelain --untracked-files=no -- . ":(exclude)$scenarios/*.trace")
  if [ -n "$changed" ]; then
    echo "update_traces: the source tree has uncommitted changes; commit them first (or pass --allow-dirty):" >&2
    echo "$changed" >&2
    exit 1
  fi
fi
if [ ! -f "$tree/CMakeCache.txt" ]; then
  echo "update_traces: $tree is no configured build tree; run tools/build.sh $tree first" >&2
  exit 1
fi
made_from=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$tree/CMakeCache.txt")
if [ "$made_from" != "$root" ]; then
  echo "update_traces: $tree was made from $made_from, not from $root" >&2
  exit 1
fi
if grep -q '^CMAKE_CROSSCOMPILING_EMULATOR:' "$tree/CMakeCache.txt"; then
  echo "update_traces: $tree is a build for another processor; use a tree of this machine" >&2
  exit 1
fi
cmake --build "$tree" --target tavo_replay generate_assets
replay=$root/$tree/tools/replay/tavo_replay
case $tree in /*) replay=$tree/tools/replay/tavo_replay ;; esac

if [ ${#names[@]} -eq 0 ]; then
  for script in "$scenarios"/*.replay; do
    name=${script##*/}
    names+=("${name%.replay}")
  done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every trace is made before any is written, so a failing scenario leaves all of them as they were.
for name in "${names[@]}"; do
  script=$root/$scenarios/$name.replay
  [ -f "$script" ] || { echo "update_traces: no scenario $scenarios/$name.replay" >&2; exit 1; }
  if ! (cd "$tree/run" && "$replay" "$script") > "$work/$name.trace" 2> "$work/$name.err"; then
    echo "update_traces: the replay tool failed on $name; no trace written:" >&2
    cat "$work/$name.err" >&2
    exit 1
  fi
done
changed=0
for name in "${names[@]}"; do
  if ! cmp -s "$work/$name.trace" "$scenarios/$name.trace"; then
    cp "$work/$name.trace" "$scenarios/$name.trace"
    echo "update_traces: $scenarios/$name.trace changed"
    changed=$((changed + 1))
  fi
done
echo "update_traces: $changed of ${#names[@]} traces changed; review them with: git diff $scenarios"
