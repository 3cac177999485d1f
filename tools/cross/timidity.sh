#!/usr/bin/env bash
# Builds the MIDI renderer that SDL2_mixer's source package carries (its Timidity code only, none of the mixer)
# into a static library under a prefix: lib/libsdl2_timidity.a, include/sdl2_timidity/ (timidity.h, playmidi.h)
# and its licences in share/licenses/sdl2_timidity/, for whatever ships a program linked with it.
# Usage: tools/cross/timidity.sh SOURCE_TREE PREFIX CC AR [CFLAGS...]
#   SOURCE_TREE is the unpacked libsdl2-mixer source package (apt-get source); the CFLAGS must let the
#   compiler find SDL2's "SDL.h" for the target (the renderer reads its files through SDL_RWops).
set -euo pipefail
[ $# -ge 4 ] || { echo "usage: $0 SOURCE_TREE PREFIX CC AR [CFLAGS...]" >&2; exit 2; }
source_tree=$1 prefix=$2 cc=$3 ar=$4
shift 4
codec="$source_tree/src/codecs/timidity"
[ -f "$codec/timidity.h" ] || { echo "timidity.sh: no Timidity code in $source_tree" >&2; exit 1; }

objects=$(mktemp -d)
trap 'rm -rf "$objects"' EXIT
mkdir -p "$prefix/lib" "$prefix/include/sdl2_timidity"
# Compiled where they lie: timidity.c reaches the mixer's "../../utils.h" for SDL_strtokr. The library's own
# warnings are not ours to fix, so they stay quiet.
for source in "$codec"/*.c; do
  "$cc" -O2 -DNDEBUG -w "$@" -c "$source" -o "$objects/$(basename "${source%.c}").o"
done
rm -f "$prefix/lib/libsdl2_timidity.a"
"$ar" rcs "$prefix/lib/libsdl2_timidity.a" "$objects"/*.o
# The public header, and the event codes the player walks when it checks a song's instruments.
cp "$codec/timidity.h" "$codec/playmidi.h" "$prefix/include/sdl2_timidity/"
mkdir -p "$prefix/share/licenses/sdl2_timidity"
cp "$codec/COPYING" "$prefix/share/licenses/sdl2_timidity/COPYING"
cp "$source_tree/debian/copyright" "$prefix/share/licenses/sdl2_timidity/copyright"
