# Recipe of tools/cross/deps.sh for the browser: SDL2, FreeType, SDL2_ttf and the Timidity music renderer of
# SDL2_mixer's source as static libraries, built with Debian's Emscripten from Debian's source packages. The prefix
# also holds em-cache/, a writable copy of Emscripten's library cache that the web build points EM_CACHE at (the
# system's copy is read-only).
source_packages=(libsdl2 freetype libsdl2-ttf libsdl2-mixer)
recipe_inputs=(tools/cross/timidity.sh)

recipe_fingerprint() {
  echo "emscripten $(dpkg-query -W -f='${Version}' emscripten)"
  cmake --version | head -n 1
}

# web_cmake_build NAME SOURCE PREFIX [options...]: configure, build and install one package with emcmake.
web_cmake_build() {
  local name=$1 source=$2 prefix=$3
  shift 3
  local tree=$source/tavo-build
  run_logged "$name: configure" nice emcmake cmake -S "$source" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@"
  run_logged "$name: build" nice cmake --build "$tree" -j 2
  run_logged "$name: install" cmake --install "$tree"
  mkdir -p "$prefix/share/licenses/$name"
  cp "$source/debian/copyright" "$prefix/share/licenses/$name/copyright"
}

recipe_build() {
  local prefix=$1
  # Debian's Emscripten finds its JavaScript tools (acorn, terser) in Debian's Node.js module folder.
  export NODE_PATH=/usr/share/nodejs EM_CACHE=$prefix/em-cache
  run_logged "copying Emscripten's library cache" cp -a /usr/share/emscripten/cache "$EM_CACHE"
  # SDL's browser backends only: no threads (the game's loops yield through Asyncify instead), no assembly.
  web_cmake_build SDL2 "$(source_dir libsdl2)" "$prefix" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_ASSEMBLY=OFF
  web_cmake_build FreeType "$(source_dir freetype)" "$prefix" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  web_cmake_build SDL2_ttf "$(source_dir libsdl2-ttf)" "$prefix" \
    -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF
  # The music renderer; its licences land in share/licenses/sdl2_timidity.
  run_logged "Timidity: build" nice "$repo/tools/cross/timidity.sh" "$(source_dir libsdl2-mixer)" "$prefix" emcc emar \
    -I"$prefix/include/SDL2"
}
