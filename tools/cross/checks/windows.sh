#!/usr/bin/env bash
# The Windows part of ./check: the libraries from Debian's sources (cached), the Linux tree's asset generator (the
# Windows build plays the very same files), the cross build in build-windows/ with its zip and installer, and
# every Windows test under Wine on Xvfb (ctest in build-windows/).
set -euo pipefail
cd "$(dirname "$0")/../../.."
prefix=$(tools/cross/deps.sh windows | tail -n 1)
tools/build.sh build
tree=build-windows
# A tree configured against another prefix would keep that prefix's library paths: the prefix is one of the options,
# so a new one configures the tree afresh.
tools/configure_tree.sh "$tree" -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/cross/windows-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTAVO_DEPS_PREFIX="$prefix" \
  -DTAVO_HOST_ASSET_GENERATOR="$PWD/build/tools/asset_generator/asset_generator" \
  -DTAVO_HOST_INSTRUMENTS="$PWD/build/tools/instruments/tavo_instruments" \
  -DTAVO_HOST_REPLAY="$PWD/build/tools/replay/tavo_replay" > /dev/null
cmake --build "$tree"
cd "$tree"
ctest --output-on-failure -j2
