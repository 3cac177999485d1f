#!/usr/bin/env bash
# Says whether a screenshot of the game shows what is asked for, by probing pixels against our own pictures.
# Usage: screen_probe.sh WHAT SCREENSHOT DATA_FOLDER; WHAT is menu (or menu_again), playfield or prompt.
# Exit 0 when it does, 1 when it does not, 2 for an unknown WHAT.
what=$1 picture=$2 data_dir=$3
# The colour at (x, y) of a picture file as "r g b".
rgb() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n1 | sed 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/'; }
# Whether the screen pixel matches our picture's pixel there (within the 16-bit display's rounding).
same() {
  local a b
  read -r -a a <<< "$(rgb "$picture" "$2" "$3")"
  read -r -a b <<< "$(rgb "bmp:$data_dir/$1" "$2" "$3")"
  for c in 0 1 2; do
    local d=$(( a[c] - b[c] )); [ ${d#-} -le 10 ] || return 1
  done
}
case $what in
  menu|menu_again) same Backgrounds/menu.spr 110 330 && same Backgrounds/menu.spr 600 150 && same Backgrounds/menu.spr 320 60 ;;
  playfield) same Sprites/hud2.spr 5 240 && same Sprites/hud2.spr 540 280 && same Sprites/hud2.spr 600 470 ;;
  # "Press Space Bar" at (180, 200): green text on the black playfield.
  prompt) convert "$picture" -crop 160x18+180+200 -depth 8 txt:- | grep -Eq '\((0|1|2),25[0-5],(0|1|2)\)' ;;
  *) exit 2 ;;
esac
