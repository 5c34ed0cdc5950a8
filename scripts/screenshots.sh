#!/bin/bash
# Screenshots of the scaled game for docs/screens: the main menu and the game
# screen (list, and a puzzle's text with its whole picture) at 1920 x 1080 and
# 3840 x 2160, a hint bought in the game (hints-game.png) and the collection narrowed by a
# filter and the statistics screen at 1920 x 1080, on Xorg with the dummy driver; then the pictures of single windows
# (dialogs, the puzzle list, the text viewer) that doc_screens saves, built beside
# the game folder.
# Usage: [SHOT_WAIT=seconds] scripts/screenshots.sh [game folder] [output folder]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
GAME_DIR=${1:-$root/build/debug/game}
OUT=${2:-$root/docs/screens}
GAME=$GAME_DIR/zentrika
XORG=$(command -v Xorg)
. "$root/tests/e2e/lib/dummy_xorg.sh"
. "$root/tests/e2e/lib/game.sh"
export XDG_CONFIG_HOME=$WORK/config ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
mkdir -p "$OUT"

shot() {  # name, then the game's options
    local name=$1
    shift
    (cd "$GAME_DIR" && exec "$GAME" "$@") >/dev/null 2>&1 &
    GPID=$!
    sleep "${SHOT_WAIT:-4}"  # longer on a busy machine or a debug build
    [ "$name" != menu ] && xdotool mousemove 1 1
    # The puzzle's text beside its whole picture.
    if [ "$name" = game-text ]; then
        xdotool key Return
        sleep 1
    fi
    # F1 and yes to the price: the first hint under the statement.
    if [ "$name" = hints-game ]; then
        xdotool key F1
        sleep 1
        xdotool key Return
    fi
    # The collection narrowed by a typed piece of a title, two of its puzzles starred.
    if [ "$name" = collection-filter ]; then
        xdotool key ctrl+f
        xdotool type --delay 150 "час"
        sleep 1
    fi
    import -window root "$WORK/shot.png"
    # A palette PNG keeps the 4K pictures small without touching a pixel's colour.
    local file=$OUT/$name-$size.png
    [ "$name" = hints-game ] && file=$OUT/$name.png
    convert "$WORK/shot.png" -strip "PNG24:$file"
    kill -TERM "$GPID"
    wait "$GPID"
    GPID=
}

for size in 1920x1080 3840x2160; do
    xrandr --output "$OUTPUT" --mode "$size"
    shot menu
    shot game --screen=game --player=Игрок
    shot game-text --screen=game --player=Игрок
    [ "$size" = 1920x1080 ] && shot hints-game --screen=game --player=Подсказчик
done
xrandr --output "$OUTPUT" --mode 1920x1080
mkdir -p "$XDG_CONFIG_HOME/zentrika"
printf '[collection]\nstars=40, 64\n' >"$XDG_CONFIG_HOME/zentrika/zentrika.conf"
map_letters "час"
size=1920x1080
shot collection-filter --screen=collection
# The statistics screen of a player with ten weeks of play.
"$root/scripts/statistics_profile.py" >"$WORK/statistics.json"
"$GAME_DIR/../bin/zentrika-profile" import "$WORK/statistics.json" >/dev/null
shot statistics --screen=statistics --player=Марина
# A memo on the collection's first picture, drawn by the end-to-end script.
ZENTRIKA_SCREEN_SHOTS=$OUT ZENTRIKA_GAME_DIR=$GAME_DIR bash "$root/tests/e2e/memo_draw.sh" >/dev/null || echo "no memo.png" >&2
ls -l "$OUT"/menu-*.png "$OUT"/game-*.png "$OUT"/statistics-*.png "$OUT"/hints-game.png "$OUT"/collection-filter-*.png "$OUT"/memo.png
xrandr --output "$OUTPUT" --mode 1024x768
shots=$GAME_DIR/../tests/shots/doc_screens
[ -x "$shots" ] || { echo "$shots is not built" >&2; exit 1; }
"$shots" "$OUT" || exit 1
