#!/bin/bash
# The game as a native Wayland client under weston's headless back end at
# 1920 x 1080: full screen, its 800 x 600 picture scaled to 1440 x 1080 in the
# middle, checked in the compositor's own screenshot of its output. The
# headless back end has no input device, so the game is driven as a screen
# reader would, through the accessibility interface over D-Bus: «Новая игра»
# opens the player selection, «Назад» closes it, «Головоломки» opens the
# collection, whose rows are read.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
for tool in weston weston-screenshooter convert; do
    command -v $tool >/dev/null || { echo "SKIP: needs $tool"; exit 77; }
done
ls /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

. "$(dirname "$0")/lib/atspi_bus.sh"
atspi_session "$@"

WORK=$(mktemp -d)
WPID=
GPID=
PIDS=()
cleanup() {
    [ -n "$GPID" ] && kill "$GPID" 2>/dev/null
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null; done
    [ -n "$WPID" ] && kill "$WPID" 2>/dev/null && wait "$WPID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
. "$(dirname "$0")/lib/game.sh"
fail() { echo "FAIL: $*"; echo "--- game output:"; tail -30 "$WORK/game.out" "$WORK/game.err" 2>/dev/null
         echo "--- weston:"; tail -15 "$WORK/weston.log" 2>/dev/null; exit 1; }

export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$WORK/config
export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
# Pixman draws the output for real; --debug lets weston-screenshooter read it.
weston --backend=headless-backend.so --use-pixman --width=1920 --height=1080 --socket=wayland-zentrika --idle-time=0 \
    --debug --log="$WORK/weston.log" >/dev/null 2>&1 &
WPID=$!
for _ in $(seq 1 100); do
    [ -S "$XDG_RUNTIME_DIR/wayland-zentrika" ] && break
    kill -0 "$WPID" 2>/dev/null || break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-zentrika" ] || { echo "SKIP: weston could not start here"; tail -5 "$WORK/weston.log"; exit 77; }
export WAYLAND_DISPLAY=wayland-zentrika
# The game must choose Wayland by itself: no X server, no platform asked for.
unset DISPLAY QT_QPA_PLATFORM
atspi_start

(cd "$GAME_DIR" && exec "$GAME" --diagnostics) >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
wait_first_paint "$WORK/game.out"
value() { sed -n "s/^$1=//p" "$WORK/game.out" | tail -1; }
# The layout once the compositor has made the window full screen.
for _ in $(seq 1 30); do
    sleep 0.3
    kill -USR1 "$GPID"
    sleep 0.2
    case "$(value stage)" in *full-screen) break ;; esac
done
[ "$(value qpa)" = wayland ] || fail "the game runs on $(value qpa), not as a Wayland client"
[ "$(value output)" = 1920x1080 ] || fail "the game saw the output as $(value output)"
[ "$(value scale-factor)" = 1.8 ] || fail "scale factor $(value scale-factor), not 1.8"
case "$(value stage)" in 1920x1080+*full-screen) ;; *) fail "the game is not full screen: $(value stage)" ;; esac
[ "$(value picture)" = 1440x1080+240+0 ] || fail "the picture is $(value picture), not 1440x1080 in the middle"

# The compositor's own picture of its output.
sleep 1
(cd "$WORK" && timeout 20 weston-screenshooter) >/dev/null 2>&1
shot=$(ls "$WORK"/wayland-screenshot*.png 2>/dev/null | head -1)
[ -n "$shot" ] || fail "weston-screenshooter made no screenshot"
[ -n "${ZENTRIKA_SCREEN_SHOTS:-}" ] && cp "$shot" "$ZENTRIKA_SCREEN_SHOTS/menu-wayland-1920x1080.png"
size=$(identify -format '%wx%h' "$shot")
[ "$size" = 1920x1080 ] || fail "the output's screenshot is $size"
pixel() { convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | tail -1; }
[ "$(pixel 100 540)" = "28,26,23" ] || fail "the left side is $(pixel 100 540), not the border colour"
[ "$(pixel 1820 540)" = "28,26,23" ] || fail "the right side is $(pixel 1820 540), not the border colour"
[ "$(pixel 960 300)" != "28,26,23" ] || fail "the middle of the output shows no picture"
# The filled sides counted across the middle row: 240 pixels each, to the pixel.
read -r left right <<<"$(convert "$shot" -crop 1920x1+0+540 -depth 8 txt:- |
    awk 'NR > 1 { c[++n] = ($3 ~ /^#1C1A17/) }
         END { l = 0; while (l < n && c[l + 1]) l++; r = 0; while (r < n && c[n - r]) r++; print l, r }')"
[ "$left" = 240 ] && [ "$right" = 240 ] || fail "the sides are $left and $right pixels wide, not 240 each"

# Input through the accessibility interface; the game's own layout report
# says which form is on top after each step.
"${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}/zentrika-pack" list "$GAME_DIR" >"$WORK/catalogue.json" ||
    fail "zentrika-pack list failed"
timeout 60 /usr/bin/python3 - "$WORK/catalogue.json" "$(dirname "$0")/lib" "$GPID" "$WORK/game.out" <<'PY' ||
import json, os, signal, sys, time
sys.path.insert(0, sys.argv[2])
from atspi_client import wait_for, app, open_and_cancel_player_selection, open_collection
pid, out = int(sys.argv[3]), sys.argv[4]

def top_form():
    """The form on top, from the layout report the game prints at SIGUSR1."""
    before = open(out, encoding='utf-8').read().count('report-end')
    os.kill(pid, signal.SIGUSR1)
    for _ in range(50):
        text = open(out, encoding='utf-8').read()
        if text.count('report-end') > before:
            last = text.rsplit('report-end', 2)[-2]
            return [l.split('=', 1)[1].split()[0] for l in last.splitlines() if l.startswith('top-form=')][-1]
        time.sleep(0.1)
    sys.exit('no layout report')

def wait_top(name):
    wait_for('%s on top' % name, lambda: top_form() == name, 10)

game = wait_for('the game on the accessibility bus', app)
wait_top('MainForm')
open_and_cancel_player_selection(game, on_open=lambda: wait_top('UserSelectDialog'))
wait_top('MainForm')
catalogue = json.load(open(sys.argv[1], encoding='utf-8'))
open_collection(game, {p['name'] for p in catalogue})
wait_top('ProblemsForm')
PY
    fail "driving the game through the accessibility interface failed"

kill -TERM "$GPID"
wait "$GPID"
rc=$?
GPID=
[ "$rc" = 0 ] || fail "the game exited with $rc"

# A window keeps its size from one session to the next, to the pixel.
CONF=$XDG_CONFIG_HOME/zentrika/zentrika.conf
printf '[video]\nmode=window\nwindow-size=1000x750\n' >"$CONF"
for session in 1 2 3; do
    : >"$WORK/game.out"
    (cd "$GAME_DIR" && exec "$GAME" --diagnostics) >"$WORK/game.out" 2>"$WORK/game.err" &
    GPID=$!
    wait_first_paint "$WORK/game.out"
    sleep 0.5
    kill -TERM "$GPID"
    wait "$GPID"
    GPID=
    grep -qx 'window-size=1000x750' "$CONF" || fail "session $session kept $(grep window-size "$CONF"), not 1000x750"
done
echo "PASS: a Wayland client, full screen, the picture at 1440x1080 in the middle of the output, driven through the accessibility interface; a window keeps its size"
