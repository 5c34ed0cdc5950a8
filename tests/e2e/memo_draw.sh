#!/usr/bin/env bash
# A memo on a puzzle's picture as a player draws it: the collection in a window
# on Xorg (dummy driver) under openbox; «заметки» pressed, a line dragged over
# the picture with the mouse, F2 ends the drawing. The window is resized and
# the line is found on the same spot of the picture (then a red ring), pixels compared in the
# picture's own coordinates with what the picture showed there before. Through
# the accessibility interface «заметки» is a named push button that says the
# memo holds drawings.
set -uo pipefail
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
. "$(dirname "$0")/lib/game.sh"
need_x_tools xrandr xdotool xprop import openbox
. "$(dirname "$0")/lib/atspi_bus.sh"
atspi_session "$@"

. "$(dirname "$0")/lib/dummy_xorg.sh"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; cleanup' EXIT
fail() { echo "FAIL: $*"; echo "--- game output:"; tail -40 "$WORK/game.out" "$WORK/game.err" 2>/dev/null; exit 1; }
export XDG_CONFIG_HOME=$WORK/config ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
SHOTS=${ZENTRIKA_E2E_SHOTS:-}

# Room for the larger window with openbox's frame.
xrandr --output "$(xrandr | awk '/ connected/ {print $1; exit}')" --mode 1920x1080 >/dev/null 2>&1
start_openbox
PIDS+=("$WMPID")
atspi_start

(cd "$GAME_DIR" && exec "$GAME" --diagnostics --video=window) >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
wait_first_paint "$WORK/game.out"

# A resize, and the picture settled at the new size.
resize_settled() { # width height
    resize_window "$1" "$2"
    sleep 0.5
    report
}
# A point of the puzzle's 440 x 460 picture on the screen: the picture box
# stands at 355, 80 of the 800 x 600 board.
at() { # picture x, picture y
    local w h x y
    IFS='x+' read -r w h x y <<<"$(value picture)"
    echo $((x + (355 + $1) * w / 800)) $((y + (80 + $2) * h / 600))
}
# Drags with button 1 held through the picture's points, one "x y" a line on
# stdin: pressed at the first, released after the last.
drag() {
    local px py mx my pressed=
    while read -r px py; do
        read -r mx my <<<"$(at "$px" "$py")"
        if [ -z "$pressed" ]; then
            xdotool mousemove "$mx" "$my" mousedown 1
            pressed=1
        else
            xdotool mousemove "$mx" "$my"
            sleep 0.02
        fi
    done
    xdotool mouseup 1
    sleep 0.3
}
shot() { import -window root "$WORK/$1.png"; [ -n "$SHOTS" ] && cp "$WORK/$1.png" "$SHOTS/memo-$1.png"; }
pixel() { # shot, picture x, picture y
    local p
    read -r px py <<<"$(at "$2" "$3")"
    p=$(convert "$WORK/$1.png" -crop "1x1+$px+$py" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | tail -1)
    echo "$p"
}
# The pen's dark ink, give or take antialiasing.
is_ink() { read -r r g b <<<"$1"; [ "$r" -lt 90 ] && [ "$g" -lt 90 ] && [ "$b" -lt 110 ]; }
same() { # two pixels within a few levels
    read -r r1 g1 b1 <<<"$1"; read -r r2 g2 b2 <<<"$2"
    [ $(((r1 - r2) ** 2 + (g1 - g2) ** 2 + (b1 - b2) ** 2)) -le 300 ]
}

wait_top MainForm
click_control GolovolomkiButton
wait_top ProblemsForm
# Spots of the picture's empty top: on the line, and beside it above and below.
spots=("200 50" "200 38" "200 62" "120 50")
resize_settled 1000 750
shot large-before
resize_settled 800 600
shot small-before
for s in "${spots[@]}"; do
    is_ink "$(pixel small-before $s)" && fail "the picture is dark at ($s), where the line is looked for"
done

# «заметки», then a line from (100, 50) to (300, 50) of the picture.
report
click_control MemoButton
sleep 0.5
for px in $(seq 100 10 300); do echo "$px 50"; done | drag
xdotool key F2
sleep 0.5
shot small-after

check() { # size name
    is_ink "$(pixel "$1-after" 200 50)" || fail "$1: no line at the picture's (200, 50): $(pixel "$1-after" 200 50)"
    is_ink "$(pixel "$1-after" 120 50)" || fail "$1: no line at the picture's (120, 50)"
    for s in "200 38" "200 62"; do
        same "$(pixel "$1-before" $s)" "$(pixel "$1-after" $s)" ||
            fail "$1: the picture changed at ($s) beside the line: $(pixel "$1-before" $s) -> $(pixel "$1-after" $s)"
    done
}
check small
resize_settled 1000 750
shot large-after
check large

# In red, a ring round the apple of the first scale; ZENTRIKA_SCREEN_SHOTS
# keeps the window as the manual's picture (scripts/screenshots.sh).
resize_settled 800 600
xdotool key F2
sleep 0.3
report
click_control MemoRed
sleep 0.2
{
    echo 329 130
    for a in $(seq 0 12 372); do
        /usr/bin/python3 -c "import math; print(round(295 + 34 * math.cos(math.radians($a))), round(130 + 30 * math.sin(math.radians($a))))"
    done
} | drag
shot red
read -r r g b <<<"$(pixel red 329 130)"
[ "$r" -gt 150 ] && [ "$g" -lt 100 ] || fail "no red ring at the picture's (329, 130): $r $g $b"
if [ -n "${ZENTRIKA_SCREEN_SHOTS:-}" ]; then
    IFS='x+' read -r w h x y <<<"$(value picture)"
    convert "$WORK/red.png" -crop "${w}x${h}+$x+$y" +repage -strip "PNG24:$ZENTRIKA_SCREEN_SHOTS/memo.png"
fi

# Escape while drawing ends the drawing only; the screen stays.
xdotool key Escape
sleep 0.5
wait_top ProblemsForm

timeout 40 /usr/bin/python3 - "$(dirname "$0")/lib" <<'PY' || fail "the accessibility client failed"
import sys
sys.path.insert(0, sys.argv[1])
import pyatspi
from atspi_client import wait_for, app, find

game = wait_for('the game on the bus', app)
button = wait_for('«заметки» as a push button', lambda: find(game, 'заметки', pyatspi.ROLE_PUSH_BUTTON))
if button.description != 'есть рисунки':
    sys.exit('«заметки» says %r, not «есть рисунки»' % button.description)
PY
kill -TERM "$GPID"
wait "$GPID" 2>/dev/null
GPID=
echo "PASS"
