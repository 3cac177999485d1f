#!/usr/bin/env bash
# What Asyncify costs the page: builds the game and the replay tool without it in build-web-plain/ (a tree only
# this command makes; its game cannot give the browser a turn, so it is for measuring only), then prints both
# builds' .wasm sizes, raw and compressed, and the replay tool's time in headless Chromium over a generated script
# of FRAMES frames (default 5000), which exercises the rules and the drawing without waiting.
# Usage: tools/web/measure_asyncify.sh [frames]   (after tools/web/build.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
frames=${1:-5000}
prefix=$(tools/cross/deps.sh web | tail -n 1)
export NODE_PATH=/usr/share/nodejs EM_CACHE=$prefix/em-cache
plain=build-web-plain
TAVO_CMAKE_WRAPPER=emcmake tools/configure_tree.sh "$plain" -DCMAKE_BUILD_TYPE=Release -DTAVO_BUILD_BENCHMARKS=OFF \
  -DTAVO_WEB_PREFIX="$prefix" -DTAVO_WEB_ASSETS="$PWD/build/run" -DTAVO_WEB_ASYNCIFY=OFF > /dev/null
cmake --build "$plain" -j 2 --target tavo_web_page > /dev/null

scripts=$(mktemp -d)
trap 'rm -rf "$scripts"' EXIT
(cd build/run && ../tools/replay/tavo_replay --soak-script "$frames" 1) > "$scripts/long.replay"
for tree in build-web "$plain"; do
  echo "== $tree"
  for file in tavo2000.wasm tavo_replay.wasm; do
    echo "$file: $(stat -c %s "$tree/$file") bytes, $(gzip -9 -c "$tree/$file" | wc -c) gzipped"
  done
  tests/web/check_page.py "$tree" "$scripts" build/run --time-play long.replay
done
