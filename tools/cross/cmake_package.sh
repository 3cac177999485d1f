# Helper the recipes of tools/cross/deps.sh source: configures, builds and installs one CMake package from its
# unpacked Debian source, with the package's Debian copyright file kept beside what it installs.
#
# cmake_package NAME SOURCE PREFIX [options...]
#   Configures SOURCE into SOURCE/tavo-build (Ninja, Release, installed into PREFIX) with the calling recipe's
#   array cmake_configure, its configure command and the options every package of the target gets, then the
#   options given here; builds it with two jobs, installs it and copies debian/copyright to
#   PREFIX/share/licenses/NAME, for whatever ships the package.
# shellcheck shell=bash
# shellcheck disable=SC2154  # cmake_configure is the sourcing recipe's array, as said above
cmake_package() {
  local name=$1 source=$2 prefix=$3
  shift 3
  local tree=$source/tavo-build
  run_logged "$name: configure" "${cmake_configure[@]}" -S "$source" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
  run_logged "$name: build" nice cmake --build "$tree" -j 2
  run_logged "$name: install" cmake --install "$tree"
  mkdir -p "$prefix/share/licenses/$name"
  cp "$source/debian/copyright" "$prefix/share/licenses/$name/copyright"
}
