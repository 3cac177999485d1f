#!/usr/bin/env bash
# The Linux build with the Timidity music renderer, the one the Windows and web builds play the song with: the
# renderer from tools/cross/deps.sh linux, a tree of its own (build-timidity) holding only the programs that test
# music, and their tests: the music table and mixer, the song's level and balance, a damaged instrument set, and
# the patch fuzz target, which there hands every patch the check accepts to the renderer's reader.
set -euo pipefail
cd "$(dirname "$0")/../../.."
prefix=$(tools/cross/deps.sh linux | tail -n 1)
tools/configure_tree.sh build-timidity -DCMAKE_BUILD_TYPE=Release -DTAVO_MUSIC=timidity \
  -DTAVO_TIMIDITY_PREFIX="$prefix" -DTAVO_BUILD_BENCHMARKS=OFF > /dev/null
programs=(audio_tests asset_file_tests music_timidity_tests)
nice cmake --build build-timidity -j 2 --target instrument_set fuzz_patch "${programs[@]}"
labels=$(IFS='|'; echo "^(${programs[*]})\$")
(cd build-timidity && ctest --output-on-failure -j2 -L "$labels")
# The patch check and the renderer's own reader together, over the patch seeds and their mutations.
(cd build-timidity && ctest --output-on-failure -R '^fuzz_patch$')
