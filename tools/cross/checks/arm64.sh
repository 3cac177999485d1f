#!/usr/bin/env bash
# The ARM check: the whole program cross-built for Linux on 64-bit ARM against Debian's arm64 packages in
# build-arm64/, and its Release tests (all but the real-window ones, the package included) run under QEMU; an
# online match between an ARM peer and one of this machine.
set -euo pipefail
cd "$(dirname "$0")/../../.."
tools/cross/deps.sh arm64 > /dev/null
tools/build.sh build  # this machine's replay tool, the other side of the online test between the two
tools/build.sh build-arm64 -DCMAKE_TOOLCHAIN_FILE=tools/cross/arm64-toolchain.cmake -DTAVO_BUILD_BENCHMARKS=OFF \
  -DTAVO_HOST_REPLAY="$PWD/build/tools/replay/tavo_replay"
cd build-arm64
ctest --output-on-failure -j2
