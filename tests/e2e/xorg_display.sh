#!/bin/bash
# The game on a real X server (Xorg with the dummy video driver): it takes the
# screen to 800 x 600 while it runs, gives 1024 x 768 back when it ends, and
# runs with the game's selection colours and font in place.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }

. "$(dirname "$0")/lib/game.sh"
need_x_tools xrandr

. "$(dirname "$0")/lib/dummy_xorg.sh"
export XDG_CONFIG_HOME=$WORK/config
fail() { echo "FAIL: $*"; echo "--- game output:"; cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null; exit 1; }

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null 2>&1
[ "$(screen_size)" = 1024x768 ] || fail "the server did not start at 1024x768 but $(screen_size)"
# The game looks beside itself first, then in the current directory: a game
# folder without its font yet is served from there.
fallback_font

# Runs the game with the given options until its first paint, checks the
# screen and the diagnostics, then ends it as a session manager would.
run_game() {
    : >"$WORK/game.out"
    (cd "$WORK" && exec "$GAME" --diagnostics "$@") >"$WORK/game.out" 2>"$WORK/game.err" &
    GPID=$!
    for _ in $(seq 1 200); do
        grep -q '^main-form=' "$WORK/game.out" && break
        kill -0 "$GPID" 2>/dev/null || fail "the game ended at start ($*)"
        sleep 0.1
    done
    grep -q '^main-form=' "$WORK/game.out" || fail "no first paint within 20 s ($*)"

    [ "$(screen_size)" = 800x600 ] || fail "screen is $(screen_size) while the game runs ($*)"
    grep -qx 'video=switch' "$WORK/game.out" || fail "the game did not switch the display ($*)"
    grep -qx 'main-form=800x600+0+0' "$WORK/game.out" || fail "the start screen does not cover the screen ($*)"
    grep -qx 'highlight=#fdedc4' "$WORK/game.out" || fail "selection colour is not the game's cream ($*)"
    grep -qx 'highlighted-text=#000000' "$WORK/game.out" || fail "selected text is not black ($*)"
    family=$(sed -n 's/^font-family=//p' "$WORK/game.out")
    [ -n "$family" ] || fail "the game's font did not load ($*)"
    grep -qx "comic-sans-ms=$family" "$WORK/game.out" || fail "Comic Sans MS is not the game's font ($*)"

    kill -TERM "$GPID"
    wait "$GPID"
    rc=$?
    GPID=
    [ "$rc" = 0 ] || fail "the game exited with $rc ($*)"
    [ "$(screen_size)" = 1024x768 ] || fail "screen is $(screen_size) after the game ($*)"
    after=$(sed -n 's/^after-shutdown highlight=\(#[0-9a-f]*\).*/\1/p' "$WORK/game.out")
    [ -n "$after" ] && [ "$after" != '#fdedc4' ] || fail "the selection colour was not given back ($*)"
}

run_game --video=switch

echo "PASS: 800x600 while running, 1024x768 after; colours and font in place"
