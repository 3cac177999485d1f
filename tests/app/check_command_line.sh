#!/usr/bin/env bash
# The game binary's answers to its command line, with no display: exit codes and output of --help, --version
# and refused values (no window is tried for them), the help's folder lines by Linux's rules, an unknown argument
# named and ignored, and the README's options section naming exactly the options --help lists. Usage: check_command_line.sh <tavo2000> <README> <version>
set -uo pipefail
game=$1 readme=$2 version=$3
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "command line check: $1"; failures=$((failures + 1)); }
# run NAME ARGS...: runs the game without a display; leaves NAME.out, NAME.err and the exit code in NAME.rc.
run() {
  local name=$1; shift
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    "$game" "$@" > "$work/$name.out" 2> "$work/$name.err"
  echo $? > "$work/$name.rc"
}
expect() {  # expect NAME CODE STDERR-LINES
  local rc lines
  rc=$(cat "$work/$1.rc") lines=$(wc -l < "$work/$1.err")
  [ "$rc" = "$2" ] || fail "$1: exit code $rc, expected $2"
  [ "$lines" = "$3" ] || fail "$1: $lines stderr lines, expected $3: $(cat "$work/$1.err")"
}

run help --help;            expect help 0 0
# This system's folder rules in the help: the freedesktop settings file, and no Windows folder.
# shellcheck disable=SC2016 # the variable's name is the text looked for
grep -qF 'Settings are read from $XDG_CONFIG_HOME/tavo2000/settings.ini' "$work/help.out" ||
  fail "--help does not name the freedesktop settings file"
if grep -qF '%APPDATA%' "$work/help.out"; then fail "--help names a Windows folder"; fi
run version --version;      expect version 0 0
[ "$(cat "$work/version.out")" = "tavo2000 $version" ] || fail "--version printed '$(cat "$work/version.out")'"
for bad in --scale=huge --window=10x10 "--window 20000x600" --music-volume=101 --effects-volume=x --no-rumble=1 \
           --data=/nonexistent "--data $work" --fullscreen=yes --play; do
  # shellcheck disable=SC2086
  run bad $bad; expect bad 2 1
  grep -q "usage: tavo2000" "$work/bad.err" || fail "$bad: no usage line: $(cat "$work/bad.err")"
done
# Unknown arguments: one line each, then the game goes on (to the window it cannot open here).
run unknown --bogus stray
grep -qx "tavo2000: ignoring unknown argument '--bogus'" "$work/unknown.err" || fail "--bogus not named"
grep -qx "tavo2000: ignoring unknown argument 'stray'" "$work/unknown.err" || fail "stray not named"
grep -q "cannot open the game window" "$work/unknown.err" || fail "the game did not go on after unknown arguments"
[ ! -e "$work/config" ] || fail "a run without --save-settings wrote into the configuration folder"

# The same option names in --help and in the README's options section.
names() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
names < "$work/help.out" > "$work/help.names"
sed -n '/^## Options, settings/,/^## /p' "$readme" | names > "$work/readme.names"
[ -s "$work/help.names" ] || fail "--help lists no options"
diff "$work/help.names" "$work/readme.names" > "$work/names.diff" ||
  fail "--help and the README name different options: $(tr '\n' ' ' < "$work/names.diff")"

[ $failures -eq 0 ] || exit 1
echo "command line check: --help, --version, $(wc -l < "$work/help.names") options in --help and the README, refusals, unknown arguments"
