#!/usr/bin/env bash
# The song as the Windows game plays it, under Wine on Xvfb: the game started with SDL's disk audio driver (the
# output written to a file instead of a sound device) and the effects silenced, playing a script that waits in the
# title menu and then quits through it. The first 20 s after the first sound must be audible, peak below full
# scale and lie between -30 and -14 dBFS RMS. Usage: check_song_level_wine.sh GAME.exe RUN_DIR WORK (WINEPREFIX set)
set -euo pipefail
game=$1 run_dir=$2 work=$3
: "${WINEPREFIX:?}"
rm -rf "$work" && mkdir -p "$work"
support=$(cd "$(dirname "$0")/../support" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
# 800 menu frames of 30 ms: 24 s of the title menu; after the script's end the player takes the quit entry.
printf '# The title menu, untouched, while the song plays.\n800\n' > "$work/menu.replay"

cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
# Runs inside the Xvfb session: the game with the disk driver, then every Wine process of the prefix ended.
set -uo pipefail
game=$1 run_dir=$2 work=$3
cd "$run_dir"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(winepath -w "$work/song.raw") timeout 120 \
  wine "$game" --effects-volume=0 --play="$(winepath -w "$work/menu.replay")" \
  > "$work/game.out" 2> "$work/game.err" < /dev/null
echo $? > "$work/code"
wineserver -k 2> /dev/null
wineserver -w
INSIDE
chmod +x "$work/inside.sh"
"$support/xvfb_run.sh" 640x480x24 "$work/inside.sh" "$game" "$run_dir" "$work" > "$work/session.log" 2>&1 || true

code=$(cat "$work/code" 2> /dev/null || echo none)
if [ "$code" != 0 ]; then
  echo "Windows game under Wine with the disk audio driver: exit code $code, wanted 0"
  cat "$work/game.err" "$work/session.log"
  exit 1
fi
"$support/sound_level.py" "$work/song.raw" song --seconds 20 --check -30 -14
