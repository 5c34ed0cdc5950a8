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
. "$(dirname "$0")/lib/atspi_bus.sh"
if ! command -v Xvfb >/dev/null || ! atspi_available; then
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

atspi_start

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
from atspi_client import wait_for, app, find, press, open_and_cancel_player_selection, open_collection

game = wait_for('the game on the accessibility bus', app)
# The main menu's button, by name and role, pressed through its action.
open_and_cancel_player_selection(game)

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
PY
kill -0 "$GPID" 2>/dev/null || fail "the game ended during the test"
echo "PASS: a screen reader can start a game and read the collection"
