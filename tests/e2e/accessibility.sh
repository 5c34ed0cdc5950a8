#!/usr/bin/env bash
# The game as a screen reader sees it: on Xvfb, with the accessibility bus of
# its own D-Bus session, a client finds "Новая игра" by name and role and
# presses it through the accessibility interface, sees the player selection
# open with the keyboard in the name box, goes back, opens the collection and
# reads the puzzle list's rows, then starts a game and reads the game screen's
# points, level, and the selected puzzle's difficulty, bonus and price.
set -uo pipefail
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
. "$(dirname "$0")/lib/atspi_bus.sh"
atspi_session "$@"
atspi_xvfb

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
(cd / && exec "$GAME" --video=window) >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
PIDS+=($GPID)

# The catalogue as the game reads it, to compare the rows with.
"$TOOLS_DIR/zentrika-pack" list "$GAME_DIR" >"$WORK/catalogue.json" || fail "zentrika-pack list failed"

timeout 50 /usr/bin/python3 - "$WORK/catalogue.json" "$(dirname "$0")/lib" <<'PY' || fail "the accessibility client failed"
import json, sys
sys.path.insert(0, sys.argv[2])
import pyatspi
from atspi_client import wait_for, app, find, press, open_and_cancel_player_selection, open_collection, focused

game = wait_for('the game on the accessibility bus', app)
# The main menu's button, by name and role, pressed through its action; the
# dialog opens with the keyboard in the name box, so a name is typed at once.
def name_box_has_the_keyboard():
    box = wait_for('a focused control', lambda: focused(game))
    print('focused at opening: %s "%s"' % (box.getRoleName(), box.name))
    assert box.name == 'Имя пользователя', (box.getRoleName(), box.name)
    assert box.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_COMBO_BOX), box.getRoleName()
open_and_cancel_player_selection(game, name_box_has_the_keyboard)

# The collection: one list item per puzzle of the catalogue, with its state.
catalogue = json.load(open(sys.argv[1], encoding='utf-8'))
rows = open_collection(game, {p['name'] for p in catalogue})
selected = [row.name for row in rows if row.getState().contains(pyatspi.STATE_SELECTED)]
print('selected: %s' % selected)
assert len(selected) <= 1, selected

# Choosing another row through its action selects it.
target = rows[3]
press(target)
wait_for('row 4 to be selected', lambda: target.getState().contains(pyatspi.STATE_SELECTED))
print('selected through the interface: %s' % target.name)

# "решить" shows the puzzle's text, which the viewer gives out whole.
press(wait_for('"решить"', lambda: find(game, 'решить', pyatspi.ROLE_PUSH_BUTTON)))
viewer = wait_for('the text viewer', lambda: find(game, 'Текст головоломки'))
text = wait_for('the puzzle text', lambda: viewer.queryText().getText(0, -1).strip())
print('text viewer (%s): %d characters, "%s..."' % (viewer.getRoleName(), len(text), text[:40]))

# Back to the menu, and a new player's game.
press(wait_for('"назад"', lambda: find(game, 'назад', pyatspi.ROLE_PUSH_BUTTON)))
wait_for('the list again', lambda: find(game, role=pyatspi.ROLE_LIST))
press(wait_for('"назад"', lambda: find(game, 'назад', pyatspi.ROLE_PUSH_BUTTON)))
press(wait_for('"Да"', lambda: find(game, 'Да', pyatspi.ROLE_PUSH_BUTTON)))
press(wait_for('"Новая игра"', lambda: find(game, 'Новая игра', pyatspi.ROLE_PUSH_BUTTON)))
box = wait_for('the name box', lambda: (lambda f: f if f.name == 'Имя пользователя' else None)(focused(game)))
if box.getRole() == pyatspi.ROLE_COMBO_BOX:  # its text is the edit inside
    box = wait_for('the edit', lambda: pyatspi.findDescendant(box, lambda a: a is not None
                                                               and a.getRole() == pyatspi.ROLE_TEXT))
box.queryEditableText().insertText(0, 'Читатель', len('Читатель'))
wait_for('the typed name', lambda: box.queryText().getText(0, -1) == 'Читатель')
press(wait_for('"OK"', lambda: find(game, 'OK', pyatspi.ROLE_PUSH_BUTTON)))

# The game screen: every figure it shows is read, with what it is. Looked up
# afresh each time: the windows closed before leave objects behind for a while.
def described(description, role=None):
    return pyatspi.findDescendant(game, lambda a: a is not None and a.description == description
                                  and (role is None or a.getRole() == role)
                                  and a.getState().contains(pyatspi.STATE_SHOWING))
def read(*descriptions, role=None):
    # None until the screen has them: the waits below poll for it.
    found = [described(d, role) for d in descriptions]
    return None if None in found else tuple(a.name for a in found)
# A new player's: read once the screen has filled them in.
wait_for('30 points and level 1', lambda: read('Очки', 'Уровень', role=pyatspi.ROLE_LABEL) == ('30', '1'))
print('points and level: %s' % (read('Очки', 'Уровень', role=pyatspi.ROLE_LABEL),))
# The level's list: its rows tell the player's progress, the collection's do not.
puzzles = wait_for('the level', lambda: pyatspi.findDescendant(
    game, lambda a: a is not None and a.getRole() == pyatspi.ROLE_LIST and a.childCount > 0
    and a.getState().contains(pyatspi.STATE_SHOWING) and 'решена' in a[0].description))
chosen = wait_for('the selected puzzle', lambda: [r for r in puzzles
                                                 if r.getState().contains(pyatspi.STATE_SELECTED)])[0]
grade = chosen.description.rsplit('сложность: ', 1)[1]
bonus, price = {'лёгкая': (10, 20), 'средняя': (20, 30), 'сложная': (30, 40)}[grade]
expected = (grade, '%d очков' % bonus, '%d очков' % price)
facts = ('Сложность головоломки', 'Бонус за решение', 'Посмотреть ответ')
wait_for('the facts %s' % (expected,), lambda: read(*facts, role=pyatspi.ROLE_IMAGE) == expected)
print('"%s" (%s): %s' % (chosen.name, chosen.description, dict(zip(facts, expected))))
PY
kill -0 "$GPID" 2>/dev/null || fail "the game ended during the test"
echo "PASS: a screen reader can read the collection, start a game and read its figures"
