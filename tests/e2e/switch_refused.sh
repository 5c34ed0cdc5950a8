#!/bin/bash
# --video=switch where the display has no 800 x 600 mode (Xvfb lists only its
# own size): the game's own box asks, in Russian, whether to play full screen
# without switching. "Нет" ends the game with 1 and the display untouched;
# "Да" starts it again, the same process, in the scaled mode for this run.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
for tool in Xvfb xdotool xrandr; do
    command -v $tool >/dev/null || { echo "SKIP: needs $tool"; exit 77; }
done

WORK=$(mktemp -d)
XPID=
GPID=
cleanup() {
    [ -n "$GPID" ] && kill "$GPID" 2>/dev/null
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
. "$(dirname "$0")/lib/game.sh"
fail() { echo "FAIL: $*"; echo "--- game output:"; tail -30 "$WORK/game.out" "$WORK/game.err" 2>/dev/null; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
xrandr | grep -q ' 800x600 ' && { echo "SKIP: this Xvfb offers 800x600"; exit 77; }
export XDG_CONFIG_HOME=$WORK/config ZENTRIKA_REGISTRY=$WORK/registry.sqlite3 XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

start_switch() {
    : >"$WORK/game.out"
    (cd "$GAME_DIR" && exec "$GAME" --diagnostics --video=switch) >"$WORK/game.out" 2>"$WORK/game.err" &
    GPID=$!
}

start_switch
wait_top MessageBoxForm
grep -q '^control=CancelBtn ' "$WORK/game.out" || fail "the box asks no question"
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
rc=0
wait "$GPID" || rc=$?
GPID=
[ "$rc" = 1 ] || fail "no to the question ended the game with $rc, not 1"
[ "$(xrandr | sed -n 's/.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')" = 1024x768 ] || fail "the display changed"

start_switch
wait_top MessageBoxForm
xdotool key Return
wait_first_paint "$WORK/game.out"
grep -qx 'video=scale' "$WORK/game.out" || fail "yes did not start the game in the scaled mode"
grep -qx 'stage=1024x768+0+0 full-screen' "$WORK/game.out" || fail "the scaled game does not fill the screen"
kill -TERM "$GPID"
rc=0
wait "$GPID" || rc=$?
GPID=
[ "$rc" = 0 ] || fail "the game started again exited with $rc"
grep -q '^mode=scale' "$XDG_CONFIG_HOME/zentrika/zentrika.conf" 2>/dev/null && fail "the mode of one run was saved"
echo "PASS: a display without 800x600 asks in the game's own box; no ends with 1, yes plays scaled"
