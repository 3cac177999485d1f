#!/usr/bin/env bash
# The game played in a real window: the game binary on the SDL backend under Xvfb (a 640 x 480 screen, so the
# picture lands pixel for pixel), driven with xdotool as a player would, and checked by probing screenshots
# against our own pictures. Usage: run_game_xvfb.sh <tavo2000> <run folder with the assets> <work folder>
set -euo pipefail
game=$1
run_dir=$2
work=$3/game_xvfb
rm -rf "$work" && mkdir -p "$work"
for tool in xvfb-run xwd convert xdotool; do
  command -v "$tool" >/dev/null || { echo "game window test: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the Xvfb session: starts the game, plays it, takes the screenshots, waits for its exit code.
set -uo pipefail
game=$1 run_dir=$2 work=$3 probe=$4
shot() { xwd -root -silent | convert xwd:- "$work/$1.png"; }
# A tap must outlast a frame or two: input is read as a snapshot once a frame.
tap_key() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; sleep 0.15; }
click() { xdotool mousedown 1; sleep 0.25; xdotool mouseup 1; sleep 0.15; }
# Waits up to about 15 s until the probe script says the screen shows what is asked for.
wait_for() {
  for _ in $(seq 1 75); do
    shot wait
    if "$probe" "$1" "$work/wait.png" "$run_dir" >/dev/null 2>&1; then cp "$work/wait.png" "$work/$1.png"; return 0; fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
cd "$run_dir"
# A silent audio device: Xvfb machines have no sound card, and the game is to start without message boxes.
start_game() {
  SDL_AUDIODRIVER=dummy "$game" > "$work/game.out" 2> "$work/game.err" &
  pid=$!
}
start_game
# A display that refuses a client now and then is the machine's hiccup, not the game's: one more start.
sleep 0.5
if ! kill -0 "$pid" 2>/dev/null && grep -q "cannot open the game window" "$work/game.err"; then
  echo "display refused the first start; starting again" >> "$work/retries"
  sleep 0.5
  start_game
fi
step() { echo "$1" >> "$work/steps"; }
wait_for menu && step menu || { step "no menu"; kill $pid; exit 1; }
xdotool mousemove_relative -- 10 10; sleep 0.2
click
wait_for playfield && step playfield || { step "no playfield"; kill $pid; exit 1; }
"$probe" prompt "$work/playfield.png" "$run_dir" && step prompt
# The paddle goes right, under the ball's way down after the right wall, so the rally lasts; then the serve.
for _ in 1 2 3; do xdotool mousemove_relative -- 110 0; sleep 0.1; done
tap_key space
# The ball: the centre of its white pixels in the playfield, away from the block's row and the paddles. A busy
# machine may show a frame late, so the screen is looked at until the ball is found, then until it has moved.
ball_at() {
  convert "$work/$1.png" -crop 425x400+15+40 +repage -depth 8 txt:- |
    awk -F'[,: ()]+' '/^#/ { next } $3 >= 240 && $4 >= 240 && $5 >= 240 && !($2 + 40 >= 196 && $2 + 40 <= 220) {
      sx += $1; sy += $2; n++ } END { if (n) printf "%d,%d\n", sx / n + 15, sy / n + 40 }'
}
first="" second=""
for _ in $(seq 1 20); do shot ball1; first=$(ball_at ball1); [ -n "$first" ] && break; sleep 0.1; done
for _ in $(seq 1 20); do
  sleep 0.1; shot ball2; second=$(ball_at ball2)
  [ -n "$second" ] && [ "$second" != "$first" ] && break
done
echo "${first:-none} ${second:-none}" > "$work/ball_positions"
xdotool keydown Escape; wait_for menu_again && step menu_again; xdotool keyup Escape
sleep 0.2
# Down into the quit band in steps (relative motion), then a click.
for _ in 1 2 3 4 5; do xdotool mousemove_relative -- 0 90; sleep 0.1; done
sleep 0.2
click
for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then step "still running"; kill $pid; fi
wait $pid
echo "exit $?" >> "$work/steps"
INSIDE

chmod +x "$work/inside.sh"
support=$(cd "$(dirname "$0")/../support" && pwd)
"$support/xvfb_run.sh" 640x480x24 "$work/inside.sh" "$game" "$run_dir" "$work" "$support/screen_probe.sh" || true

failures=0
fail() { echo "game window test: $1"; failures=$((failures + 1)); }
for step in menu playfield prompt menu_again "exit 0"; do
  grep -qx "$step" "$work/steps" 2>/dev/null || fail "step '$step' not reached (steps: $(tr '\n' ' ' < "$work/steps" 2>/dev/null))"
done
read -r first second < "$work/ball_positions" 2>/dev/null || { first=none second=none; }
{ [ "$first" != none ] && [ "$second" != none ]; } || fail "no ball found in the playfield ($first, $second)"
[ "$first" != "$second" ] || fail "the ball did not move between the two screenshots ($first)"
if [ $failures -ne 0 ]; then cat "$work/game.err" 2>/dev/null; exit 1; fi
echo "game window test: menu, playfield with the prompt, the ball moving ($first -> $second), menu, quit with 0"
