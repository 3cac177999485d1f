#!/usr/bin/env bash
# The ARM check: the whole program cross-built for Linux on 64-bit ARM against Debian's arm64 packages in
# build-arm64/, and its Release tests (all but the real-window ones, the package included) run under QEMU.
set -euo pipefail
cd "$(dirname "$0")/../../.."
tools/cross/deps.sh arm64 > /dev/null
tools/build.sh build-arm64 -DCMAKE_TOOLCHAIN_FILE=tools/cross/arm64-toolchain.cmake -DTAVO_BUILD_BENCHMARKS=OFF
cd build-arm64
ctest --output-on-failure -j2
