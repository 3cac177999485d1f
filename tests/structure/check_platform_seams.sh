#!/usr/bin/env bash
# Fails when the platform's shared code (everything in platform/ outside sdl/ and headless/) includes a file of
# either backend: shared code reaches a backend only through the tables SelectBackend chooses.
set -u
root=${1:-.}
cd "$root" || exit 2

mapfile -t files < <(find platform \( -name '*.h' -o -name '*.cpp' \) -not -path 'platform/sdl/*' \
  -not -path 'platform/headless/*' 2>/dev/null | sort)
if [ ${#files[@]} -eq 0 ]; then
  echo "no platform sources found under $root"
  exit 2
fi
hits=$(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/(sdl|headless)/' "${files[@]}")
if [ -n "$hits" ]; then
  echo "Shared platform code including a backend's files:"
  echo "$hits"
  exit 1
fi
echo "shared platform code includes no backend (${#files[@]} files)"
