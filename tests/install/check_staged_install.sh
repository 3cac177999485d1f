#!/usr/bin/env bash
# A staged install (DESTDIR) of the build, checked file by file and with the desktop's own validators:
# exactly the expected files, valid desktop entries and AppStream data, manual pages that render without warnings.
# Usage: check_staged_install.sh <build tree> <stage folder> <expected file list> [emulator]
# The emulator, given for a build for another processor, is the program that runs its programs on this machine.
set -euo pipefail
build=$1
stage=$2
expected=$3
emulator=${4:-}
prefix=/usr
for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "staged install: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
root=$stage$prefix
failures=0
fail() { echo "staged install: $1"; failures=$((failures + 1)); }

# Exactly the expected files: nothing missing, and no tests, benchmarks, libraries or headers.
if ! diff <(sort "$expected") <(cd "$root" && find . -type f | sed 's|^\./||' | sort) > "$stage.files.diff"; then
  fail "the installed files differ from $expected (< expected, > installed):"
  cat "$stage.files.diff"
fi
for program in bin/tavo2000 bin/tavo2000-showcase bin/tavo2000-server; do
  [ -x "$root/$program" ] || fail "$program is not executable"
done

for entry in "$root"/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $(basename "$entry")"
done
metainfo=$root/share/metainfo/org.example.Tavo2000.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo file"
# Every screenshot the metainfo names is installed under share/tavo2000/screenshots.
while IFS= read -r shot; do
  [ -s "$root/share/tavo2000/screenshots/$shot" ] || fail "the metainfo names screenshots/$shot, which is not installed"
done < <(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|.*/\([^/<]*\)</image>|\1|')

# The screenshots show the game as it is: the title picture, and the frame of play.
probe=$(dirname "$0")/../support/screen_probe.sh
"$probe" menu "$root/share/tavo2000/screenshots/title.png" "$root/share/tavo2000" || fail "screenshots/title.png is not the title menu"
"$probe" playfield "$root/share/tavo2000/screenshots/rally.png" "$root/share/tavo2000" || fail "screenshots/rally.png is not play"

for page in "$root"/share/man/man6/*.6; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot render $(basename "$page")"
  [ -z "$warnings" ] || fail "man warns about $(basename "$page"): $warnings"
done

# The manual page's options are the ones --help lists.
options_of_help=$(${emulator:+"$emulator"} "$root/bin/tavo2000" --help |
  grep -E '^  +(-[a-z], )?--' | sed -E 's/^ +(-[a-z], )?(--[a-z-]+).*/\2/' | sort)
options_of_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$root/share/man/man6/tavo2000.6" | grep -A1 '^\.TP' |
  grep -o '\\-\\-[a-z\\-]*' | sed 's/\\-/-/g' | sort)
{ [ -n "$options_of_help" ] && [ "$options_of_help" = "$options_of_page" ]; } ||
  fail "the manual page's options differ from --help's: $(diff <(echo "$options_of_help") <(echo "$options_of_page") | tr '\n' ' ')"

[ $failures -eq 0 ] || exit 1
echo "staged install: $(wc -l < "$expected") files in place; desktop entries, metainfo and manual pages valid"
