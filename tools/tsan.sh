#!/usr/bin/env bash
# ThreadSanitizer run of the audio and music tests (the mixer on its own thread beside the game's calls) in a
# tree of its own, build-tsan/; not part of ./check. Fails on any test failure or any ThreadSanitizer report.
# Usage: tools/tsan.sh [operations of the stress test, default 100000]
set -euo pipefail
cd "$(dirname "$0")/.."
tree=build-tsan
tools/configure_tree.sh "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_SANITIZE_THREAD=ON -DTAVO_BUILD_BENCHMARKS=OFF
cmake --build "$tree" --target audio_tests
export TAVO_STRESS_OPERATIONS=${1:-100000}
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/tools/tsan.supp"
(cd "$tree/tests/audio" && ./audio_tests)
echo "tsan: every audio and music test passed with no ThreadSanitizer report"
