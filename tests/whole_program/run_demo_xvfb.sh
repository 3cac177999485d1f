#!/usr/bin/env bash
# A recorded demo, end to end: a short match played in a real window under Xvfb with xdotool while --record
# writes it (and F12 takes a screenshot), then tavo_replay on the recording, then --play of the recording in a
# window with live input that must be ignored; last, a script that closes the window, played and recorded at once. The picture fingerprint of every frame the window showed (the
# frame log with TAVO_FRAME_LOG=img) must equal the replay trace's img= column, frame for frame, and so must the
# played window's; the frame counts, and the score and lives of the last trace line, are reported.
# Usage: run_demo_xvfb.sh <tavo2000> <tavo_replay> <run folder with the assets> <work folder>
set -euo pipefail
game=$1
replay=$2
run_dir=$3
work=$4/demo_xvfb
rm -rf "$work" && mkdir -p "$work/home"
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "demo test: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done
failures=0
fail() { echo "demo test: $1"; failures=$((failures + 1)); }

# A malformed script is refused before any window: the line number on stderr, exit code 2.
printf '3\n2 dx=oops\n' > "$work/bad.replay"
set +e
(cd "$run_dir" && DISPLAY='' "$game" --play="$work/bad.replay") > "$work/bad.out" 2> "$work/bad.err"
code=$?
set -e
[ $code -eq 2 ] || fail "a malformed script gave exit code $code, wanted 2"
grep -q "bad.replay:2: malformed line" "$work/bad.err" || fail "no line number for the malformed script: $(cat "$work/bad.err")"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the Xvfb session: the recorded match, then the played recording.
set -uo pipefail
game=$1 run_dir=$2 work=$3
cd "$run_dir"
export HOME=$work/home SDL_AUDIODRIVER=dummy TAVO_FRAME_LOG=img
unset XDG_CONFIG_HOME XDG_DATA_HOME
tap_key() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; sleep 0.15; }
click() { xdotool mousedown 1; sleep 0.25; xdotool mouseup 1; sleep 0.15; }
# Waits up to about 15 s for the game's first frame (the title menu).
wait_for_frames() {
  for _ in $(seq 1 150); do grep -q '^frame ' "$1" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
# Waits up to about 20 s for the game to end; its exit code goes into the named file.
wait_for_exit() {
  for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "still running" > "$1"; kill "$pid"; fi
  wait "$pid"
  echo $? >> "$1"
}

"$game" --record="$work/demo.replay" 2> "$work/record.err" &
pid=$!
wait_for_frames "$work/record.err" || { echo "no menu" > "$work/record.code"; kill $pid; exit 1; }
sleep 0.3
xdotool mousemove_relative -- 10 10; sleep 0.2
click                                              # new game
for _ in 1 2 3; do xdotool mousemove_relative -- 110 0; sleep 0.1; done
tap_key space                                      # serve; the paddle waits where the ball comes down
sleep 2.5
tap_key F12                                        # a screenshot mid-match: not part of the game's input
for _ in 1 2 3; do xdotool mousemove_relative -- -50 0; sleep 0.1; done
sleep 1.5
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape; sleep 0.3
for _ in 1 2 3 4 5; do xdotool mousemove_relative -- 0 90; sleep 0.1; done
sleep 0.2
click                                              # quit
wait_for_exit "$work/record.code"

"$game" --play="$work/demo.replay" 2> "$work/play.err" &
pid=$!
wait_for_frames "$work/play.err"
# Live input while a demo plays changes nothing.
for _ in 1 2 3; do xdotool mousemove_relative -- 40 30; tap_key space; done
click
wait_for_exit "$work/play.code"

# A script that closes the window mid-match, played and recorded at once: the close goes into the recording.
"$game" --play="$work/closing.replay" --record="$work/rerecorded.replay" 2> "$work/closing.err" &
pid=$!
wait_for_exit "$work/closing.code"
INSIDE
# The frames on both sides of the close are alike, so the close must keep them apart in the recording.
printf '3\n1 dx=10 dy=10\n1 btn\n20 dx=5\nclose\n10 dx=5\n' > "$work/closing.replay"
chmod +x "$work/inside.sh"
"$(dirname "$0")/../support/xvfb_run.sh" 640x480x24 "$work/inside.sh" "$game" "$run_dir" "$work" || true

[ "$(cat "$work/record.code" 2>/dev/null)" = 0 ] || fail "the recorded game ended with '$(cat "$work/record.code" 2>/dev/null)'"
[ "$(cat "$work/play.code" 2>/dev/null)" = 0 ] || fail "the played game ended with '$(cat "$work/play.code" 2>/dev/null)'"
[ -s "$work/demo.replay" ] || fail "no recording was written"
grep -q '^SCREENSHOT: .*/tavo2000-[0-9]\{8\}-[0-9]\{6\}\(-[0-9]*\)\?\.png$' "$work/record.err" || fail "F12 saved no screenshot"
if [ $failures -eq 0 ]; then
  (cd "$run_dir" && "$replay" "$work/demo.replay") > "$work/replay.out" 2> "$work/replay.err" || fail "tavo_replay failed"
  grep '^frame ' "$work/record.err" | grep -o 'img=.*' > "$work/window.img" || true
  grep '^frame ' "$work/play.err" | grep -o 'img=.*' > "$work/played.img" || true
  grep '^f=' "$work/replay.out" | grep -o 'img=.*' > "$work/replay.img" || true
  shown=$(wc -l < "$work/window.img") replayed=$(wc -l < "$work/replay.img") played=$(wc -l < "$work/played.img")
  last=$(grep '^f=' "$work/replay.out" | tail -n1)
  score=$(grep -o 'score=[0-9,]*' <<< "$last" || true) lives=$(grep -o 'lives=[0-9,]*' <<< "$last" || true)
  [ "$shown" -gt 60 ] || fail "the window showed only $shown frames"
  cmp -s "$work/window.img" "$work/replay.img" ||
    fail "the replay differs from the window (frames $shown and $replayed): $(diff "$work/window.img" "$work/replay.img" | head -n 3 | tr '\n' ' ')"
  cmp -s "$work/window.img" "$work/played.img" ||
    fail "the played demo differs from the window (frames $shown and $played): $(diff "$work/window.img" "$work/played.img" | head -n 3 | tr '\n' ' ')"
  [ "$score" != "score=0,0" ] || fail "the match scored nothing, so it shows little ($last)"

  [ "$(cat "$work/closing.code" 2>/dev/null)" = 0 ] || fail "the closing script ended with '$(cat "$work/closing.code")'"
  grep -qx close "$work/rerecorded.replay" || fail "the window's close is not in the recording"
  grep '^frame ' "$work/closing.err" | grep -o 'img=.*' > "$work/closing_window.img" || true
  for script in closing rerecorded; do
    (cd "$run_dir" && "$replay" "$work/$script.replay") | grep '^f=' | grep -o 'img=.*' > "$work/${script}_replay.img" || true
    cmp -s "$work/closing_window.img" "$work/${script}_replay.img" ||
      fail "$script.replay: the replay differs from the window ($(wc -l < "$work/closing_window.img") and $(wc -l < "$work/${script}_replay.img") frames)"
  done
fi
if [ $failures -ne 0 ]; then
  for f in record.err play.err replay.err; do [ -f "$work/$f" ] && grep -v '^frame ' "$work/$f" | head -n 20; done
  exit 1
fi
echo "demo test: window, replay and played demo agree on all $shown frames; last frame $score $lives;" \
  "the closing script and its recording agree on $(wc -l < "$work/closing_window.img") frames"
