#!/usr/bin/env bash
# The browser's checks: the page built with Emscripten (the assets from the Linux Release tree, built first when
# needed), the window-less unit tests under Node.js, the page in headless Chromium, and online play in the page
# through the Linux tree's rendezvous server (pages against each other and against its replay tool).
set -euo pipefail
cd "$(dirname "$0")/../../.."
tools/build.sh build
tools/web/build.sh build web_unit_tests
tests/web/run_unit_tests.sh build-web
tests/web/check_page.py build-web tests/whole_program/scenarios build/run
tests/web/check_online.py build-web build/run build/run/tavo2000-server build/tools/replay/tavo_replay
