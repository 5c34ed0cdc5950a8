#!/bin/bash
# Hints as a player meets them, on Xorg with the dummy driver under openbox,
# read and pressed through the accessibility interface as a screen reader would:
# - a game: «подсказка» is a named push button; F1 buys hint 1 for 5 points and
#   the button hint 2 for 5 more, each after the price question, and both
#   appear under the statement;
# - the game again: both hints are shown without a question or a charge, and a
#   right answer earns the whole bonus;
# - the collection: every hint of another puzzle, one a press, free.
# The stored profile must show the hints bought and the scores at each step.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
PACK=$TOOLS_DIR/zentrika-pack
PROFILE=$TOOLS_DIR/zentrika-profile
. "$(dirname "$0")/lib/game.sh"
need_programs "$GAME" "$PACK" "$PROFILE"
need_x_tools xdotool xprop openbox xmodmap
. "$(dirname "$0")/lib/atspi_bus.sh"
atspi_session "$@"

. "$(dirname "$0")/lib/dummy_xorg.sh"
start_reader_desktop

# Two puzzles on the player's level (easy 931, answer 5; medium 932) and one
# more for the collection (933), three hints each.
SRC=$WORK/src
for id in 931 932 933; do
    mkdir -p "$SRC/$id"
    difficulty=0
    [ $id = 932 ] && difficulty=1
    cat >"$SRC/$id/puzzle.toml" <<TOML
id = $id
title = "Счёт $id"
difficulty = $difficulty
kind = "number"
answer = 5
question = "Сколько? Введите число."
statement = """
Сколько пальцев на руке у героя загадки $id?
"""
solution = """
Ответ: **5**.
"""
hints = [
  "Первая подсказка к $id: посмотрите на свою руку.",
  "Вторая подсказка к $id: посчитайте пальцы.",
  "Третья подсказка к $id: больше четырёх, меньше шести.",
]
TOML
    cat >"$SRC/$id/picture.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460"><circle cx="220" cy="230" r="150" fill="#fde"/></svg>
SVG
done
"$PACK" build "$SRC" "$WORK/pack" >"$WORK/pack.out" 2>&1 || { cat "$WORK/pack.out"; fail "the test pack did not build"; }
fallback_font

# The player, stored as the profile tool imports one: the level is known.
export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
NAME=Podskazka
cat >"$WORK/player.json" <<JSON
{"Name": "$NAME", "Scores": 30, "Level": 1, "Label Index": 1, "LD": 0, "MD": 0, "HD": 0, "LU": 0, "MU": 0, "HU": 0,
 "Used Problems count": 2, "Used Problems Info": [931, 932],
 "Problems on Level count": 2, "Problems on Level Info": [
   {"Id": 931, "Solved": 0, "Bought": 0, "WrongAnswers": 0}, {"Id": 932, "Solved": 0, "Bought": 0, "WrongAnswers": 0}]}
JSON
"$PROFILE" import "$WORK/player.json" >/dev/null || fail "the player could not be imported"

# The game on one screen; the client given as the rest of the arguments drives it.
play() { # screen, what, client code
    local screen=$1 what=$2 code=$3
    local args=(--video=window --diagnostics --data "$WORK/pack" --screen="$screen")
    [ "$screen" = game ] && args+=(--player="$NAME")
    : >"$WORK/game.out"
    (cd "$WORK" && exec "$GAME" "${args[@]}") >"$WORK/game.out" 2>"$WORK/game.err" &
    GPID=$!
    timeout 120 /usr/bin/python3 - "$(dirname "$0")/lib" <<PY || fail "$what"
import subprocess, sys, time
sys.path.insert(0, sys.argv[1])
import pyatspi
from atspi_client import wait_for, app, find, press

game = wait_for('the game on the accessibility bus', app, 40)
def button(name):
    return wait_for('"%s" as a push button' % name, lambda: find(game, name, pyatspi.ROLE_PUSH_BUTTON), 30)
def enabled(acc):
    return acc.getState().contains(pyatspi.STATE_ENABLED)
def text():
    viewer = find(game, 'Текст головоломки')
    return viewer.queryText().getText(0, -1) if viewer else ''
def points():
    label = pyatspi.findDescendant(game, lambda a: a is not None and a.description == 'Очки'
                                   and a.getRole() == pyatspi.ROLE_LABEL)
    return int(label.name) if label and label.name else None
def key(*keys):
    # Keys go to the game's window, which openbox keeps active.
    subprocess.run(['xdotool', 'key', '--delay', '60'] + list(keys), check=True)
def leave():
    # From the list: the leave question.
    wait_for('the list', lambda: find(game, role=pyatspi.ROLE_LIST))
    time.sleep(0.5)
    press(button('назад'))
    wait_for('the leave question', lambda: find(game, 'Да', pyatspi.ROLE_PUSH_BUTTON))
    press(button('Да'))
$code
PY
    wait_game_exit "leaving the screen"
    "$PROFILE" export "$NAME" >"$WORK/profile.json" 2>/dev/null || fail "no profile after: $what"
}

stored() { # python expression on the exported profile p
    /usr/bin/python3 -c "import json,sys; p=json.load(open(sys.argv[1])); print($1)" "$WORK/profile.json"
}

play game "buying two hints failed" '
hint = button("подсказка")
print("«подсказка»: %s, %s" % (hint.getRoleName(), "enabled" if enabled(hint) else "disabled"))
assert enabled(hint)
wait_for("30 points", lambda: points() == 30)
key("F1")
ask = wait_for("the price of hint 1", lambda: find(game, "Да", pyatspi.ROLE_PUSH_BUTTON))
assert pyatspi.findDescendant(game, lambda a: a is not None and "подсказку за 5 очков" in (a.name or "") + (a.description or "")), "no price question"
press(ask)
wait_for("hint 1 under the statement", lambda: "Подсказка 1." in text() and "Первая подсказка к 931" in text())
wait_for("25 points", lambda: points() == 25)
press(button("подсказка"))
press(wait_for("the price of hint 2", lambda: find(game, "Да", pyatspi.ROLE_PUSH_BUTTON)))
wait_for("hint 2 under the statement", lambda: "Вторая подсказка к 931" in text())
wait_for("20 points", lambda: points() == 20)
assert "Третья подсказка" not in text(), text()
print("hints read through the text viewer:", [l for l in text().splitlines() if "подсказка" in l.lower()])
press(button("назад"))
leave()
'
[ "$(stored '(p["Scores"], [(e["Id"], e["Hints"]) for e in p["Hints Bought Info"]])')" = "(20, [(931, 2)])" ] ||
    fail "the stored profile after buying: $(cat "$WORK/profile.json")"

play game "the hints were not kept, or the bonus was not whole" '
wait_for("20 points", lambda: points() == 20)
press(button("решить"))
wait_for("both hints, free", lambda: "Первая подсказка к 931" in text() and "Вторая подсказка к 931" in text())
assert find(game, "Да", pyatspi.ROLE_PUSH_BUTTON) is None, "a question came up"
assert points() == 20, points()
press(button("ответить"))
time.sleep(1)
key("5", "Return")
press(wait_for("the verdict", lambda: find(game, "Ok", pyatspi.ROLE_PUSH_BUTTON)))
wait_for("30 points: 20 and the whole bonus of 10", lambda: points() == 30)
leave()
'
[ "$(stored 'p["Scores"], p["Problems on Level Info"][0]["Solved"]')" = "30 1" ] ||
    fail "the stored profile after the answer: $(cat "$WORK/profile.json")"

play collection "the collection did not show every hint free" '
row = wait_for("the row of 933", lambda: find(game, "Счёт 933", pyatspi.ROLE_LIST_ITEM))
press(row)
wait_for("933 chosen", lambda: row.getState().contains(pyatspi.STATE_SELECTED))
hint = button("подсказка")
for n, word in ((1, "Первая"), (2, "Вторая"), (3, "Третья")):
    press(hint)
    wait_for("hint %d" % n, lambda: "%s подсказка к 933" % word in text() and "Подсказка %d." % n in text())
    assert find(game, "Да", pyatspi.ROLE_PUSH_BUTTON) is None, "the collection asked a price"
wait_for("no hint left", lambda: not enabled(hint))
press(button("назад"))
leave()
'
echo "PASS: hints bought with F1 and the button, kept, the bonus whole; the collection shows them free"
