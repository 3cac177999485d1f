#!/usr/bin/env bash
# Runs one Windows program under Wine for a test, with WINEPREFIX set by the test (inside the build tree).
# The program's output and error output go through files, so no Wine process started on the way (the wineserver and its
# services outlive the program) holds the test's own output open; the wineserver's end is awaited before the
# output is shown and the program's exit code returned. TAVO_DLL_FOLDER (the libraries' DLLs) joins WINEPATH.
set -uo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "${TAVO_DLL_FOLDER:-}" ]; then
  dll_folder=$(winepath -w "$TAVO_DLL_FOLDER" 2> /dev/null)
  export WINEPATH="$dll_folder${WINEPATH:+;$WINEPATH}"
fi
output=$(mktemp)
errors=$(mktemp)
wine "$@" < /dev/null > "$output" 2> "$errors"
code=$?
wineserver -w
cat "$output"
cat "$errors" >&2
rm -f "$output" "$errors"
exit "$code"
