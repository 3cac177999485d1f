# The room code a host replay tool printed on its stderr ("ONLINE: room CODE"), waited for up to 10 s; sourced.
# room_code_of FILE  ->  the code on stdout, or nothing when none came.
# shellcheck shell=bash
room_code_of() {
  local code=""
  for _ in $(seq 100); do
    code=$(sed -n 's/^ONLINE: room \([A-Z0-9]*\)$/\1/p' "$1" | head -n 1)
    [ -n "$code" ] && break
    sleep 0.1
  done
  echo "$code"
}
