#!/usr/bin/env bash
# The lint check (./check --only lint, and part of ./check): shellcheck on every shell script of the tree, those
# sourced by others included (-x follows what they source), and clang-format with the repository's .clang-format on
# every C++ file, changing nothing. Fails naming each finding; `clang-format -i FILE` applies the layout.
# Usage: tools/lint.sh
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in shellcheck clang-format; do
  command -v "$tool" > /dev/null || { echo "lint: $tool is missing; run tools/install-deps.sh" >&2; exit 2; }
done

# The tree's files: those git knows (tracked or new and not ignored), or, outside a git checkout, all but build trees.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard)
else
  mapfile -t files < <(find . -path './build*' -prune -o -path ./.git -prune -o -type f -print | sed 's|^\./||')
fi
scripts=()
sources=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  case $file in
    *.sh) scripts+=("$file") ;;
    *.cpp | *.h) sources+=("$file") ;;
    *) if head -n 1 "$file" | grep -qE '^#!.*[/ ](ba)?sh$'; then scripts+=("$file"); fi ;;
  esac
done

failed=0
echo "lint: shellcheck on ${#scripts[@]} scripts"
shellcheck -x "${scripts[@]}" || failed=1
echo "lint: clang-format on ${#sources[@]} C++ files"
clang-format --dry-run -Werror "${sources[@]}" || failed=1
if [ "$failed" -ne 0 ]; then
  echo "lint: FAILED" >&2
  exit 1
fi
echo "lint: passed"
