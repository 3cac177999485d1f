# Steps shared by the tests that start the real game up to its title menu and quit through it (sourced): each
# step reached is a line in the work folder's steps file, which the test reads back when the display is gone.
# shellcheck shell=bash
# shellcheck disable=SC2154  # pid, the game's process, is set by the script inside the display that sources this

# Inside the display: the pointer from the top down into the quit band in steps (relative motion), a click, then
# up to TENTHS tenths of a second for the game (process $pid) to end; its exit code becomes the step "exit N".
quit_through_menu() {
  local tenths=$1 steps=$2
  for _ in 1 2 3 4 5; do xdotool mousemove_relative -- 0 80; sleep 0.1; done
  sleep 0.2
  xdotool mousedown 1; sleep 0.25; xdotool mouseup 1; sleep 0.15
  for _ in $(seq 1 "$tenths"); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2> /dev/null; then echo "still running" >> "$steps"; kill "$pid"; fi
  wait "$pid"
  echo "exit $?" >> "$steps"
}

# After the display: fails, naming the first missing step and showing the game's errors, unless the menu was
# seen and the game ended with 0. Usage: require_menu_and_exit_0 LABEL WORK
require_menu_and_exit_0() {
  local label=$1 work=$2 step
  for step in menu "exit 0"; do
    if ! grep -qx "$step" "$work/steps" 2> /dev/null; then
      echo "$label: step '$step' not reached (steps: $(tr '\n' ' ' < "$work/steps" 2> /dev/null))"
      cat "$work/game.err" 2> /dev/null
      return 1
    fi
  done
}
