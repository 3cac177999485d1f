#!/usr/bin/env bash
# The Windows game under Wine on Xvfb, started as a player would start it: from the given working folder, full
# screen on a 640x480 display. It must show the title menu (the screenshot probe against our menu picture); with
# --screenshot, F12 must write a 640x480 PNG into the player's Pictures\Tavo 2000; then it must quit through the
# menu's quit entry with exit code 0. The last screen seen is kept as WORK/menu.png. A GAME ending in .lnk is a
# shortcut, started through the shell as the Start menu starts it (its own working folder wins then); the game
# must then show the menu and end through its quit entry, its exit code unseen.
# Usage: run_game_wine.sh [--screenshot] GAME.exe|SHORTCUT.lnk DATA_FOLDER START_FOLDER WORK   (WINEPREFIX set)
set -euo pipefail
shot=0
if [ "$1" = "--screenshot" ]; then shot=1; shift; fi
game=$1 data_dir=$2 start_dir=$3 work=$4
: "${WINEPREFIX:?}"
rm -rf "$work" && mkdir -p "$work"
support=$(cd "$(dirname "$0")/../support" && pwd)
# Wine's own sound drivers off: like a machine without a sound card (and without their messages).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
pictures="$WINEPREFIX/drive_c/users/$(whoami)/Pictures/Tavo 2000"
rm -rf "$pictures"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the Xvfb session: starts the game, waits for the menu, F12 when asked, quits through the menu.
set -uo pipefail
game=$1 start_dir=$2 data_dir=$3 work=$4 probe=$5 shot=$6
source "$(dirname "$probe")/menu_steps.sh"
cd "$start_dir"
# The game's own process of this prefix (a Windows program's command line names its .exe), when there is one.
game_process() {
  local environ
  for environ in $(grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ); do
    if grep -qsaiF 'tavo2000.exe' "${environ%/environ}/cmdline"; then
      environ=${environ#/proc/}
      echo "${environ%/environ}"
      return 0
    fi
  done
  return 1
}
case $game in
  *.lnk)
    # The shell starts the game and returns (start /wait cannot wait for a shortcut's target), or shows why it
    # cannot and waits for an answer; so the game's own process is followed by a watcher, a child as the steps
    # need, that ends when the game ends. The game's exit code is out of reach this way: the step "exit 0" then
    # says that it ended by itself.
    wine start /unix "$game" > "$work/game.out" 2> "$work/game.err" < /dev/null &
    game_pid=
    for _ in $(seq 1 150); do game_pid=$(game_process) && break; sleep 0.2; done
    [ -n "$game_pid" ] || echo "no game process from the shortcut" >> "$work/steps"
    (while [ -n "$game_pid" ] && kill -0 "$game_pid" 2> /dev/null; do sleep 0.1; done) &
    ;;
  *) wine "$game" > "$work/game.out" 2> "$work/game.err" < /dev/null & ;;
esac
pid=$!
# Start-up's message boxes (no sound device) are each answered by Space on their button, as a player may; Space
# means nothing in the title menu, where an Enter that reached the game could start a match.
for _ in $(seq 1 150); do
  xwd -root -silent | convert xwd:- "$work/menu.png"
  if "$probe" menu "$work/menu.png" "$data_dir" >/dev/null 2>&1; then echo menu >> "$work/steps"; break; fi
  kill -0 "$pid" 2>/dev/null || break
  # A start-up message box (titled ERROR) on the screen: answer it.
  box=$(xdotool search --onlyvisible --name '^ERROR$' 2> /dev/null | head -n 1)
  if [ -n "$box" ]; then xdotool windowfocus "$box" 2> /dev/null; xdotool key space; sleep 1; fi
  sleep 0.2
done
if [ "$shot" = 1 ]; then xdotool key F12; sleep 1; fi
sleep 0.5
quit_through_menu 100 "$work/steps"
# No Wine process outlives the display it was drawing on.
wineserver -k 2>/dev/null
wineserver -w
INSIDE
chmod +x "$work/inside.sh"
"$support/xvfb_run.sh" 640x480x24 "$work/inside.sh" "$game" "$start_dir" "$data_dir" "$work" \
  "$support/screen_probe.sh" "$shot" > "$work/session.log" 2>&1 || true

# shellcheck source=tests/support/menu_steps.sh
source "$support/menu_steps.sh"
require_menu_and_exit_0 "Windows game under Wine" "$work" || exit 1
if [ "$shot" = 1 ]; then
  file=$(find "$pictures" -maxdepth 1 -name 'tavo2000-*.png' 2>/dev/null | sort | head -n 1)
  if [ -z "$file" ] || [ "$(identify -format '%wx%h' "$file")" != 640x480 ]; then
    echo "Windows game under Wine: F12 wrote no 640x480 PNG in $pictures"
    cat "$work/game.err"
    exit 1
  fi
  grep -q "^SCREENSHOT: C:\\\\users\\\\.*\\\\Pictures\\\\Tavo 2000\\\\tavo2000-.*\.png" "$work/game.err" || {
    echo "Windows game under Wine: no SCREENSHOT: line naming the Pictures folder"; cat "$work/game.err"; exit 1; }
  echo "Windows game under Wine: F12 wrote $(basename "$file"), 640x480"
fi
echo "Windows game under Wine: started in $start_dir, showed the title menu, quit through it with 0"
