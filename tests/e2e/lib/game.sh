# Shared steps of the end-to-end scripts. Functions only, so it may be sourced
# before lib/dummy_xorg.sh. The game runs in the background as $GPID; the
# script defines fail().

# Skips (77) unless Xorg and every named tool are installed; sets XORG.
need_x_tools() { # tool...
    XORG=$(command -v Xorg || true)
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    [ -n "$XORG" ] || { echo "SKIP: Xorg is not installed"; exit 77; }
}

# Fails (1) unless each named program is there and can run.
need_programs() { # path...
    local f
    for f in "$@"; do
        [ -x "$f" ] || { echo "FAIL: $f is missing"; exit 1; }
    done
}

# For a game read through the accessibility interface: openbox and the AT-SPI
# registry (lib/atspi_bus.sh) started, each stopped at exit with the X server,
# and a fail() that shows the game's output.
start_reader_desktop() {
    PIDS=()
    stop_all() {
        for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null; done
        cleanup
    }
    trap stop_all EXIT
    fail() {
        echo "FAIL: $*"
        [ -n "${ZENTRIKA_E2E_SHOTS:-}" ] && import -window root "$ZENTRIKA_E2E_SHOTS/failure.png" 2>/dev/null
        echo "--- game output:"
        cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null
        exit 1
    }
    start_openbox
    PIDS+=("$WMPID")
    atspi_start
}

# Starts openbox as $WMPID and waits until it has taken the screen; the script stops it.
start_openbox() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    WMPID=$!
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "openbox did not start"
}

# The game looks beside itself for its font, then in the current directory ($WORK).
fallback_font() {
    [ -f "$GAME_DIR/Fonts/comic.ttf" ] && return 0
    local f
    for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/*/*.ttf; do
        [ -f "$f" ] && { mkdir -p "$WORK/Fonts"; cp "$f" "$WORK/Fonts/comic.ttf"; break; }
    done
    return 0
}

# The game's layout report (--diagnostics, SIGUSR1): waits for it and leaves
# only the latest one, everything after the previous report-end, in $WORK/report.
# A report asked for before the game has set its handler would end the game
# (SIGUSR1's default), so it first waits for the handler.
report() {
    local before
    before=$(grep -c '^report-end' "$WORK/game.out")
    wait_report_handler
    kill -USR1 "$GPID" 2>/dev/null || fail "the game is gone"
    for _ in $(seq 1 50); do
        [ "$(grep -c '^report-end' "$WORK/game.out")" -gt "$before" ] && break
        sleep 0.1
    done
    awk -v n="$before" 'c == n && !/^report-end/; /^report-end/ {c++}' "$WORK/game.out" >"$WORK/report"
}
value() { sed -n "s/^$1=//p" "$WORK/report" | tail -1; }

# Whether the game catches SIGUSR1 yet: bit 9 (signal 10) of its caught mask.
report_handler_set() {
    local mask
    mask=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$GPID/status" 2>/dev/null)
    [ -n "$mask" ] && (((16#$mask >> 9) & 1))
}
wait_report_handler() {
    for _ in $(seq 1 100); do
        report_handler_set && return 0
        kill -0 "$GPID" 2>/dev/null || fail "the game is gone"
        sleep 0.1
    done
    fail "the game set no report handler within 10 s"
}

# The form on top in the latest report.
top_form() { value top-form | cut -d' ' -f1; }
# Waits up to ten seconds for the report to name the form on top.
wait_top() { # form [what brought it]
    for _ in $(seq 1 50); do
        report
        [ "$(top_form)" = "$1" ] && return 0
        sleep 0.2
    done
    fail "${2:+$2: }the form on top is «$(value top-form)», not $1"
}

# Clicks the middle of a control as the latest report places it.
click_control() {
    local r w h x y
    r=$(sed -n "s/^control=$1 //p" "$WORK/report" | tail -1)
    [ -n "$r" ] || fail "no control $1 in the report"
    IFS='x+' read -r w h x y <<<"$r"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Resizes the game's window and waits up to six seconds for the report to
# show the stage at that size; the report is left in $WORK/report.
resize_window() { # width height
    local win
    win=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -1)
    xdotool windowsize "$win" "$1" "$2"
    for _ in $(seq 1 30); do
        sleep 0.2
        report
        case "$(value stage)" in "$1x$2+"*) return 0 ;; esac
    done
    fail "the window did not take $1x$2 but $(value stage)"
}

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
