#!/usr/bin/env bash
# Fails when a .cpp file of the program declares something extern: a name shared between files is declared
# once, in the header of the file that defines it, so the compiler checks the two against each other.
set -u
root=${1:-.}
cd "$root" || exit 2

mapfile -t files < <(find app game gfx input audio platform -name '*.cpp' 2>/dev/null | sort)
if [ ${#files[@]} -eq 0 ]; then
  echo "no program sources found under $root"
  exit 2
fi
# // comments are dropped first; extern "C" blocks are the linkage of outside libraries, not a declaration.
hits=$(for file in "${files[@]}"; do
  sed 's://.*$::' "$file" | grep -nE '(^|[^[:alnum:]_])extern([^[:alnum:]_]|$)' | grep -vE 'extern[[:space:]]*"C"' |
    sed "s|^|$file:|"
done)
if [ -n "$hits" ]; then
  echo "extern declarations outside headers:"
  echo "$hits"
  exit 1
fi
echo "extern declarations only in headers (${#files[@]} files)"
