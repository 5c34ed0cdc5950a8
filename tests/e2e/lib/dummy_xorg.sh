# Sourced by the end-to-end tests that need a real X server: starts Xorg with
# the dummy video driver (1024 x 768, 800 x 600, 1920 x 1080 and 3840 x 2160) on a free display number,
# sets DISPLAY and QT_QPA_PLATFORM, and stops it again on exit. Skips (77)
# where Xorg cannot start at all. Needs XORG set; leaves WORK, XPID and GPID.
# shellcheck shell=bash
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
    VideoRam 131072
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 28.0-80.0
    VertRefresh 24.0-75.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "3840x2160" 297.00 3840 4016 4104 4400 2160 2168 2178 2250 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600" "1920x1080" "3840x2160"
        Virtual 3840 2160
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
# The test presets run Qt offscreen; these tests are about the real server.
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
