#!/bin/bash
# A new player's first steps on a real X server (Xorg with the dummy video
# driver), driven by keyboard like a person would: the menu, the player
# selection, the game screen, a wrong answer, back to the menu and out. Then
# the stored profile must show the penalty, the wrong-answer counter and the
# level list, and the display must be back in its own mode.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
SOURCE_DIR=${ZENTRIKA_SOURCE_DIR:?ZENTRIKA_SOURCE_DIR is not set}
GAME=$GAME_DIR/zentrika
PROFILE=$TOOLS_DIR/zentrika-profile
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
[ -x "$PROFILE" ] || { echo "FAIL: no zentrika-profile at $PROFILE"; exit 1; }
[ -f "$GAME_DIR/list.lst" ] || { echo "FAIL: no puzzles in $GAME_DIR"; exit 1; }

. "$(dirname "$0")/lib/game.sh"
need_x_tools xrandr xdotool

. "$(dirname "$0")/lib/dummy_xorg.sh"
fail() {
    echo "FAIL: $*"
    echo "--- game output:"
    cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null
    exit 1
}

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null 2>&1
BEFORE=$(screen_size)
[ "$BEFORE" = 1024x768 ] || fail "the server did not start at 1024x768 but $BEFORE"

# A catalogue of whole-number puzzles only, so that the first puzzle drawn
# takes a typed number and 7777 (no puzzle's answer) is wrong whatever is drawn.
DATA=$WORK/data
mkdir -p "$DATA"
ln -s "$GAME_DIR/Data" "$DATA/Data"
ln -s "$GAME_DIR/Images" "$DATA/Images"
ids=$(grep -l '^kind = "number"' "$SOURCE_DIR"/content/puzzles/*/puzzle.toml | xargs grep -h '^id = ' | sed 's/id = //')
/usr/bin/python3 - "$GAME_DIR/list.lst" "$DATA/list.lst" $ids <<'PY'
import sys
src, dst, keep = sys.argv[1], sys.argv[2], set(int(i) for i in sys.argv[3:])
data = open(src, 'rb').read().replace(b'\r\n', b'\n').split(b'\n')
out, take = [], False
for line in data:
    s = line.strip()
    if s.startswith(b'[') and s.endswith(b']'):
        try:
            take = int(s[1:-1]) in keep
        except ValueError:
            take = False
    if take:
        out.append(line)
open(dst, 'wb').write(b'\r\n'.join(out) + b'\r\n')
PY
[ "$(grep -c '^\[' "$DATA/list.lst")" -ge 5 ] || fail "too few whole-number puzzles for a level"

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
NAME=Тестер
map_letters "$NAME"

(cd "$GAME_DIR" && exec "$GAME" --video=switch --diagnostics --data "$DATA") >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
wait_first_paint "$WORK/game.out"
[ "$(screen_size)" = 800x600 ] || fail "screen is $(screen_size) while the game runs"

# The windows on screen, to see a dialog come and go.
windows() { xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | wc -l; }
# Presses keys and waits until the number of visible windows is as expected.
step() {
    local want=$1 what=$2
    shift 2
    xdotool "$@"
    SHOT=$((${SHOT:-0} + 1))
    for _ in $(seq 1 100); do
        if [ "$(windows)" = "$want" ]; then
            sleep 0.3
            # ZENTRIKA_E2E_SHOTS=folder keeps a picture of every step.
            [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/step$SHOT.png" 2>/dev/null
            return
        fi
        kill -0 "$GPID" 2>/dev/null || fail "the game ended during: $what"
        sleep 0.1
    done
    fail "$what: expected $want windows, see $(windows)"
}
sleep 0.5
MENU=$(windows)
step $((MENU + 1)) "Enter opens the player selection" key Return
# The first letter typed from outside the keyboard map can get lost while
# the map changes: type one, clear the box, then type the name.
xdotool type "${NAME:0:1}"
sleep 0.3
xdotool key ctrl+a BackSpace
xdotool type --delay 60 "$NAME"
sleep 0.3
step $((MENU + 1)) "Enter starts the game screen" key Return
step $((MENU + 1)) "Enter switches to text mode" key Return
step $((MENU + 2)) "Enter opens the answer dialog" key Return
xdotool type --delay 60 7777
step $((MENU + 2)) "Enter gives the wrong verdict" key Return
step $((MENU + 1)) "Enter closes the verdict" key Return
step $((MENU + 1)) "Escape goes back to the list" key Escape
step $((MENU + 2)) "Escape asks to leave the game" key Escape
step "$MENU" "Yes goes back to the menu" key Return
step $((MENU + 1)) "Escape asks to quit" key Escape
xdotool key Return
wait_game_exit "yes to quitting"
[ "$(screen_size)" = "$BEFORE" ] || fail "screen is $(screen_size) after the game, was $BEFORE"

"$PROFILE" show "$NAME" >"$WORK/profile.json" 2>"$WORK/profile.err" || {
    cat "$WORK/profile.err"
    fail "no stored profile for $NAME"
}
/usr/bin/python3 - "$WORK/profile.json" "$SOURCE_DIR/content/puzzles" <<'PY' || fail "the stored profile is not that of one wrong answer"
import json, sys, glob, re
p = json.load(open(sys.argv[1]))
difficulty = {}
for f in glob.glob(sys.argv[2] + '/*/puzzle.toml'):
    t = open(f, encoding='utf-8').read()
    difficulty[int(re.search(r'^id = (\d+)', t, re.M).group(1))] = int(re.search(r'^difficulty = (\d)', t, re.M).group(1))
entries = p['Problems on Level Info']
assert p['Level'] == 1, p['Level']
assert len(entries) == 5, entries                       # level 1: four easy, one medium
wrong = [e for e in entries if e['WrongAnswers']]
assert len(wrong) == 1 and wrong[0]['WrongAnswers'] == 1, entries
assert not any(e['Solved'] or e['Bought'] for e in entries), entries
d = difficulty[wrong[0]['Id']]
penalty = (4, 2, 1)[d]
assert p['Scores'] == 30 - penalty, (p['Scores'], d)
counters = {k: p[k] for k in ('LD', 'MD', 'HD', 'LU', 'MU', 'HU')}
expected = dict.fromkeys(counters, 0)
expected[('LU', 'MU', 'HU')[d]] = 1
assert counters == expected, counters
print('profile: score %d after a penalty of %d on puzzle %d' % (p['Scores'], penalty, wrong[0]['Id']))
PY

echo "PASS: a new player's first wrong answer is stored; display back at $BEFORE"
