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

# Gives each letter of the text that the keyboard map lacks a key of its own,
# before the game starts. Otherwise xdotool rebinds a spare key for every such
# letter as it types, and under load the game reads a letter after the binding
# has moved on and loses it.
map_letters() { # text
    local free letter
    mapfile -t free < <(xmodmap -pke | awk 'NF == 3 && $1 == "keycode" && $2 > 8 {print $2}')
    for letter in $(/usr/bin/python3 -c 'import sys; print(" ".join("U%04X" % ord(c) for c in sorted(set(sys.argv[1])) if ord(c) > 127))' "$1"); do
        [ "${#free[@]}" -gt 0 ] || return 0
        xmodmap -e "keycode ${free[0]} = $letter $letter"
        free=("${free[@]:1}")
    done
}
