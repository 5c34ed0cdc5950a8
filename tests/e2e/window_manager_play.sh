#!/bin/bash
# The game under a window manager (openbox on Xorg with the dummy driver), as
# a player meets it:
# - in switch mode another window taking the foreground minimises the game and
#   gives the display its own mode back; coming back retakes 800 x 600;
# - one puzzle is played from the menu to the verdict with the keyboard only,
#   its time typed with colons;
# - the next puzzle is chosen with the arrow keys, its time typed with a
#   one-digit hour, and ОК clicked with the mouse.
# The stored profile must then show both puzzles solved.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
PACK=$TOOLS_DIR/zentrika-pack
PROFILE=$TOOLS_DIR/zentrika-profile

. "$(dirname "$0")/lib/game.sh"
need_programs "$GAME" "$PACK" "$PROFILE"
need_x_tools xrandr xdotool xprop openbox xlogo

. "$(dirname "$0")/lib/dummy_xorg.sh"
WMPID=
LOGOPID=
stop_all() {
    [ -n "$LOGOPID" ] && kill "$LOGOPID" 2>/dev/null
    [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null
    cleanup
}
trap stop_all EXIT
fail() {
    echo "FAIL: $*"
    [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/failure.png" 2>/dev/null
    echo "--- game output:"
    cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null
    exit 1
}

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null 2>&1
[ "$(screen_size)" = 1024x768 ] || fail "the server did not start at 1024x768 but $(screen_size)"

start_openbox

# Two easy time puzzles with one answer, so that whichever the draw puts
# first, 7:40:00 is right.
SRC=$WORK/src
for id in 901 902; do
    mkdir -p "$SRC/$id"
    cat >"$SRC/$id/puzzle.toml" <<TOML
id = $id
title = "Часы $id"
difficulty = 0
kind = "time"
answer = "7:40:00"
question = "Который час? Введите время в формате Ч:ММ:СС."
statement = """
Часы показывают без двадцати восемь утра. Который час?
"""
solution = """
Ответ: **7:40:00**.
"""
TOML
    cat >"$SRC/$id/picture.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460"><circle cx="220" cy="230" r="150" fill="#fde"/></svg>
SVG
done
"$PACK" build "$SRC" "$WORK/pack" >"$WORK/pack.out" 2>&1 || { cat "$WORK/pack.out"; fail "the test pack did not build"; }

fallback_font

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
NAME=Часовщик
map_letters "$NAME"
(cd "$WORK" && exec "$GAME" --video=switch --diagnostics --data "$WORK/pack") >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
wait_first_paint "$WORK/game.out"
[ "$(screen_size)" = 800x600 ] || fail "screen is $(screen_size) while the game runs"
MENU_WIN=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -1)
[ -n "$MENU_WIN" ] || fail "no game window"

shot() { [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/$1.png" 2>/dev/null; return 0; }
iconic() { xprop -id "$MENU_WIN" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
size_is() { [ "$(screen_size)" = "$1" ]; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# Waits up to two seconds for a condition.
until_true() {
    for _ in $(seq 1 20); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# ---- switch mode: leaving the foreground and coming back ----
xlogo -geometry 200x200+10+10 >/dev/null 2>&1 &
LOGOPID=$!
LOGO_WIN=
for _ in $(seq 1 50); do
    LOGO_WIN=$(xdotool search --onlyvisible --class xlogo 2>/dev/null | head -1)
    [ -n "$LOGO_WIN" ] && break
    sleep 0.1
done
[ -n "$LOGO_WIN" ] || fail "no xlogo window"
xdotool windowactivate "$LOGO_WIN" 2>/dev/null
until_true iconic || fail "the game did not minimise when another window was activated"
until_true size_is 1024x768 || fail "the display stayed at $(screen_size) with the game minimised"
sleep 1
iconic || fail "the game came back by itself"
[ "$(xdotool getactivewindow 2>/dev/null)" = "$LOGO_WIN" ] || fail "the other window lost the foreground to the game"
shot switch-away
xdotool windowactivate "$MENU_WIN" 2>/dev/null
until_true size_is 800x600 || fail "coming back did not retake 800x600 but $(screen_size)"
until_true active_is "$MENU_WIN" || fail "the game did not come back to the foreground"
placed() { xdotool getwindowgeometry "$MENU_WIN" 2>/dev/null | grep -q 'Position: 0,0'; }
until_true placed || fail "the game is not back at the screen's corner: $(xdotool getwindowgeometry "$MENU_WIN")"
# An iconify request on the game's own window does the same.
xdotool windowminimize "$MENU_WIN" 2>/dev/null
until_true iconic || fail "the game did not minimise on an iconify request"
until_true size_is 1024x768 || fail "the display stayed at $(screen_size) after the iconify request"
sleep 1
iconic || fail "the game came back by itself after the iconify request"
xdotool windowactivate "$MENU_WIN" 2>/dev/null
until_true size_is 800x600 || fail "coming back after the iconify request left $(screen_size)"
kill "$LOGOPID" 2>/dev/null
LOGOPID=
sleep 0.5
# Whatever the window manager did, the focus goes back to the menu window.
xdotool windowactivate --sync "$MENU_WIN" 2>/dev/null
sleep 0.3

# ---- keyboard only, from the menu to the verdict ----
windows() { xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | wc -l; }
step() {
    local want=$1 what=$2
    shift 2
    "$@"
    for _ in $(seq 1 100); do
        if [ "$(windows)" = "$want" ]; then
            sleep 0.3
            shot "$(echo "$what" | tr -c 'a-zA-Z0-9\n' '-')"
            return
        fi
        kill -0 "$GPID" 2>/dev/null || fail "the game ended during: $what"
        sleep 0.1
    done
    fail "$what: expected $want windows, see $(windows)"
}
MENU=$(windows)
step $((MENU + 1)) "Enter opens the player selection" xdotool key Return
xdotool type "${NAME:0:1}"
sleep 0.3
xdotool key ctrl+a BackSpace
xdotool type --delay 40 "$NAME"
sleep 0.3
step $((MENU + 1)) "Enter starts the game screen" xdotool key Return
step $((MENU + 1)) "Enter shows the text" xdotool key Return
step $((MENU + 2)) "Enter opens the answer dialog" xdotool key Return
xdotool type --delay 40 "07:40:00"
step $((MENU + 2)) "Enter gives the verdict" xdotool key Return
step $((MENU + 1)) "Enter closes the verdict" xdotool key Return

# ---- the next puzzle: arrow key, one-digit hour, ОК by mouse ----
step $((MENU + 1)) "Down picks the next puzzle" xdotool key Down
step $((MENU + 1)) "Enter shows its text" xdotool key Return
step $((MENU + 2)) "Enter opens its answer dialog" xdotool key Return
xdotool type --delay 40 "7:40:00"
sleep 0.2
DIALOG=$(xdotool getactivewindow 2>/dev/null)
eval "$(xdotool getwindowgeometry --shell "$DIALOG" 2>/dev/null)"
[ "${WIDTH:-0}" = 376 ] || fail "the active window is not the answer dialog (${WIDTH:-?} wide)"
# ОК sits at 297, 148 (65 x 22) in the dialog.
step $((MENU + 2)) "A click on OK gives the verdict" xdotool mousemove $((X + 329)) $((Y + 159)) click 1
step $((MENU + 2)) "Enter closes the verdict and the level is done" xdotool key Return
# The verdict and the notice that no new puzzles are left share one box:
# give the second its time to come up.
sleep 0.7
step $((MENU + 1)) "Enter closes the notice" xdotool key Return
step $((MENU + 2)) "Escape asks to leave the game" xdotool key Escape
step "$MENU" "Yes goes back to the menu" xdotool key Return
step $((MENU + 1)) "Escape asks to quit" xdotool key Escape
xdotool key Return
wait_game_exit "yes to quitting"
[ "$(screen_size)" = 1024x768 ] || fail "screen is $(screen_size) after the game"

"$PROFILE" show "$NAME" >"$WORK/profile.json" 2>"$WORK/profile.err" || {
    cat "$WORK/profile.err"
    fail "no stored profile for $NAME"
}
/usr/bin/python3 - "$WORK/profile.json" <<'PY' || fail "the stored profile does not show both puzzles solved"
import json, sys
p = json.load(open(sys.argv[1]))
entries = p['Problems on Level Info']
assert sorted(e['Id'] for e in entries) == [901, 902], entries
assert all(e['Solved'] and not e['WrongAnswers'] for e in entries), entries
assert p['Scores'] == 50, p['Scores']
PY

echo "PASS: switch mode leaves and retakes the display; a time typed with colons, by keys and by a click on ОК"
