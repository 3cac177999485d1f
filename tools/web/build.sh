#!/usr/bin/env bash
# Builds the page into build-web/ (index.html and its manifest, icons and service worker, the programs' .js and .wasm,
# tavo2000.data, the zip): the web libraries first (cached by tools/cross/deps.sh), then the game and the replay tool
# with Emscripten. The assets, the instrument set and the icons come from a native tree, so that tree is built first.
# Usage: tools/web/build.sh [native tree (default build)] [more targets...]
set -euo pipefail
cd "$(dirname "$0")/../.."
native=${1:-build}
shift || true
tree=build-web

# The assets, the music renderer's instrument set and the page's icons come from the native tree.
cmake --build "$native" --target generate_assets instrument_set generate_web_icons
prefix=$(tools/cross/deps.sh web | tail -n 1)
# Debian's Emscripten finds its JavaScript tools in Debian's Node.js module folder, and writes to a private copy
# of its library cache, kept beside the web libraries.
export NODE_PATH=/usr/share/nodejs EM_CACHE=$prefix/em-cache
[ -n "${CCACHE_BASEDIR:-}" ] || export CCACHE_BASEDIR=$PWD

TAVO_CMAKE_WRAPPER=emcmake tools/configure_tree.sh "$tree" -DCMAKE_BUILD_TYPE=Release -DTAVO_BUILD_BENCHMARKS=OFF \
  -DTAVO_WEB_PREFIX="$prefix" -DTAVO_WEB_ASSETS="$PWD/$native/run" -DTAVO_WEB_ICONS="$PWD/$native/icons/web"
cmake --build "$tree" -j "${TAVO_JOBS:-2}" --target tavo_web_page "$@"
