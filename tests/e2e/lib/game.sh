# Waiting on the game started in the background as $GPID; the script defines fail().

# The game painted its first window: --diagnostics prints main-form= into the given file.
wait_first_paint() { # output file
    for _ in $(seq 1 200); do
        grep -q '^main-form=' "$1" && return 0
        kill -0 "$GPID" 2>/dev/null || fail "the game ended at start"
        sleep 0.1
    done
    fail "no first paint within 20 s"
}

# The game ends by itself, with code 0, after what the player did.
wait_game_exit() { # what made it end
    for _ in $(seq 1 100); do
        kill -0 "$GPID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GPID" 2>/dev/null && fail "the game is still running after $1"
    local rc=0
    wait "$GPID" || rc=$?
    GPID=
    [ "$rc" = 0 ] || fail "the game exited with $rc after $1"
}
