#!/usr/bin/env bash
# The Windows installer under Wine: /S installs into Program Files with a Start-menu entry and an uninstaller
# registered with Windows; the installed game starts from another working folder, finds its data, shows the title
# menu and quits through it; the registered uninstaller with /S removes every installed file, the entry and the key.
# Given a FOLDER (a Windows path), the installer puts the game there (/D=FOLDER) and the game is started through
# its Start-menu entry instead, as a player starts it.
# Usage: check_installer_wine.sh SETUP.exe STAGED_FOLDER WORK [FOLDER]   (WINEPREFIX set by the test)
set -euo pipefail
setup=$1 staged=$2 work=$3 folder=${4:-}
: "${WINEPREFIX:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work/elsewhere"
target="$WINEPREFIX/drive_c/Program Files/Tavo 2000"
[ -z "$folder" ] || target=$(winepath -u "$folder" 2> /dev/null)
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavo 2000.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavo2000'
fail() { echo "installer: $*"; exit 1; }
# Runs a Wine command with its output in the work folder, and waits until every Wine process has ended.
wine_quietly() { wine "$@" < /dev/null >> "$work/wine.log" 2>&1; local code=$?; wineserver -w; return $code; }

rm -rf "$target"
if [ -z "$folder" ]; then
  wine_quietly "$setup" /S || fail "the silent installer failed"
else
  # /D= must end the installer's command line unquoted, as Windows' own command line gives it: cmd passes it so.
  wine_quietly cmd /c "$(winepath -w "$setup" 2> /dev/null) /S /D=$folder" || fail "the silent installer failed"
fi
[ -d "$target" ] || fail "nothing installed in ${folder:-Program Files}"
(cd "$staged" && find . -type f | sort) > "$work/staged.txt"
(cd "$target" && find . -type f ! -name uninstall.exe | sort) > "$work/installed.txt"
cmp -s "$work/staged.txt" "$work/installed.txt" || { diff "$work/staged.txt" "$work/installed.txt"; fail "installed files differ from the package"; }
[ -f "$target/uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu entry"
wine_quietly reg query "$key" /v UninstallString /reg:64 > /dev/null || fail "no uninstaller registered"
grep -q 'uninstall.exe' "$work/wine.log" || fail "the registered uninstaller does not name uninstall.exe"
echo "installer: installed $(wc -l < "$work/installed.txt") files, the Start-menu entry and the uninstall key"

if [ -z "$folder" ]; then
  "$here/run_game_wine.sh" "$target/tavo2000.exe" "$target" "$work/elsewhere" "$work/game"
else
  "$here/run_game_wine.sh" "$shortcut" "$target" "$work/elsewhere" "$work/game"
fi

# The uninstaller copies itself away and runs from there; wineserver -w waits for that copy too.
wine_quietly "$target/uninstall.exe" /S || fail "the silent uninstaller failed"
[ ! -e "$target" ] || { find "$target"; fail "files left behind"; }
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
if wine_quietly reg query "$key" /reg:64; then fail "the uninstall key is left"; fi
echo "installer: the uninstaller removed every file, the Start-menu entry and the key"
