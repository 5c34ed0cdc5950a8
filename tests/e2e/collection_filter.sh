#!/bin/bash
# The collection narrowed as a player narrows it, on Xorg (dummy driver) at
# 1920 x 1080 under openbox, with the keyboard only:
# - Ctrl+F and a few typed letters (ё and е alike) narrow the list;
# - the difficulty list narrows it further, and Tab goes on to the list;
# - a puzzle picked there with Down is answered right;
# - Ctrl+Backspace clears the filter and keeps that puzzle chosen;
# - Insert stars it, the settings file keeps the star, and «★» shows it alone.
# The game's layout report (--diagnostics, SIGUSR1) tells what the screen shows.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
PACK=$TOOLS_DIR/zentrika-pack
. "$(dirname "$0")/lib/game.sh"
need_programs "$GAME" "$PACK"
need_x_tools xrandr xdotool xprop xmodmap openbox

. "$(dirname "$0")/lib/dummy_xorg.sh"
WMPID=
stop_all() {
    [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null
    cleanup
}
trap stop_all EXIT
fail() {
    echo "FAIL: $*"
    [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/failure.png" 2>/dev/null
    echo "--- last report:"
    cat "$WORK/report" 2>/dev/null
    echo "--- game output:"
    tail -20 "$WORK/game.err" 2>/dev/null
    exit 1
}
shot() { [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/$1.png" 2>/dev/null; return 0; }

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --output "$OUTPUT" --mode 1920x1080 >/dev/null 2>&1
start_openbox

# Five number puzzles; four hold «еж» or «ёж» in some case, two of those are hard.
SRC=$WORK/src
while IFS='|' read -r id grade answer title; do
    mkdir -p "$SRC/$id"
    cat >"$SRC/$id/puzzle.toml" <<TOML
id = $id
title = "$title"
difficulty = $grade
kind = "number"
answer = $answer
question = "Сколько? Введите число."
statement = """
Задача «$title». Ответ: $answer.
"""
solution = """
Ответ: **$answer**.
"""
TOML
    cat >"$SRC/$id/picture.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460"><rect x="60" y="60" width="320" height="340" fill="#cde"/></svg>
SVG
done <<'LIST'
911|0|1|Ёжик и часы
912|1|2|Зелёный ЁЖ
913|2|3|Ежиная тропа
914|2|8|Ежевичный пирог
915|2|5|Мост через реку
LIST
"$PACK" build "$SRC" "$WORK/pack" >"$WORK/pack.out" 2>&1 || { cat "$WORK/pack.out"; fail "the test pack did not build"; }
fallback_font

export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3 XDG_CONFIG_HOME=$WORK/config
CONF=$XDG_CONFIG_HOME/zentrika/zentrika.conf
map_letters "еЖ"
(cd "$WORK" && exec "$GAME" --diagnostics --screen=collection --data "$WORK/pack") >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
: >"$WORK/report"

label() { sed -n "s/^label=$1 //p" "$WORK/report" | tail -1; }
# Runs a key step, then waits up to five seconds for the report to show what is expected.
expect() { # what, field (top-form, focus or a label's name), value, keys...
    local what=$1 field=$2 want=$3 got
    shift 3
    [ $# -gt 0 ] && xdotool "$@"
    for _ in $(seq 1 25); do
        report
        case $field in
        top-form) got=$(value top-form | cut -d' ' -f1) ;;
        focus) got=$(value focus) ;;
        *) got=$(label "$field") ;;
        esac
        [ "$got" = "$want" ] && { shot "$(echo "$what" | tr -c 'a-zA-Z0-9\n' '-')"; return 0; }
        kill -0 "$GPID" 2>/dev/null || fail "the game ended during: $what"
        sleep 0.2
    done
    fail "$what: $field is «$got», not «$want»"
}

for _ in $(seq 1 200); do
    WIN=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    kill -0 "$GPID" 2>/dev/null || fail "the game ended at start"
    sleep 0.1
done
[ -n "$WIN" ] || fail "no game window"
xdotool windowactivate --sync "$WIN" 2>/dev/null
expect "the collection opens unfiltered" FilterInfo "Всего головоломок: 5"
[ "$(label ProblemName)" = "Ёжик и часы" ] || fail "the first puzzle is not chosen: $(label ProblemName)"

expect "Ctrl+F goes to the search box" focus SearchEdit key ctrl+f
expect "typing е Ж finds ё and е in any case" FilterInfo "Показано 4 из 5" type --delay 120 "еЖ"
[ "$(label ProblemName)" = "Ёжик и часы" ] || fail "the chosen puzzle moved though it is shown"

expect "Tab goes on to the difficulty list" focus DifficultyBox key Tab Tab Tab
expect "three steps down pick the hard ones" FilterInfo "Показано 2 из 5" key Down Down Down
expect "the hidden choice moved to the first shown" ProblemName "Ежиная тропа"
expect "Tab reaches the list" focus ProblemsList key Tab Tab
expect "Down picks the next shown puzzle" ProblemName "Ежевичный пирог" key Down

expect "Enter shows its text" focus DecideButton key Return
expect "Enter opens the answer dialog" top-form QForm key Return
xdotool type --delay 80 8
expect "Enter gives the verdict" top-form MessageBoxForm key Return
expect "Enter closes the verdict" top-form ProblemsForm key Return
expect "back in the filtered list" FilterInfo "Показано 2 из 5"

expect "Ctrl+Backspace clears the filter" FilterInfo "Всего головоломок: 5" key ctrl+BackSpace
[ "$(label ProblemName)" = "Ежевичный пирог" ] || fail "clearing the filter moved the choice"

expect "Insert stars the chosen puzzle" ProblemName "Ежевичный пирог" key Insert
for _ in $(seq 1 25); do grep -q '^stars=914$' "$CONF" 2>/dev/null && break; sleep 0.2; done
grep -q '^stars=914$' "$CONF" || fail "the star is not in the settings file: $(cat "$CONF" 2>/dev/null)"
expect "back to the search box" focus SearchEdit key ctrl+f
expect "Tab to the starred-only toggle" focus StarredOnlyButton key Tab
expect "Space shows the starred puzzles alone" FilterInfo "Показано 1 из 5" key space
[ "$(label ProblemName)" = "Ежевичный пирог" ] || fail "the starred puzzle is not the one shown"

# Leaving: Escape asks, Enter says yes; the star stays in the file.
expect "Escape asks to leave" top-form MessageBoxForm key Escape
xdotool key Return
wait_game_exit "yes to leaving"
grep -q '^stars=914$' "$CONF" || fail "the star was lost at the end: $(cat "$CONF")"
echo "OK"
