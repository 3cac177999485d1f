#!/usr/bin/env bash
# Writes the two players' scripts of an online pair test, FRAMES frames each, as WORK/host.replay and
# WORK/join.replay: the host serves, follows the ball with right Ctrl and moves the mouse in turns; the joiner
# follows with left Shift and steps with the arrows in turns, so inputs change every few frames.
# Usage: write_pair_scripts.sh WORK FRAMES
set -euo pipefail
work=$1 frames=$2
left=$frames i=0
: > "$work/host.replay"
: > "$work/join.replay"
while [ "$left" -gt 0 ]; do
  n=$(( 3 + i % 7 )); [ "$n" -gt "$left" ] && n=$left
  case $(( i % 4 )) in
    0) echo "1 keys=SPACE" >> "$work/host.replay"; [ "$n" -gt 1 ] && echo "$(( n - 1 )) keys=RCONTROL" >> "$work/host.replay" ;;
    1) echo "$n dx=$(( (i % 5) * 9 - 18 ))" >> "$work/host.replay" ;;
    *) echo "$n keys=RCONTROL" >> "$work/host.replay" ;;
  esac
  left=$(( left - n )); i=$(( i + 1 ))
done
left=$frames; i=0
while [ "$left" -gt 0 ]; do
  n=$(( 2 + i % 5 )); [ "$n" -gt "$left" ] && n=$left
  case $(( i % 5 )) in
    0) echo "$n keys=LEFT" >> "$work/join.replay" ;;
    1) echo "$n keys=RIGHT" >> "$work/join.replay" ;;
    2) echo "1 keys=SPACE" >> "$work/join.replay"; [ "$n" -gt 1 ] && echo "$(( n - 1 )) keys=LSHIFT" >> "$work/join.replay" ;;
    *) echo "$n keys=LSHIFT" >> "$work/join.replay" ;;
  esac
  left=$(( left - n )); i=$(( i + 1 ))
done
