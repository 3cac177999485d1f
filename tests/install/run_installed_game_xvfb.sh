#!/usr/bin/env bash
# An installed game started as a player's desktop would start it: from an unrelated working folder, on the SDL
# backend under Xvfb. It must find its data, show the title menu (a screenshot probe against the installed
# menu picture) and quit through the menu's quit entry with exit code 0.
# Usage: run_installed_game_xvfb.sh <installed tavo2000> <working folder> <work folder>
set -euo pipefail
game=$1
start_dir=$2
work=$3
rm -rf "$work" && mkdir -p "$work"
data_dir=$(cd "$(dirname "$game")/../share/tavo2000" && pwd)
support=$(cd "$(dirname "$0")/../support" && pwd)

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the Xvfb session: starts the game, waits for the menu, quits through it, records the exit code.
set -uo pipefail
game=$1 start_dir=$2 data_dir=$3 work=$4 probe=$5
source "$(dirname "$probe")/menu_steps.sh"
cd "$start_dir"
start_game() {
  SDL_AUDIODRIVER=dummy "$game" > "$work/game.out" 2> "$work/game.err" &
  pid=$!
}
start_game
# A display that refuses a client now and then is the machine's hiccup, not the game's: up to two more starts.
for _ in 1 2; do
  sleep 0.5
  if kill -0 "$pid" 2>/dev/null || ! grep -q "cannot open the game window" "$work/game.err"; then break; fi
  echo "display refused the start; starting again" >> "$work/retries"
  start_game
done
for _ in $(seq 1 75); do
  xwd -root -silent | convert xwd:- "$work/screen.png"
  if "$probe" menu "$work/screen.png" "$data_dir" >/dev/null 2>&1; then echo menu >> "$work/steps"; break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
quit_through_menu 50 "$work/steps"
INSIDE
chmod +x "$work/inside.sh"
"$support/xvfb_run.sh" 640x480x24 "$work/inside.sh" "$game" "$start_dir" "$data_dir" "$work" "$support/screen_probe.sh" || true

# shellcheck source=tests/support/menu_steps.sh
source "$support/menu_steps.sh"
require_menu_and_exit_0 "installed game" "$work" || exit 1
echo "installed game: started in $start_dir, found its data, showed the title menu, quit through it with 0"
