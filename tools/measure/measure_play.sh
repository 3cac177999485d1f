#!/usr/bin/env bash
# Measures the real game on the SDL backend under Xvfb, driven with xdotool as a player would: the time from
# launch to the first title-menu frame, the game's share of one core and its frame intervals during ~10 s of
# play, and its peak memory. Frame times come from the game's own per-flip log (TAVO_FRAME_LOG); the processor
# time from /proc/<pid>/stat; the peak from /usr/bin/time -v and VmHWM.
# Usage: tools/measure/measure_play.sh [build tree, default build] ; environment: SCREEN (default 1920x1080),
# PLAY_SECONDS (default 10), AUDIO (SDL audio driver, default dummy: mixing and music run as with a sound card;
# "none" leaves SDL's choice, which fails on a machine without audio), KEEP (folder to keep the logs in).
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  run_dir=$2 work=$3 play_seconds=$4
  log="$work/frames.log"
  note() { echo "$1=$2" >> "$work/results"; }
  # Bash's clock is the wall clock; the frame log's is the monotonic one. Their difference, read together once:
  offset_us=$(python3 -c 'import time; print(time.time_ns() // 1000 - time.monotonic_ns() // 1000)')
  cd "$run_dir"
  launch_us=${EPOCHREALTIME/./}
  TAVO_FRAME_LOG=1 /usr/bin/time -v -o "$work/time.txt" ./tavo2000 > "$work/game.out" 2> "$log" &
  timer=$!
  # The game is the time program's child.
  pid=""
  for _ in $(seq 1 200); do pid=$(pgrep -P "$timer" -x tavo2000 || true); [ -n "$pid" ] && break; sleep 0.01; done
  [ -n "$pid" ] || { echo "measure: the game did not start"; exit 1; }
  for _ in $(seq 1 3000); do grep -q '^frame ' "$log" && break; sleep 0.01; done
  first_us=$(grep -m1 '^frame ' "$log" | cut -d' ' -f2) || { echo "measure: no menu frame"; kill "$pid"; exit 1; }
  note startup_ms "$(( (first_us - (launch_us - offset_us)) / 1000 ))"
  sleep 1
  xwd -root -silent > "$work/menu.xwd"

  # New game: the pointer starts at y 0, inside the new-game band. Then the serve; right Ctrl held keeps the
  # paddle under the ball so the rally lasts the whole measurement.
  xdotool mousedown 1; sleep 0.2; xdotool mouseup 1; sleep 0.5
  xdotool keydown space; sleep 0.2; xdotool keyup space
  xdotool keydown Control_R
  sleep 1

  ticks_per_second=$(getconf CLK_TCK)
  read -r -a before < "/proc/$pid/stat"
  start_us=${EPOCHREALTIME/./}
  sleep "$play_seconds"
  read -r -a after < "/proc/$pid/stat"
  end_us=${EPOCHREALTIME/./}
  xwd -root -silent > "$work/play.xwd"
  # Fields 14 and 15 (utime, stime) are at indexes 13 and 14 (the name has no spaces).
  busy_ticks=$(( after[13] + after[14] - before[13] - before[14] ))
  note cpu_ticks "$busy_ticks"
  note ticks_per_second "$ticks_per_second"
  note window_us "$(( end_us - start_us ))"
  note window_start_mono_us "$(( start_us - offset_us ))"
  note window_end_mono_us "$(( end_us - offset_us ))"
  note threads "$(find "/proc/$pid/task" -mindepth 1 -maxdepth 1 | wc -l)"
  note vmhwm_kb "$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")"

  # Back to the menu with Escape, down into the quit band, click.
  xdotool keyup Control_R
  xdotool keydown Escape; sleep 0.2; xdotool keyup Escape; sleep 0.3
  xdotool mousemove_relative -- 0 400; sleep 0.3
  xdotool mousedown 1; sleep 0.2; xdotool mouseup 1
  for _ in $(seq 1 500); do kill -0 "$pid" 2>/dev/null || break; sleep 0.01; done
  if kill -0 "$pid" 2>/dev/null; then
    note quit_by_menu no
    kill -TERM "$pid"
  fi
  wait "$timer" && code=0 || code=$?
  note exit_code "$code"
  exit 0
fi

cd "$(dirname "$0")/../.."
tree=${1:-build}
export SCREEN=${SCREEN:-1920x1080}
screen=$SCREEN
play_seconds=${PLAY_SECONDS:-10}
audio=${AUDIO:-dummy}
run_dir=$(cd "$tree/run" && pwd)
[ -x "$run_dir/tavo2000" ] || { echo "measure: $run_dir/tavo2000 is missing; build the tree first"; exit 1; }
for tool in xvfb-run xdotool xwd convert python3 /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "measure: $tool is missing"; exit 1; }
done
work=${KEEP:-$(mktemp -d)}
mkdir -p "$work" && rm -f "$work/results"
[ "$audio" != none ] && export SDL_AUDIODRIVER=$audio
xvfb-run -a -s "-screen 0 ${screen}x24" "$0" --inside "$run_dir" "$work" "$play_seconds"

# Report: frame intervals of the flips inside the measured window.
# The notes this run wrote, as variables for the report.
set -a
# shellcheck source=/dev/null
. "$work/results"
set +a
convert "$work/menu.xwd" "$work/menu.png" && convert "$work/play.xwd" "$work/play.png"
max_rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
export max_rss_kb
python3 - "$work/frames.log" <<'REPORT'
import os, statistics, sys
r = os.environ
start, end = int(r["window_start_mono_us"]), int(r["window_end_mono_us"])
times = [int(l.split()[1]) for l in open(sys.argv[1]) if l.startswith("frame ")]
inside = [t for t in times if start <= t <= end]
gaps = sorted((b - a) / 1000 for a, b in zip(inside, inside[1:]))
cpu = int(r["cpu_ticks"]) / int(r["ticks_per_second"]) / (int(r["window_us"]) / 1e6)
def pct(p): return gaps[min(len(gaps) - 1, int(p / 100 * len(gaps)))]
print(f"screen            {os.environ.get('SCREEN', '1920x1080')}x24, audio driver {os.environ.get('SDL_AUDIODRIVER', 'SDL default')}")
print(f"start-up          {r['startup_ms']} ms from launch to the first title-menu frame")
print(f"play window       {int(r['window_us']) / 1e6:.2f} s, {len(inside)} frames, {r['threads']} threads")
print(f"cpu share         {100 * cpu:.1f}% of one core ({r['cpu_ticks']} ticks of 1/{r['ticks_per_second']} s)")
if gaps:
    print(f"frame interval    median {statistics.median(gaps):.2f} ms, p99 {pct(99):.2f} ms, "
          f"min {gaps[0]:.2f} ms, max {gaps[-1]:.2f} ms, mean {statistics.fmean(gaps):.2f} ms")
print(f"peak memory       VmHWM {r['vmhwm_kb']} kB during play; max RSS {os.environ.get('max_rss_kb')} kB over the run")
print(f"exit code         {r['exit_code']}" + ("" if r.get("quit_by_menu") != "no" else " (menu quit failed; ended with SIGTERM)"))
REPORT
echo "logs and screenshots (menu.png, play.png) in $work"
