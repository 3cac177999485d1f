#!/usr/bin/env bash
# Runs the unit tests that need no window (the rules, the graphics library, the parsers), built with Emscripten
# (the web tree's target web_unit_tests), once each under Node.js, each in its own folder of the web tree (they
# read the host's files directly).
# Usage: tests/web/run_unit_tests.sh [web tree (default build-web)]
set -euo pipefail
tree=${1:-build-web}
mapfile -t programs < "$tree/web_unit_tests.txt"
passed=0 failed=0
for program in "${programs[@]}"; do
  name=$(basename "$program" .js)
  # Node.js 18 and later fetch the .wasm through their own fetch, which cannot read files: it is switched off.
  if (cd "$(dirname "$program")" && node --no-experimental-fetch "$program" --gtest_brief=1 > "$name.log" 2>&1); then
    passed=$((passed + 1))
    echo "PASS $name under Node.js: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "${program%.js}.log")"
  else
    failed=$((failed + 1))
    echo "FAIL $name under Node.js:"
    tail -n 30 "${program%.js}.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
