#!/usr/bin/env bash
# Runs the unit tests that need no window (the rules, the graphics library, the parsers), built with Emscripten,
# once each under Node.js, from the web tree's test folders (they read the host's files directly).
# Usage: tests/web/run_unit_tests.sh [web tree (default build-web)]
set -euo pipefail
tree=$(cd "${1:-build-web}" && pwd)
programs=(tests/game/game_tests tests/gfx/gfx_tests tests/gfx_extras/gfx_extras_tests
  tests/app/start_choices_tests tests/app/replay_script_tests)
passed=0 failed=0
for program in "${programs[@]}"; do
  # Node.js 20 fetches the .wasm through its own fetch, which cannot read files: it is switched off.
  if (cd "$tree/$(dirname "$program")" && node --no-experimental-fetch "$(basename "$program").js" \
        --gtest_brief=1 > "$tree/$program.log" 2>&1); then
    passed=$((passed + 1))
    echo "PASS $program under Node.js ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$tree/$program.log"))"
  else
    failed=$((failed + 1))
    echo "FAIL $program under Node.js:"
    tail -n 30 "$tree/$program.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
