# Recipe of tools/cross/deps.sh for the libFuzzer tree (tools/fuzz.sh): the Timidity music renderer of the
# libsdl2-mixer source package built with clang, coverage counters and the address and undefined-behaviour checks,
# so the patch fuzz target hands every patch the check accepts to the renderer's own reader and sees inside it.
# shellcheck shell=bash disable=SC2034,SC2154 # sourced by tools/cross/deps.sh, which reads these names and sets repo
source_packages=(libsdl2-mixer)
recipe_inputs=(tools/cross/timidity.sh)

recipe_fingerprint() {
  clang --version | head -n 1
  echo "sdl2 $(pkg-config --modversion sdl2)"
}

recipe_build() {
  local prefix=$1
  # shellcheck disable=SC2046 # the SDL2 flags are words of their own
  run_logged "Timidity: build, instrumented" "$repo/tools/cross/timidity.sh" "$(source_dir libsdl2-mixer)" "$prefix" \
    clang ar -g -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer $(pkg-config --cflags sdl2)
}
