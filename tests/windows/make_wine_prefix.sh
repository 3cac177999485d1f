#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in (once; later runs find it ready) and waits for Wine to settle.
# Usage: make_wine_prefix.sh PREFIX
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init < /dev/null > "$WINEPREFIX.log" 2>&1 || { cat "$WINEPREFIX.log"; exit 1; }
fi
wineserver -w
test -d "$WINEPREFIX/drive_c/windows"
