#!/usr/bin/env bash
# Configures one build tree with Ninja, the one way every script does it. The options a tree was made with are kept
# in TREE/configure-options; a tree without them, or made with other options, is configured afresh (its cache goes,
# its built files stay for Ninja to reuse), so options given later are never silently ignored. A tree made with the
# same options is left alone: its build re-runs CMake by itself when a CMake file changes. ccache is used when the
# machine has it. TAVO_CMAKE_WRAPPER names a command CMake runs under (emcmake for the browser build).
# Usage: tools/configure_tree.sh TREE [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:?usage: tools/configure_tree.sh TREE [cmake options...]}
shift
options=("$@")
if command -v ccache > /dev/null; then
  options+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
wrapper=${TAVO_CMAKE_WRAPPER:-}
wanted=$(printf '%s\n' "wrapper=$wrapper" "${options[@]}")
record=$tree/configure-options

if [ -f "$tree/CMakeCache.txt" ] && [ -f "$record" ] && [ "$(cat "$record")" = "$wanted" ]; then
  exit 0
fi
if [ -f "$tree/CMakeCache.txt" ]; then
  echo "configure_tree: $tree was made with other options; configuring it afresh"
  rm -rf "$tree/CMakeCache.txt" "$tree/CMakeFiles"
fi
rm -f "$record"
# shellcheck disable=SC2086  # the wrapper is one command name or nothing
$wrapper cmake -S . -B "$tree" -G Ninja "${options[@]}"
printf '%s\n' "$wanted" > "$record"
