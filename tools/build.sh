#!/usr/bin/env bash
# Configures (through tools/configure_tree.sh, afresh when the options differ from the tree's) and builds one tree;
# shared by ./play and ./check.
# Usage: tools/build.sh [tree [extra cmake options...]]; the default tree is build/ in Release.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build}
shift || true
tools/configure_tree.sh "$tree" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$tree"
