#!/usr/bin/env bash
# The real-window test: runs window_smoke under Xvfb (1920 x 1080, so the 4:3 picture gets black side borders),
# screenshots the root window and probes known places for the frame's colours; then checks the window's class,
# title and the Alt+Enter switch to a 1280 x 960 window, and that the picture the screenshot key saves was right. Usage: run_window_smoke.sh <window_smoke> <work folder> <8|16>
set -euo pipefail
program=$1
work=$2/smoke_$3
depth=$3
rm -rf "$work" && mkdir -p "$work"
for tool in xvfb-run xwd convert xdotool; do
  command -v "$tool" >/dev/null || { echo "window test: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -euo pipefail
program=$1 work=$2 depth=$3
"$program" "$depth" "$work" > "$work/program.out" 2> "$work/program.err" &
pid=$!
for _ in $(seq 1 200); do [ -f "$work/ready" ] && break; kill -0 $pid 2>/dev/null || break; sleep 0.05; done
if [ ! -f "$work/ready" ]; then echo "the program did not draw its first frame"; cat "$work/program.err"; exit 1; fi
sleep 0.5
xwd -root -silent > "$work/shot.xwd"
xdotool search --class TAVO2000CLASS > "$work/by_class" || true
xdotool search --name '^Tavo 2000$' > "$work/by_name" || true
window=$(head -n1 "$work/by_class")
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" alt+Return
  sleep 0.7
  xdotool getwindowgeometry "$window" > "$work/geometry_windowed" || true
fi
touch "$work/stop"
wait $pid
INSIDE
chmod +x "$work/inside.sh"
"$(dirname "$0")/../support/xvfb_run.sh" 1920x1080x24 "$work/inside.sh" "$program" "$work" "$depth"

# The colour at (x, y) of the screenshot as rrggbb.
probe() {
  convert "$work/shot.xwd" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1
}
failures=0
# Colours may differ by a few levels after the renderer widens 5- and 6-bit channels.
expect() {
  local got want=$3 channel difference
  got=$(probe "$1" "$2")
  got=${got#\#}
  for channel in 0 2 4; do
    difference=$(( 16#${got:$channel:2} - 16#${want:$channel:2} ))
    if [ ${difference#-} -gt 4 ]; then
      echo "pixel ($1, $2): expected #$want, got #$got"; failures=$((failures + 1)); return
    fi
  done
}
# The picture is scaled by 2.25 to 1440 x 1080 and centred: x from 240 to 1680.
# 8 bits go through the ramp palette, whose brightest level is 252 (FC).
full=FF
[ "$depth" = 8 ] && full=FC
expect 100 540 000000           # left border
expect 1820 540 000000          # right border
expect 500 200 ${full}0000      # red quadrant
expect 1400 200 00${full}00     # green quadrant
expect 500 900 0000${full}      # blue quadrant
expect 1400 900 ${full}${full}${full}  # white quadrant
[ -s "$work/by_class" ] || { echo "no window of class TAVO2000CLASS"; failures=$((failures + 1)); }
[ -s "$work/by_name" ] || { echo "no window titled Tavo 2000"; failures=$((failures + 1)); }
grep -q "1280x960" "$work/geometry_windowed" 2>/dev/null || {
  echo "Alt+Enter did not give a 1280 x 960 window: $(cat "$work/geometry_windowed" 2>/dev/null)"; failures=$((failures + 1)); }
! grep "kept picture" "$work/program.err" || { echo "the kept picture is not the frame"; failures=$((failures + 1)); }
grep -q windowed "$work/program.out" || { echo "the program never reported the windowed mode"; failures=$((failures + 1)); }
if [ $failures -ne 0 ]; then echo "window test: $failures failures"; cat "$work/program.err"; exit 1; fi
echo "window test ($depth bits): frame, borders, class, title and Alt+Enter as expected"
