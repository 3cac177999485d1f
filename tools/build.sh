#!/usr/bin/env bash
# Configures (once) and builds one tree; shared by ./play and ./check.
# Usage: tools/build.sh [tree [extra cmake options...]]; the default tree is build/ in Release.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build}
shift || true
if [ ! -f "$tree/CMakeCache.txt" ]; then
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
fi
cmake --build "$tree"
