#!/usr/bin/env bash
# Fails when the program's files include each other in a loop. A .cpp file and its .h count as one node (the
# path without its extension), so "a.cpp includes b.h, b.cpp includes a.h" is a loop too. tsort finds them.
set -u
root=${1:-.}
cd "$root" || exit 2

mapfile -t files < <(find app game gfx input audio platform \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
if [ ${#files[@]} -eq 0 ]; then
  echo "no program sources found under $root"
  exit 2
fi
# One "from to" line per include of another program file, both as nodes; every node also stands alone.
edges=$(for file in "${files[@]}"; do
  node=${file%.*}
  echo "$node $node"
  sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*$/\1/p' "$file" | while IFS= read -r included; do
    if [ -e "$included" ]; then echo "$node ${included%.*}"; fi
  done
done)
loops=$(tsort <<<"$edges" 2>&1 >/dev/null)
if [ -n "$loops" ]; then
  echo "Include loops between program files (each loop's nodes listed after 'input contains a loop'):"
  echo "${loops//tsort: /}"
  exit 1
fi
echo "no include loop (${#files[@]} files)"
