#!/usr/bin/env bash
# Configures (once) and builds the Release tree in build/; shared by ./play and ./check.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build
