#!/usr/bin/env bash
# The Windows part of ./check: the libraries from Debian's sources (cached), the Linux tree's asset generator (the
# Windows build plays the very same files), the cross build in build-windows/ with its zip and installer, and
# every Windows test under Wine on Xvfb (ctest in build-windows/).
set -euo pipefail
cd "$(dirname "$0")/../../.."
prefix=$(tools/cross/deps.sh windows | tail -n 1)
tools/build.sh build
tree=build-windows
# A tree configured against another prefix would keep that prefix's library paths: start it afresh.
if [ -f "$tree/CMakeCache.txt" ] && [ "$(cat "$tree/deps-prefix" 2> /dev/null)" != "$prefix" ]; then
  rm -rf "$tree"
fi
mkdir -p "$tree"
echo "$prefix" > "$tree/deps-prefix"
launchers=()
if command -v ccache > /dev/null; then
  launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/cross/windows-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTAVO_DEPS_PREFIX="$prefix" \
  -DTAVO_HOST_ASSET_GENERATOR="$PWD/build/tools/asset_generator/asset_generator" \
  -DTAVO_HOST_INSTRUMENTS="$PWD/build/tools/instruments/tavo_instruments" "${launchers[@]}" > /dev/null
cmake --build "$tree"
cd "$tree"
ctest --output-on-failure -j2
