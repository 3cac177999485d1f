# Recipe of tools/cross/deps.sh for the browser: SDL2, FreeType, SDL2_ttf and the Timidity music renderer of
# SDL2_mixer's source as static libraries, built with Debian's Emscripten from Debian's source packages. The prefix
# also holds em-cache/, a writable copy of Emscripten's library cache that the web build points EM_CACHE at (the
# system's copy is read-only).
# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # deps.sh, which sources this, sets repo and reads the arrays set here
source_packages=(libsdl2 freetype libsdl2-ttf libsdl2-mixer)
recipe_inputs=(tools/cross/cmake_package.sh tools/cross/timidity.sh)
# shellcheck source=tools/cross/cmake_package.sh
source "$repo/tools/cross/cmake_package.sh"

recipe_fingerprint() {
  echo "emscripten $(dpkg-query -W -f='${Version}' emscripten)"
  cmake --version | head -n 1
}

recipe_build() {
  local prefix=$1
  # Debian's Emscripten finds its JavaScript tools (acorn, terser) in Debian's Node.js module folder.
  export NODE_PATH=/usr/share/nodejs EM_CACHE=$prefix/em-cache
  run_logged "copying Emscripten's library cache" cp -a /usr/share/emscripten/cache "$EM_CACHE"
  # Every package: configured through Emscripten's CMake wrapper, static, finding the ones before it in the prefix.
  local cmake_configure=(nice emcmake cmake -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix"
    -DBUILD_SHARED_LIBS=OFF)
  # SDL's browser backends only: no threads (the game's loops yield through Asyncify instead), no assembly.
  cmake_package SDL2 "$(source_dir libsdl2)" "$prefix" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_ASSEMBLY=OFF
  cmake_package FreeType "$(source_dir freetype)" "$prefix" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  cmake_package SDL2_ttf "$(source_dir libsdl2-ttf)" "$prefix" \
    -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF
  # The music renderer; its licences land in share/licenses/sdl2_timidity.
  run_logged "Timidity: build" nice "$repo/tools/cross/timidity.sh" "$(source_dir libsdl2-mixer)" "$prefix" emcc emar \
    -I"$prefix/include/SDL2"
}
