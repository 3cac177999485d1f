#!/usr/bin/env bash
# Fails when an include runs against the folders' direction: app/ -> game/ -> the asset catalogue ->
# gfx/, input/, audio/ -> platform/, the showcase (showcase/) beside app/ on gfx/ and below, and nothing of the program
# reaches into tools/, tests/, bench/ or fuzz/.
set -u
root=${1:-.}
cd "$root" || exit 2

# The one exception to "nothing below app/ includes app/": game/ includes the asset catalogue's header, because the
# rules draw the catalogue's pictures (and play its sounds). The catalogue stays in app/, where the game's layout puts
# it, built as a library of its own below game/.
catalogue_header=app/asset_catalogue.h
catalogue_files="app/asset_catalogue.h app/asset_catalogue.cpp"
violations=""

# The included file as a path from the repository root: beside the including file when it exists there or
# the path starts with a dot, else as written (the program includes by root path).
resolve() {
  local from_dir=$1 target=$2
  if [ -e "$from_dir/$target" ] || [[ $target == .* ]]; then
    realpath -m --relative-to=. "$from_dir/$target"
  else
    realpath -m --relative-to=. "$target"
  fi
}

# The first folder of a root path; gfx/extras counts as gfx.
top_folder() { echo "${1%%/*}"; }

# Why the include of $2 by $1 is against the direction, or nothing when it is allowed.
refusal() {
  local file=$1 included=$2
  local from to
  from=$(top_folder "$file")
  to=$(top_folder "$included")
  case "$to" in
    tools | tests | bench | fuzz) echo "the program never includes $to/"; return ;;
    showcase) [ "$from" != showcase ] && echo "nothing of the game or its library includes showcase/"; return ;;
  esac
  case " $catalogue_files " in
    *" $file "*)
      if [ "$to" = game ] || { [ "$to" = app ] && [ "$included" != "$catalogue_header" ]; }; then
        echo "the asset catalogue includes nothing of game/ or the rest of app/"
      fi
      return ;;
  esac
  case "$from" in
    game)
      if [ "$to" = app ] && [ "$included" != "$catalogue_header" ]; then
        echo "game/ includes from app/ only $catalogue_header"
      fi ;;
    gfx | input | audio | showcase)
      if [ "$to" = game ] || [ "$to" = app ]; then echo "$from/ never includes game/ or app/"; fi ;;
    platform)
      case "$to" in
        app | game | gfx | input | audio) echo "platform/ includes none of the program's folders" ;;
      esac ;;
  esac
}

mapfile -t files < <(find app game gfx input audio platform showcase \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null |
  sort)
for file in "${files[@]}"; do
  while IFS= read -r line; do
    number=${line%%:*}
    target=$(sed -E 's/^[^#]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*$/\1/' <<<"${line#*:}")
    included=$(resolve "$(dirname "$file")" "$target")
    reason=$(refusal "$file" "$included")
    if [ -n "$reason" ]; then violations+="$file:$number: includes $target: $reason"$'\n'; fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file")
done

if [ ${#files[@]} -eq 0 ]; then
  echo "no program sources found under $root"
  exit 2
fi
if [ -n "$violations" ]; then
  echo "Includes against the folders' direction:"
  printf '%s' "$violations"
  exit 1
fi
echo "folder direction clean (${#files[@]} files)"
