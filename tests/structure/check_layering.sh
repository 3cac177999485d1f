#!/usr/bin/env bash
# Fails when a file above platform/ includes or names SDL or FluidSynth, or a platform/ header exposes them.
set -u
root=${1:-.}
cd "$root" || exit 2
pattern='#include *[<"](SDL|fluidsynth)|\bSDL_[A-Za-z]|\bfluid_[a-z]'
hits=$(grep -rnE "$pattern" --include='*.h' --include='*.cpp' app game gfx input audio 2>/dev/null)
platformHeaders=$(grep -rnE "$pattern" --include='*.h' platform 2>/dev/null)
if [ -n "$hits$platformHeaders" ]; then
  echo "Third-party names outside the platform layer's sources:"
  printf '%s\n' "$hits" "$platformHeaders" | sed '/^$/d'
  exit 1
fi
echo "layering clean"
