# Recipe of tools/cross/deps.sh for 64-bit Windows: SDL2, FreeType, SDL2_ttf and SDL2_net as DLLs, the Timidity
# music renderer of SDL2_mixer's source as a static library, and GoogleTest for the unit tests, cross-built with
# MinGW-w64 from Debian's source packages. Only what the game uses is switched on.
# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # deps.sh, which sources this, sets repo and reads the arrays set here
source_packages=(libsdl2 freetype libsdl2-ttf libsdl2-net libsdl2-mixer googletest)
# The archive here lacks SDL2_net's Debian part: its original tarball is built as it is.
original_tarball_only=(libsdl2-net)
recipe_inputs=(tools/cross/windows-toolchain.cmake tools/cross/cmake_package.sh tools/cross/timidity.sh)
# shellcheck source=tools/cross/cmake_package.sh
source "$repo/tools/cross/cmake_package.sh"

recipe_fingerprint() {
  x86_64-w64-mingw32-gcc-posix --version | head -n 1
  x86_64-w64-mingw32-ld --version | head -n 1
  cmake --version | head -n 1
}

recipe_build() {
  local prefix=$1
  # Every package: configured with the MinGW-w64 toolchain file, which finds the ones before it in the prefix.
  local cmake_configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$repo/tools/cross/windows-toolchain.cmake"
    -DTAVO_DEPS_PREFIX="$prefix")
  cmake_package SDL2 "$(source_dir libsdl2)" "$prefix" \
    -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_UNINSTALL=ON -DSDL_CCACHE=OFF \
    -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_POWER=OFF -DSDL_SENSOR=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF
  cmake_package freetype "$(source_dir freetype)" "$prefix" \
    -DBUILD_SHARED_LIBS=ON -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  cmake_package SDL2_ttf "$(source_dir libsdl2-ttf)" "$prefix" \
    -DBUILD_SHARED_LIBS=ON -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF
  # SDL2_net, from its original tarball alone: configured, built and installed as cmake_package does, with
  # upstream's LICENSE.txt in place of the Debian copyright file the tarball lacks.
  local net_source net_tree
  net_source=$(source_dir libsdl2-net)
  net_tree=$net_source/tavo-build
  run_logged "SDL2_net: configure" "${cmake_configure[@]}" -S "$net_source" -B "$net_tree" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=ON -DSDL2NET_SAMPLES=OFF
  run_logged "SDL2_net: build" nice cmake --build "$net_tree" -j 2
  run_logged "SDL2_net: install" cmake --install "$net_tree"
  mkdir -p "$prefix/share/licenses/SDL2_net"
  cp "$net_source/LICENSE.txt" "$prefix/share/licenses/SDL2_net/copyright"
  # The music renderer links into the game statically; its licences land in share/licenses/sdl2_timidity.
  run_logged "Timidity: build" "$repo/tools/cross/timidity.sh" "$(source_dir libsdl2-mixer)" "$prefix" \
    x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-ar -I"$prefix/include/SDL2"
  # GoogleTest links into the test programs statically, so nothing of it ships.
  cmake_package googletest "$(source_dir googletest)" "$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
}
