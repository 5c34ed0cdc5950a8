#!/bin/bash
# The statistics of a game really played, on Xorg with the dummy driver under
# openbox: a player answers two puzzles right and one wrong and buys one
# solution, and leaves the game; the game is started again, and «Новая игра»,
# the stored player and «статистика» open the player's statistics. A client
# reads its figures through the accessibility interface and compares them with
# `zentrika-profile stats --json`.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
PACK=$TOOLS_DIR/zentrika-pack
PROFILE=$TOOLS_DIR/zentrika-profile
. "$(dirname "$0")/lib/game.sh"
need_programs "$GAME" "$PACK" "$PROFILE"
need_x_tools xdotool xprop openbox
. "$(dirname "$0")/lib/atspi_bus.sh"
atspi_session "$@"

. "$(dirname "$0")/lib/dummy_xorg.sh"
start_reader_desktop

# Five easy puzzles on the player's level, so that the level is not done
# after three; their answers are what the pack tool reads back.
SRC=$WORK/src
for id in 951 952 953 954 955; do
    mkdir -p "$SRC/$id"
    cat >"$SRC/$id/puzzle.toml" <<TOML
id = $id
title = "Задача $id"
difficulty = 0
kind = "number"
answer = $((id - 940))
question = "Сколько? Введите число."
statement = """
Сколько будет $((id - 941)) и ещё один?
"""
solution = """
Ответ: **$((id - 940))**.
"""
TOML
    cat >"$SRC/$id/picture.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460"><circle cx="220" cy="230" r="150" fill="#efd"/></svg>
SVG
done
"$PACK" build "$SRC" "$WORK/pack" >"$WORK/pack.out" 2>&1 || { cat "$WORK/pack.out"; fail "the test pack did not build"; }
fallback_font
answer() { # puzzle id
    "$PACK" dump "$WORK/pack/Data/$1.dat" 2>/dev/null | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["answer"])'
}
ANSWERS=
for id in 951 952 953 954 955; do
    a=$(answer $id)
    [ -n "$a" ] || fail "zentrika-pack dump gave no answer of $id"
    ANSWERS="$ANSWERS\"Задача $id\": \"$a\", "
done

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
NAME=Оля
cat >"$WORK/player.json" <<JSON
{"Name": "$NAME", "Scores": 30, "Level": 1, "Label Index": 2, "LD": 0, "MD": 0, "HD": 0, "LU": 0, "MU": 0, "HU": 0,
 "Used Problems count": 5, "Used Problems Info": [951, 952, 953, 954, 955],
 "Problems on Level count": 5, "Problems on Level Info": [
   {"Id": 951, "Solved": 0, "Bought": 0, "WrongAnswers": 0}, {"Id": 952, "Solved": 0, "Bought": 0, "WrongAnswers": 0},
   {"Id": 953, "Solved": 0, "Bought": 0, "WrongAnswers": 0}, {"Id": 954, "Solved": 0, "Bought": 0, "WrongAnswers": 0},
   {"Id": 955, "Solved": 0, "Bought": 0, "WrongAnswers": 0}]}
JSON
"$PROFILE" import "$WORK/player.json" >/dev/null || fail "the player could not be imported"

# ---- the game: right, right, wrong, a solution bought; then back to the menu ----
(cd "$WORK" && exec "$GAME" --video=window --diagnostics --data "$WORK/pack" --screen=game --player="$NAME") \
    >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
timeout 150 /usr/bin/python3 - "$(dirname "$0")/lib" <<PY || fail "the short game could not be played"
import subprocess, sys, time
sys.path.insert(0, sys.argv[1])
import pyatspi
from atspi_client import wait_for, app, find, press

answers = {$ANSWERS}
game = wait_for('the game on the accessibility bus', app, 40)
def button(name):
    return wait_for('"%s" as a push button' % name, lambda: find(game, name, pyatspi.ROLE_PUSH_BUTTON), 30)
def points():
    label = pyatspi.findDescendant(game, lambda a: a is not None and a.description == 'Очки'
                                   and a.getRole() == pyatspi.ROLE_LABEL)
    return int(label.name) if label and label.name else None
def choose(title):
    # From the text of a puzzle «назад» leads back to the list.
    for _ in range(10):
        if find(game, role=pyatspi.ROLE_LIST):
            break
        back = find(game, 'назад', pyatspi.ROLE_PUSH_BUTTON)
        if back:
            press(back)
        time.sleep(0.5)
    row = wait_for('the row of ' + title, lambda: find(game, title, pyatspi.ROLE_LIST_ITEM))
    press(row)
    wait_for(title + ' chosen', lambda: row.getState().contains(pyatspi.STATE_SELECTED))
def reply(title, typed):
    choose(title)
    press(button('решить'))
    press(button('ответить'))
    time.sleep(1)
    subprocess.run(['xdotool', 'type', '--delay', '60', typed], check=True)
    subprocess.run(['xdotool', 'key', 'Return'], check=True)
    press(wait_for('the verdict', lambda: find(game, 'Ok', pyatspi.ROLE_PUSH_BUTTON)))
    wait_for('the verdict closed', lambda: find(game, 'Ok', pyatspi.ROLE_PUSH_BUTTON) is None)

wait_for('30 points', lambda: points() == 30)
reply('Задача 951', answers['Задача 951'])
reply('Задача 952', answers['Задача 952'])
right = points()
assert right > 30, right
reply('Задача 953', str(int(answers['Задача 953']) + 1))
choose('Задача 954')
press(button('посмотреть ответ'))
wait_for('the price question', lambda: pyatspi.findDescendant(game, lambda a: a is not None and
         'посмотреть ответ за 20 очков' in (a.name or '') + (a.description or '')))
press(button('Да'))
press(wait_for('the solution', lambda: find(game, 'OK', pyatspi.ROLE_PUSH_BUTTON)))
wait_for('the solution closed', lambda: find(game, 'OK', pyatspi.ROLE_PUSH_BUTTON) is None)
print('points: %s after two right answers, %s in the end' % (right, points()))
# Back to the menu, and out of the game.
time.sleep(0.5)
press(button('назад'))
press(wait_for('the leave question', lambda: find(game, 'Да', pyatspi.ROLE_PUSH_BUTTON)))
PY
wait_game_exit "leaving the game"

"$PROFILE" stats "$NAME" --json >"$WORK/stats.json" || fail "zentrika-profile stats failed"

# ---- the statistics screen, as a player opens it: «Новая игра», the player, «статистика» ----
(cd "$WORK" && exec "$GAME" --video=window --data "$WORK/pack") >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
timeout 60 /usr/bin/python3 - "$(dirname "$0")/lib" "$NAME" <<'PY' || fail "the statistics screen could not be opened from the player selection"
import subprocess, sys, time
sys.path.insert(0, sys.argv[1])
import pyatspi
from atspi_client import wait_for, app, find, focused, press

name = sys.argv[2]
game = wait_for('the game on the accessibility bus', app, 40)
press(wait_for('"Новая игра"', lambda: find(game, 'Новая игра', pyatspi.ROLE_PUSH_BUTTON)))
press(wait_for('"Продолжить игру"', lambda: find(game, 'Продолжить игру', pyatspi.ROLE_RADIO_BUTTON)))
box = wait_for('the list of stored players', lambda: find(game, 'Имя пользователя', pyatspi.ROLE_COMBO_BOX))
stats = wait_for('"статистика"', lambda: find(game, 'статистика', pyatspi.ROLE_PUSH_BUTTON))
assert not stats.getState().contains(pyatspi.STATE_ENABLED), 'statistics of nobody offered'
# The only stored player is the first line of the list: a click opens it,
# Down and Enter pick the line.
x, y, w, h = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(['xdotool', 'mousemove', str(x + w // 2), str(y + h // 2), 'click', '1'], check=True)
time.sleep(0.7)
subprocess.run(['xdotool', 'key', '--delay', '200', 'Down', 'Return'], check=True)
wait_for(name + ' chosen', lambda: stats.getState().contains(pyatspi.STATE_ENABLED))
assert pyatspi.findDescendant(game, lambda a: a is not None and a.getRole() == pyatspi.ROLE_LABEL
                              and a.description == 'Уровень' and a.name == '1'), 'the player is not shown'
press(stats)
print('the statistics opened from the player selection')
PY
timeout 50 /usr/bin/python3 "$(dirname "$0")/lib/statistics_read.py" "$WORK/stats.json" ||
    fail "the accessibility client failed"
echo "PASS: a short game played; the statistics screen's figures, read through the accessibility interface, match zentrika-profile stats"
