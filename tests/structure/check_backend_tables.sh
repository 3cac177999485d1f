#!/usr/bin/env bash
# Fails when a backend's table (each `const XBackend& SdlXBackend()` / `HeadlessXBackend()` of
# platform/internal/backend_tables.h) is filled by position, or leaves a slot out or null that the header does not
# mark "Optional:". A slot left out of a designated initialiser compiles as null, so only this check catches it.
set -u
root=${1:-.}
cd "$root" || exit 2
header=platform/internal/backend_tables.h
[ -f "$header" ] || { echo "no $header under $root"; exit 2; }

# The slots of one table type, one "name required|optional" line each: a member is optional when the comment
# block right above it starts with "Optional:". Continuation lines of a long declaration are skipped.
slots_of() {
  awk -v type="$1" '
    $0 ~ "^struct " type " \\{" { inside = 1; comment = ""; open = 0; next }
    !inside { next }
    /^};/ { exit }
    /^[[:space:]]*\/\// { if (comment == "") comment = $0; next }
    open { if ($0 ~ /;[[:space:]]*$/) open = 0; next }
    {
      name = ""
      if (match($0, /\(\*[A-Za-z0-9_]+\)/)) name = substr($0, RSTART + 2, RLENGTH - 3)
      else if (match($0, /[A-Za-z0-9_]+;[[:space:]]*$/)) { name = substr($0, RSTART, RLENGTH); sub(/;.*/, "", name) }
      if (name != "") print name, (comment ~ /^[[:space:]]*\/\/ Optional:/ ? "optional" : "required")
      if ($0 !~ /;[[:space:]]*$/) open = 1
      comment = ""
    }' "$header"
}

# The initialiser of the table a function returns, on one line: the braces' contents of `static const TYPE x{...};`.
initialiser_of() {
  local type=$1 function=$2 file=$3
  awk -v type="$type" -v fn="$function" '
    $0 ~ "^const " type "& " fn "\\(\\) \\{" { inside = 1; next }
    inside { text = text " " $0 }
    inside && /};/ { exit }
    END { print text }' "$file" |
    sed -n "s/.*static const $type [A-Za-z0-9_]*{\(.*\)};.*/\1/p"
}

failures=()
mapfile -t tables < <(sed -n 's/^const \([A-Za-z]*Backend\)& \(\(Sdl\|Headless\)[A-Za-z]*Backend\)();$/\1 \2/p' "$header")
for entry in "${tables[@]}"; do
  read -r type function <<< "$entry"
  mapfile -t files < <(grep -l "^const $type& $function() {" platform/sdl/*.cpp platform/headless/*.cpp 2> /dev/null)
  if [ ${#files[@]} -ne 1 ]; then
    failures+=("$function: defined in ${#files[@]} files of platform/sdl/ and platform/headless/, not one")
    continue
  fi
  body=$(initialiser_of "$type" "$function" "${files[0]}")
  if [ -z "$body" ]; then
    failures+=("$function (${files[0]}): no 'static const $type name{...};' initialiser found")
    continue
  fi
  declare -A given=()
  IFS=',' read -r -a items <<< "$body"
  for item in "${items[@]}"; do
    item=$(sed 's/^[[:space:]]*//; s/[[:space:]]*$//' <<< "$item")
    [ -z "$item" ] && continue
    if [[ $item =~ ^\.([A-Za-z0-9_]+)[[:space:]]*=[[:space:]]*(.+)$ ]]; then
      given[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
    else
      failures+=("$function (${files[0]}): '$item' is filled by position, not by its member's name")
    fi
  done
  mapfile -t slots < <(slots_of "$type")
  [ ${#slots[@]} -gt 0 ] || failures+=("$type: no slots read from $header")
  for slot in "${slots[@]}"; do
    read -r name kind <<< "$slot"
    value=${given[$name]-}
    if [ "$kind" = required ] && { [ -z "$value" ] || [[ $value =~ ^(nullptr|NULL|0)$ ]]; }; then
      failures+=("$function (${files[0]}): slot '$name' is ${value:-left out}; only slots marked Optional: may be null")
    fi
  done
  unset given
done

if [ ${#tables[@]} -eq 0 ]; then
  echo "no backend table declared in $header"
  exit 2
fi
if [ ${#failures[@]} -gt 0 ]; then
  echo "Backend tables not filled slot by slot:"
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
echo "every slot of ${#tables[@]} backend tables filled by name"
