#!/usr/bin/env bash
# The game as a screen reader sees it: on Xvfb, with the accessibility bus of
# its own D-Bus session, a client finds "Новая игра" by name and role and
# presses it through the accessibility interface, sees the player selection
# open, goes back, opens the collection and reads the puzzle list's rows.
set -uo pipefail
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
LAUNCHER=/usr/libexec/at-spi-bus-launcher
REGISTRYD=/usr/libexec/at-spi2-registryd
if ! command -v Xvfb >/dev/null || ! command -v dbus-run-session >/dev/null || [ ! -x "$LAUNCHER" ] ||
    [ ! -x "$REGISTRYD" ] || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: Xvfb, dbus-run-session, at-spi2-core or python3-pyatspi is not installed"
    exit 77
fi

# A session bus of our own, so that nothing of the desktop's is touched.
if [ -z "${ZENTRIKA_A11Y_SESSION:-}" ]; then
    ZENTRIKA_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

WORK=$(mktemp -d)
PIDS=()
cleanup() {
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- game output:"
    cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb

"$LAUNCHER" --launch-immediately >"$WORK/launcher.log" 2>&1 &
PIDS+=($!)
# The registry answers on the accessibility bus the launcher made.
A11Y=
for _ in $(seq 100); do
    A11Y=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null |
        tr -d ' ')
    [ -n "$A11Y" ] && break
    sleep 0.1
done
[ -n "$A11Y" ] || fail "the accessibility bus did not start: $(cat "$WORK/launcher.log")"
AT_SPI_BUS_ADDRESS=$A11Y "$REGISTRYD" >"$WORK/registryd.log" 2>&1 &
PIDS+=($!)

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
(cd / && exec "$GAME" --video=window) >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
PIDS+=($GPID)

# The catalogue as the game reads it, to compare the rows with.
"$TOOLS_DIR/zentrika-pack" list "$GAME_DIR" >"$WORK/catalogue.json" || fail "zentrika-pack list failed"

timeout 50 /usr/bin/python3 - "$WORK/catalogue.json" <<'PY' || fail "the accessibility client failed"
import json, sys, time
import pyatspi

def wait_for(what, find, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = find()
        except Exception:
            found = None
        if found:
            return found
        time.sleep(0.2)
    sys.exit("not found within %d s: %s" % (seconds, what))

def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for a in desktop:
        if a is not None and (a.name or '').lower() == 'zentrika':
            return a
    return None

def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)

def find(root, name=None, role=None):
    def match(acc):
        return (acc is not None and (name is None or acc.name == name)
                and (role is None or acc.getRole() == role) and showing(acc))
    return pyatspi.findDescendant(root, match)

def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index('press') if 'press' in names else 0)

game = wait_for('the game on the accessibility bus', app)

# The main menu's button, by name and role, pressed through its action.
new_game = wait_for('"Новая игра" as a push button', lambda: find(game, 'Новая игра', pyatspi.ROLE_PUSH_BUTTON))
press(new_game)
# The player selection: its radio buttons and the name box.
wait_for('the player selection', lambda: find(game, 'Продолжить игру', pyatspi.ROLE_RADIO_BUTTON))
wait_for('the name box', lambda: find(game, 'Имя пользователя', pyatspi.ROLE_COMBO_BOX))
print('player selection opened')
press(wait_for('"Назад"', lambda: find(game, 'Назад', pyatspi.ROLE_PUSH_BUTTON)))
wait_for('the player selection to close',
         lambda: find(game, 'Продолжить игру', pyatspi.ROLE_RADIO_BUTTON) is None or None)

# The collection: one list item per puzzle of the catalogue, with its state.
press(wait_for('"Головоломки"', lambda: find(game, 'Головоломки', pyatspi.ROLE_PUSH_BUTTON)))
puzzles = wait_for('the puzzle list', lambda: find(game, role=pyatspi.ROLE_LIST))
catalogue = json.load(open(sys.argv[1], encoding='utf-8'))
titles = {p['name'] for p in catalogue}
rows = wait_for('the rows', lambda: puzzles.childCount == len(catalogue) and list(puzzles))
selected = []
for row in rows:
    assert row.getRole() == pyatspi.ROLE_LIST_ITEM, row.getRoleName()
    assert row.name in titles, row.name
    assert row.description.startswith('сложность: '), row.description
    if row.getState().contains(pyatspi.STATE_SELECTED):
        selected.append(row.name)
print('%d rows, e.g. "%s" (%s); selected: %s' % (len(rows), rows[0].name, rows[0].description, selected))
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
PY
kill -0 "$GPID" 2>/dev/null || fail "the game ended during the test"
echo "PASS: a screen reader can start a game and read the collection"
