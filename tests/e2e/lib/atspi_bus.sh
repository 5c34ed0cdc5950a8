# Sourced by the end-to-end tests that drive the game through the
# accessibility interface (AT-SPI over D-Bus, the same on X11 and Wayland).
# The script must already run under a D-Bus session of its own
# (dbus-run-session); this starts the accessibility bus and its registry on
# it and leaves their ids in PIDS. Needs fail() and WORK.
# shellcheck shell=bash
ATSPI_LAUNCHER=/usr/libexec/at-spi-bus-launcher
ATSPI_REGISTRYD=/usr/libexec/at-spi2-registryd

# Whether everything it needs is installed.
atspi_available() {
    command -v dbus-run-session >/dev/null && [ -x "$ATSPI_LAUNCHER" ] && [ -x "$ATSPI_REGISTRYD" ] &&
        /usr/bin/python3 -c 'import pyatspi' 2>/dev/null
}

# Skips (77) where it cannot run, else runs the script again under a session
# bus of its own, so that nothing of the desktop's is touched.
atspi_session() { # the script's arguments
    atspi_available || { echo "SKIP: dbus-run-session, at-spi2-core or python3-pyatspi is not installed"; exit 77; }
    if [ -z "${ZENTRIKA_A11Y_SESSION:-}" ]; then
        ZENTRIKA_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
    fi
}

atspi_start() {
    "$ATSPI_LAUNCHER" --launch-immediately >"$WORK/launcher.log" 2>&1 &
    PIDS+=($!)
    # The registry answers on the accessibility bus the launcher made.
    local bus=
    for _ in $(seq 100); do
        bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            2>/dev/null | tr -d ' ')
        [ -n "$bus" ] && break
        sleep 0.1
    done
    [ -n "$bus" ] || fail "the accessibility bus did not start: $(cat "$WORK/launcher.log")"
    AT_SPI_BUS_ADDRESS=$bus "$ATSPI_REGISTRYD" >"$WORK/registryd.log" 2>&1 &
    PIDS+=($!)
    # Qt offers its tree on the bus only when asked to, or when a screen reader runs.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
    # The client module is read from the source tree: no byte code left there.
    export PYTHONDONTWRITEBYTECODE=1
}

# The reader's desktop without a window manager: a work folder ($WORK), Xvfb
# at 1024 x 768 with DISPLAY set, the accessibility bus and its registry, all
# stopped (last started first) and removed at exit, and a fail() that shows
# the game's output. The script adds its game's id to PIDS. Call after
# atspi_session.
atspi_xvfb() {
    command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
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
}
