#!/bin/bash
# The game in its default mode on a 1920 x 1080 desktop (Xorg with the dummy
# driver, under openbox where it is installed): full screen at the display's
# own mode, the 800 x 600 picture at 1440 x 1080 in the middle with the sides
# filled, clicks landing where the player sees the buttons, F11 and M on every
# screen, the choices kept in the settings file. Then 3840 x 2160, and the
# watcher that gives a switched display back when the game is killed. In a
# window the picture follows the window's size as the player drags it.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
. "$(dirname "$0")/lib/game.sh"
need_x_tools xrandr xdotool xwininfo import convert compare

. "$(dirname "$0")/lib/dummy_xorg.sh"
fail() { echo "FAIL: $*"; echo "--- game output:"; tail -40 "$WORK/game.out" "$WORK/game.err" 2>/dev/null; exit 1; }
export XDG_CONFIG_HOME=$WORK/config
export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
CONF=$XDG_CONFIG_HOME/zentrika/zentrika.conf
SHOTS=${ZENTRIKA_SCREEN_SHOTS:-}

if command -v openbox >/dev/null; then
    openbox --sm-disable >/dev/null 2>&1 &
    WMPID=$!
    trap 'kill $WMPID 2>/dev/null; cleanup' EXIT
    sleep 0.5
fi

OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')
set_mode() {
    xrandr --output "$OUTPUT" --mode "$1" >/dev/null 2>&1
    [ "$(screen_size)" = "$1" ] || fail "the server did not go to $1 but $(screen_size)"
}

start_game() {
    : >"$WORK/game.out"
    (cd "$GAME_DIR" && exec "$GAME" --diagnostics "$@") >"$WORK/game.out" 2>"$WORK/game.err" &
    GPID=$!
    for _ in $(seq 1 200); do
        grep -q '^main-form=' "$WORK/game.out" && return
        kill -0 "$GPID" 2>/dev/null || fail "the game ended at start ($*)"
        sleep 0.1
    done
    fail "no first paint within 20 s ($*)"
}
# The colour of one pixel of the screen, as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | tail -1
}
stop_game() {
    kill -TERM "$GPID"
    wait "$GPID"
    local rc=$?
    GPID=
    [ "$rc" = 0 ] || fail "the game exited with $rc"
}

# ---- 1920 x 1080, scale mode by default --------------------------------------
set_mode 1920x1080
start_game
report
[ "$(value video)" = scale ] || fail "default video mode is $(value video), not scale"
[ "$(value scale-factor)" = 1.8 ] || fail "scale factor $(value scale-factor), not 1.8"
[ "$(value stage)" = "1920x1080+0+0 full-screen" ] || fail "the game does not cover the screen: $(value stage)"
# The X server's own view of the game's one window.
win=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -1)
geometry=$(xwininfo -id "$win" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print w "x" h "+" x "+" y}')
[ "$geometry" = "1920x1080+0+0" ] || fail "the game's window is $geometry on the X server"
[ "$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | wc -l)" = 1 ] || fail "the game shows more than one window"
# Centred to the display's pixel, though at 1.8 a logical pixel is 1.8 of the
# display's and the middle falls inside one: the report says where it was drawn.
picture_at() {
    [ "$(value picture)" = "$1x$2+$3+0" ] || fail "the picture is at $(value picture), not $1x$2 at x=$3 y=0"
}
# The filled sides counted on the screen's own pixels across the middle row,
# the pointer out of the way.
sides_are() { # screen-width screen-height side
    local left right
    xdotool mousemove "$(($1 - 1))" 0
    sleep 0.3
    read -r left right <<<"$(import -window root -crop "${1}x1+0+$(($2 / 2))" -depth 8 txt:- 2>/dev/null |
        awk 'NR > 1 { c[++n] = ($3 ~ /^#1C1A17/) }
             END { l = 0; while (l < n && c[l + 1]) l++; r = 0; while (r < n && c[n - r]) r++; print l, r }')"
    [ "$left" = "$3" ] && [ "$right" = "$3" ] || fail "the sides are $left and $right pixels wide at $1x$2, not $3 each"
}
picture_at 1440 1080 240
sleep 1
sides_are 1920 1080 240
[ -n "$SHOTS" ] && import -window root "$SHOTS/menu-1920x1080.png"
# The sides are filled, the picture is drawn in the middle.
border=$(pixel 100 540)
[ "$border" = "28,26,23" ] || fail "the side of the screen is $border, not the border colour"
[ "$(pixel 1820 100)" = "28,26,23" ] || fail "the right side is not filled"
[ "$(pixel 960 300)" != "28,26,23" ] || fail "the middle of the screen shows no picture"

# "Новая игра" lies at 272,440 249x41 in the picture: its middle, scaled.
xdotool mousemove $((240 + (272 + 124) * 18 / 10)) $(((440 + 20) * 18 / 10)) click 1
wait_top UserSelectDialog "a click on the scaled Новая игра"
r=$(value top-form | cut -d' ' -f2)
IFS='x+' read -r w h x y <<<"$r"
[ "$x" -ge 240 ] && [ $((x + w)) -le 1680 ] && [ "$y" -ge 0 ] && [ $((y + h)) -le 1080 ] ||
    fail "the player selection lies outside the picture: $r"
[ "$w" = $((433 * 18 / 10)) ] || fail "the player selection is $w pixels wide, not scaled"
[ -n "$SHOTS" ] && import -window root "$SHOTS/player-selection-1920x1080.png"
click_control BackButton
wait_top MainForm "a click on the dialog's scaled back button"

# M turns the sounds off and on, remembered in the settings file.
xdotool key m
sleep 0.5
report
[ "$(value sound-switch)" = off ] || fail "M did not turn the sounds off"
grep -qx 'on=false' "$CONF" || fail "the sound switch is not in $CONF"
# The speaker in the corner opposite "?" turns them on again.
click_control SoundButton
sleep 0.5
report
[ "$(value sound-switch)" = on ] || fail "the speaker button did not turn the sounds on"

# The about box closed at 1.8 leaves nothing of itself: its edges fall inside
# display pixels, which the repaint under it must cover too.
click_control AboutButton
wait_top AboutForm "a click on the scaled ?"
IFS='x+' read -r w h x y <<<"$(value top-form | cut -d' ' -f2)"
about_colour=$(pixel $((x + 3)) $((y + h / 2)))
xdotool key Escape
wait_top MainForm "Escape in the about box"
xdotool mousemove 0 540
sleep 0.5
left=$(import -window root -crop "${w}x5+$x+$((y + h - 2))" -depth 8 txt:- 2>/dev/null | grep -c "($about_colour)")
[ "$left" = 0 ] || fail "the closed about box left $left pixels of its colour ($about_colour) at its bottom edge"

# F11: a window and back; the display mode never changes.
xdotool key F11
sleep 1
report
case "$(value stage)" in *full-screen) fail "F11 left the game full screen" ;; esac
xdotool key alt+Return
sleep 1
report
[ "$(value stage)" = "1920x1080+0+0 full-screen" ] || fail "Alt+Enter did not bring full screen back: $(value stage)"
[ "$(screen_size)" = 1920x1080 ] || fail "the game changed the display to $(screen_size)"
# The player quits: Escape asks, Enter answers yes, the game ends.
xdotool key Escape
wait_top MessageBoxForm "Escape in the menu asks to quit"
xdotool key Return
wait_game_exit "yes to quitting"
grep -qx 'mode=scale' "$CONF" || fail "the full-screen choice is not kept"

# ---- the window mode ------------------------------------------------------------
start_game --video=window
report
[ "$(value video)" = window ] || fail "--video=window gave $(value video)"
case "$(value stage)" in 800x600+*) ;; *) fail "the window does not start at 800x600: $(value stage)" ;; esac
# The picture at its own size, one screen pixel per picture pixel: what every
# other size must show, fitted. The pointer stays off the buttons.
xdotool mousemove 0 0
sleep 1
report
shot_picture() { # file
    local w h x y
    IFS='x+' read -r w h x y <<<"$(value picture)"
    import -window root -crop "${w}x${h}+$x+$y" +repage "$1"
}
shot_picture "$WORK/picture-800x600.png"
# What the screen shows where the report puts the picture, against the picture
# fitted to that size. Both are made small first: a fitted picture is drawn by
# Qt at the new scale (text and shapes sharp), the reference merely resized.
picture_drawn_fitted() { # what changed
    local diff
    shot_picture "$WORK/drawn.png"
    convert "$WORK/drawn.png" -resize '160x120!' "$WORK/drawn-small.png"
    convert "$WORK/picture-800x600.png" -resize '160x120!' "$WORK/fitted-small.png"
    diff=$(compare -metric RMSE "$WORK/drawn-small.png" "$WORK/fitted-small.png" null: 2>&1 | sed -n 's/.*(\(.*\))/\1/p')
    [ -n "$SHOTS" ] && import -window root "$SHOTS/window-$(value stage | cut -d+ -f1).png"
    awk -v d="$diff" 'BEGIN { exit !(d != "" && d < 0.05) }' ||
        fail "$1: what is drawn differs from the picture fitted to $(value picture) (RMSE ${diff:-none})"
}
# The player resizes the window: the picture takes the largest scale at which
# it fits, centred in the window, the rest filled, as full screen shows it.
picture_fits_stage() { # what changed
    local sw sh sx sy pw ph px py
    IFS='x+' read -r sw sh sx sy <<<"$(value stage | cut -d' ' -f1)"
    IFS='x+' read -r pw ph px py <<<"$(value picture)"
    awk -v sw="$sw" -v sh="$sh" -v sx="$sx" -v sy="$sy" -v pw="$pw" -v ph="$ph" -v px="$px" -v py="$py" 'BEGIN {
        f = (sw / 800 < sh / 600) ? sw / 800 : sh / 600
        w = 800 * f; h = 600 * f
        ok = (pw - w) ^ 2 <= 4 && (ph - h) ^ 2 <= 4 && (px - sx - (sw - w) / 2) ^ 2 <= 4 && (py - sy - (sh - h) / 2) ^ 2 <= 4
        exit !ok }' || fail "$1: the picture is $(value picture) in a window of $(value stage)"
}
# A resize, and the picture fitted to the new size.
resize_fitted() { # width height
    resize_window "$1" "$2"
    picture_fits_stage "a resize to $1x$2"
}
resize_fitted 1000 750
[ "$(value scale-now)" = 1.25 ] || fail "at 1000x750 the scale is $(value scale-now), not 1.25"
picture_drawn_fitted "a resize to 1000x750"
# Smaller than the picture, too, down to half its size: the picture shrinks
# with the window. Qt itself paints nothing below one pixel per pixel.
resize_fitted 640 480
[ "$(value scale-now)" = 0.8 ] || fail "at 640x480 the scale is $(value scale-now), not 0.8"
for size in 640x480 500x900 1000x400 400x300; do
    resize_fitted "${size%x*}" "${size#*x}"
    sleep 0.5
    picture_drawn_fitted "a resize to $size"
done
# Clicks land where the shrunk picture shows the buttons, and a dialog is
# drawn shrunk as well.
click_control NewGameButton
wait_top UserSelectDialog "a click on Новая игра shrunk to 400x300"
sleep 0.5
[ "$(pixel $(($(value picture | cut -d+ -f2) + 200)) $(($(value picture | cut -d+ -f3) + 150)))" != "28,26,23" ] ||
    fail "the shrunk picture shows nothing in its middle with the dialog open"
click_control BackButton
wait_top MainForm "a click on the dialog's back button shrunk to 400x300"
resize_fitted 1200 700
sleep 0.5
picture_drawn_fitted "a resize to 1200x700 after smaller ones"
[ -n "$SHOTS" ] && import -window root "$SHOTS/window-1200x700.png"
# A click lands on the scaled button: "Новая игра" at 272,440 249x41 in the picture.
IFS='x+' read -r pw ph px py <<<"$(value picture)"
xdotool mousemove $((px + (272 + 124) * pw / 800)) $((py + (440 + 20) * ph / 600)) click 1
wait_top UserSelectDialog "a click on Новая игра scaled in a resized window"
IFS='x+' read -r w h x y <<<"$(value top-form | cut -d' ' -f2)"
[ $((w - 433 * pw / 800)) -ge -2 ] && [ $((w - 433 * pw / 800)) -le 2 ] || fail "the player selection is $w pixels wide in a picture $pw wide"
[ "$x" -ge "$px" ] && [ $((x + w)) -le $((px + pw)) ] || fail "the player selection lies outside the picture"
click_control BackButton
wait_top MainForm "a click on the dialog's back button in a resized window"
# Full screen takes the screen's scale, the window its own again.
xdotool key F11
sleep 1
report
[ "$(value stage)" = "1920x1080+0+0 full-screen" ] || fail "F11 from the window did not give full screen: $(value stage)"
[ "$(value scale-now)" = 1.8 ] || fail "full screen from a window is at scale $(value scale-now), not 1.8"
picture_at 1440 1080 240
xdotool key F11
sleep 1
report
case "$(value stage)" in 1200x700+*) ;; *) fail "F11 did not give the 1200x700 window back: $(value stage)" ;; esac
picture_fits_stage "full screen and back"
# The player leaves by the leave question; the next start finds the window as
# it was left.
xdotool key Escape
wait_top MessageBoxForm "Escape in the window asks to quit"
xdotool key Return
wait_game_exit "yes to quitting the window"
grep -qx 'mode=scale' "$CONF" || fail "a mode given on the command line was saved"
grep -qx 'window-size=1200x700' "$CONF" || fail "the window's size was not kept on leaving: $(grep window-size "$CONF")"
start_game --video=window
report
case "$(value stage)" in 1200x700+*) ;; *) fail "the next start opens at $(value stage), not 1200x700" ;; esac
picture_fits_stage "the next start"
stop_game
# A size kept on a larger screen opens fitted to this one, and is kept so.
sed -i 's/^window-size=.*/window-size=3840x2160/' "$CONF"
start_game --video=window
sleep 1
report
win=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -1)
read -r width bottom <<<"$(xwininfo -id "$win" 2>/dev/null | awk '/Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print w, y + h}')"
[ "${width:-0}" -le 1920 ] || fail "a window kept at 3840x2160 opens $width pixels wide on a 1920x1080 screen"
[ "${bottom:-9999}" -le 1080 ] || fail "the window's frame pushes its bottom to $bottom, below the screen"
awk -v f="$(value scale-now)" 'BEGIN { exit !(f <= 1.8) }' || fail "a window kept at 3840x2160 draws at $(value scale-now)"
stop_game
IFS=x read -r w h <<<"$(sed -n 's/^window-size=//p' "$CONF")"
[ "$w" -le 1920 ] && [ "$h" -le 1080 ] || fail "the fitted window was kept as ${w}x$h"

# ---- 3840 x 2160 ------------------------------------------------------------------
set_mode 3840x2160
start_game
report
[ "$(value scale-factor)" = 3.6 ] || fail "scale factor $(value scale-factor) at 3840x2160, not 3.6"
picture_at 2880 2160 480
sleep 1
sides_are 3840 2160 480
[ -n "$SHOTS" ] && import -window root "$SHOTS/menu-3840x2160.png"
xdotool mousemove $((480 + (272 + 124) * 36 / 10)) $(((440 + 20) * 36 / 10)) click 1
wait_top UserSelectDialog "a click on the scaled Новая игра at 3840x2160"
stop_game
[ "$(screen_size)" = 3840x2160 ] || fail "the game changed the display to $(screen_size)"

# ---- switch mode: the watcher gives the display back after SIGKILL ----------------
set_mode 1024x768
start_game --video=switch
[ "$(screen_size)" = 800x600 ] || fail "switch mode did not take 800x600 but $(screen_size)"
kill -KILL "$GPID"
wait "$GPID" 2>/dev/null
GPID=
for _ in $(seq 1 50); do
    [ "$(screen_size)" = 1024x768 ] && break
    sleep 0.1
done
[ "$(screen_size)" = 1024x768 ] || fail "after SIGKILL the display stays at $(screen_size)"

echo "PASS: full screen at 1920x1080 and 3840x2160 with the picture scaled and centred, a resized window scaling alike, clicks, F11, M, settings, the watcher"
