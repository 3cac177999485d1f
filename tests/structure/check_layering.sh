#!/usr/bin/env bash
# Fails when code above platform/ includes or names SDL or a music renderer (FluidSynth, Timidity), or a platform/
# header exposes them.
# Comments may name the libraries (they say what a stand-in wraps); code may not.
set -u
root=${1:-.}
cd "$root" || exit 2
pattern='#include *[<"](SDL|fluidsynth|sdl2_timidity)|\bSDL_[A-Za-z]|\bfluid_[a-z]|\bTimidity_[A-Z]'

# Prints file:line:code for every match in the given files, with // comments removed first.
scan() {
  for file in "$@"; do
    sed 's://.*$::' "$file" | grep -nE "$pattern" | sed "s|^|$file:|"
  done
}

mapfile -t upper < <(find app game gfx input audio \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null)
mapfile -t platformHeaders < <(find platform -name '*.h' 2>/dev/null)
hits=$(scan "${upper[@]}" "${platformHeaders[@]}")
if [ -n "$hits" ]; then
  echo "Third-party names outside the platform layer's sources:"
  echo "$hits"
  exit 1
fi
echo "layering clean"
