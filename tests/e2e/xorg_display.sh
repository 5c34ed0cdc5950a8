#!/bin/bash
# The game on a real X server (Xorg with the dummy video driver): it takes the
# screen to 800 x 600 while it runs, gives 1024 x 768 back when it ends, and
# runs with the game's selection colours and font in place.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }

XORG=$(command -v Xorg || true)
if [ -z "$XORG" ] || ! command -v xrandr >/dev/null; then
    echo "SKIP: Xorg or xrandr is not installed"
    exit 77
fi

WORK=$(mktemp -d)
XPID=
GPID=
cleanup() {
    [ -n "$GPID" ] && kill "$GPID" 2>/dev/null
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

cat > "$WORK/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 16384
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 28.0-80.0
    VertRefresh 48.0-75.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600"
        Virtual 1280 1024
    EndSubSection
EndSection
CONF
mkdir -p "$WORK/conf.d"

# A display number nobody uses.
N=
for n in $(seq 60 99); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then N=$n; break; fi
done
[ -n "$N" ] || { echo "SKIP: no free display number"; exit 77; }
export DISPLAY=:$N
# The test runner asks for offscreen Qt; this test wants the real server.
export QT_QPA_PLATFORM=xcb

"$XORG" "$DISPLAY" -config "$WORK/xorg.conf" -configdir "$WORK/conf.d" -noreset -nolisten tcp \
    -logfile "$WORK/Xorg.log" >"$WORK/Xorg.out" 2>&1 &
XPID=$!
for _ in $(seq 1 100); do
    xrandr >/dev/null 2>&1 && break
    kill -0 "$XPID" 2>/dev/null || break
    sleep 0.1
done
if ! xrandr >/dev/null 2>&1; then
    echo "SKIP: Xorg with the dummy driver could not start here:"
    tail -5 "$WORK/Xorg.out" "$WORK/Xorg.log" 2>/dev/null
    exit 77
fi

screen_size() { xrandr | sed -n 's/.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
fail() { echo "FAIL: $*"; echo "--- game output:"; cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null; exit 1; }

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null 2>&1
[ "$(screen_size)" = 1024x768 ] || fail "the server did not start at 1024x768 but $(screen_size)"
# The game looks beside itself first, then in the current directory: a game
# folder without its font yet is served from there.
if [ ! -f "$GAME_DIR/Fonts/comic.ttf" ]; then
    for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/*/*.ttf; do
        [ -f "$f" ] && { mkdir -p "$WORK/Fonts"; cp "$f" "$WORK/Fonts/comic.ttf"; break; }
    done
fi

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
run_game   # auto: the server offers 800 x 600, so the game switches

echo "PASS: 800x600 while running, 1024x768 after; colours and font in place"
