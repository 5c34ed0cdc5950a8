#!/bin/bash
# Screenshots of the scaled game for docs/screens: the main menu and the game
# screen (list, and a puzzle's text with its whole picture) at 1920 x 1080 and
# 3840 x 2160, a hint bought in the game (hints-game.png) and the collection narrowed by a
# filter and the statistics screen at 1920 x 1080, on Xorg with the dummy driver; then the pictures of single windows
# (dialogs, the puzzle list, the text viewer) that doc_screens saves, built beside
# the game folder. First the player selection over the menu at 800 x 600
# (player-select-new.png, player-select-continue.png); ONLY=player-select stops there.
# Usage: [SHOT_WAIT=seconds] [ONLY=player-select] scripts/screenshots.sh [game folder] [output folder]
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

# The player selection as it opens over the menu, the stage at its own size
# (full screen at 800 x 600), with a player store of its own: a new player's
# name typed, then a stored player picked to continue.
select_shot() { # name, then the command that fills the dialog
    local name=$1
    shift
    (cd "$GAME_DIR" && exec "$GAME") >/dev/null 2>&1 &
    GPID=$!
    sleep "${SHOT_WAIT:-4}"
    xdotool mousemove 396 462 click 1 # «Новая игра»
    sleep 1
    "$@"
    xdotool mousemove 1 1
    sleep 1
    import -window root "$WORK/shot.png"
    convert "$WORK/shot.png" -strip "PNG24:$OUT/$name.png"
    kill -TERM "$GPID"
    wait "$GPID"
    GPID=
}
type_new_name() { xdotool type --delay 150 "Даша"; }
pick_stored() { # «Продолжить игру», then the first name of the list
    xdotool mousemove 206 229 click 1
    sleep 0.5
    xdotool mousemove 479 261 click 1
    sleep 0.5
    xdotool key Down Return
}
xrandr --output "$OUTPUT" --mode 800x600
map_letters "Даша"
ZENTRIKA_REGISTRY=$WORK/players.sqlite3 select_shot player-select-new type_new_name
cat >"$WORK/masha.json" <<'JSON'
{"Name": "Маша", "Label Index": 3, "Level": 3, "Scores": 245, "LD": 12, "MD": 9, "HD": 4, "LU": 3, "MU": 2, "HU": 1,
 "Used Problems Info": [], "Used Problems count": 0, "Problems on Level Info": [], "Problems on Level count": 0}
JSON
ZENTRIKA_REGISTRY=$WORK/players.sqlite3 "$GAME_DIR/../bin/zentrika-profile" import "$WORK/masha.json" >/dev/null
ZENTRIKA_REGISTRY=$WORK/players.sqlite3 select_shot player-select-continue pick_stored
ls -l "$OUT"/player-select-*.png
[ "${ONLY:-}" = player-select ] && exit 0

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
