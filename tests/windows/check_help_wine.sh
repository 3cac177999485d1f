#!/usr/bin/env bash
# The Windows game's --help under Wine tells Windows' folder rules, not the freedesktop ones: the settings file
# under %APPDATA%, and the game's files looked for in the program's folder, then in %TAVO_DATA%.
# Usage: check_help_wine.sh WINE_RUN GAME.exe   (WINEPREFIX set by the test)
set -uo pipefail
wine_run=$1 game=$2
help=$("$wine_run" "$game" --help)
code=$?
# One line of text for the checks: the console's line ends (CR LF) and the help's own breaks become spaces.
text=$(printf '%s\n' "$help" | tr -d '\r' | tr '\n' ' ')
fail() { echo "help under Wine: $*"; printf '%s\n' "$help"; exit 1; }
[ "$code" = 0 ] || fail "exit code $code"
grep -qF 'Settings are read from %APPDATA%\Tavo2000\settings.ini,' <<< "$text" || fail "no settings file under %APPDATA%"
grep -qF "first match wins, in: the program's folder; %TAVO_DATA%." <<< "$text" || fail "not Windows' data folders"
if grep -qE 'XDG_|~/|\$[A-Z]' <<< "$text"; then fail "a freedesktop folder named"; fi
echo "help under Wine: %APPDATA%\\Tavo2000\\settings.ini, the program's folder and %TAVO_DATA%"
