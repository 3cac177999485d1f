#!/usr/bin/env bash
# The player's options in a real window under Xvfb (1280 x 1024), the game started from / each time: a window
# of 800 x 600 with the picture at 1x, centred, saved with --save-settings; a second start with no options
# taking the same window from the saved file; a third where the command line wins (full screen, 2x). Each is
# checked by probing the screenshot against our menu picture. Usage: run_options_xvfb.sh <tavo2000> <run folder> <work>
set -euo pipefail
game=$1 run_dir=$2 work=$3/options_xvfb
rm -rf "$work" && mkdir -p "$work"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# start NAME ARGS...: starts the game from / with a private settings folder, waits for the menu picture at the
# place the window and scaling should give, and records "NAME ok" or what it saw.
set -uo pipefail
game=$1 run_dir=$2 work=$3
rgb() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n1 | sed 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/'; }
# Whether the screen at (x0 + scale * px, y0 + scale * py) shows the menu picture's pixel (px, py), for three pixels.
menu_at() {
  local x0=$1 y0=$2 scale=$3 a b
  for p in "110 330" "600 150" "320 60"; do
    read -r px py <<< "$p"
    read -r -a a <<< "$(rgb "$work/shot.png" $((x0 + scale * px)) $((y0 + scale * py)))"
    read -r -a b <<< "$(rgb "bmp:$run_dir/Backgrounds/menu.spr" "$px" "$py")"
    for c in 0 1 2; do local d=$(( a[c] - b[c] )); [ ${d#-} -le 10 ] || return 1; done
  done
}
start() {
  local name=$1; shift
  SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$work/config" "$game" "$@" 2> "$work/$name.err" &
  local pid=$! found=""
  for _ in $(seq 1 60); do
    sleep 0.25
    window=$(xdotool search --class TAVO2000CLASS 2>/dev/null | head -n1)
    [ -n "$window" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xwd -root -silent | convert xwd:- "$work/shot.png"
    if [ "$WIDTH" = "$want_w" ] && [ "$HEIGHT" = "$want_h" ] && menu_at $((X + off_x)) $((Y + off_y)) "$scale"; then
      found=ok; break
    fi
  done
  echo "$name ${found:-failed: window ${WIDTH:-?}x${HEIGHT:-?} at ${X:-?},${Y:-?}}" >> "$work/steps"
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  # The next start must not find this one's window.
  for _ in $(seq 1 40); do xdotool search --class TAVO2000CLASS >/dev/null 2>&1 || break; sleep 0.05; done
}
cd /
want_w=800 want_h=600 off_x=80 off_y=60 scale=1
start saved --window=800x600 --scale=integer --save-settings
start from_settings
want_w=1280 want_h=1024 off_x=0 off_y=32 scale=2
start command_line_wins --fullscreen
INSIDE
chmod +x "$work/inside.sh"
"$(dirname "$0")/../support/xvfb_run.sh" 1280x1024x24 "$work/inside.sh" "$game" "$run_dir" "$work" || true

failures=0
for step in saved from_settings command_line_wins; do
  grep -qx "$step ok" "$work/steps" 2>/dev/null || { echo "options window test: $(grep "^$step" "$work/steps" || echo "$step not run")"; failures=$((failures + 1)); }
done
settings=$work/config/tavo2000/settings.ini
{ grep -qx "window=800x600" "$settings" && grep -qx "scale=integer" "$settings" && grep -qx "fullscreen=no" "$settings"; } ||
  { echo "options window test: settings file not as asked: $(cat "$settings" 2>&1)"; failures=$((failures + 1)); }
[ $failures -eq 0 ] || { cat "$work"/*.err; exit 1; }
echo "options window test: 800x600 window at 1x saved and read back from /, full screen at 2x from the command line"
