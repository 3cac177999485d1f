# Recipe of tools/cross/deps.sh for Linux on this machine: Debian ships everything the default build needs, so
# only the Timidity music renderer (the one the Windows and web builds play the song with) is built here, from
# the libsdl2-mixer source package, for the Linux tree that tests it (TAVO_MUSIC=timidity).
# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # deps.sh, which sources this, sets repo and reads the arrays set here
source_packages=(libsdl2-mixer)
recipe_inputs=(tools/cross/timidity.sh)

recipe_fingerprint() {
  gcc --version | head -n 1
  echo "sdl2 $(pkg-config --modversion sdl2)"
}

recipe_build() {
  local prefix=$1
  # shellcheck disable=SC2046 # the SDL2 flags are words of their own
  run_logged "Timidity: build" "$repo/tools/cross/timidity.sh" "$(source_dir libsdl2-mixer)" "$prefix" gcc ar \
    -fPIC $(pkg-config --cflags sdl2)
}
