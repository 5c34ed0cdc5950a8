#!/bin/bash
# The two puzzle screens as a player meets them: the game started under its
# own X server with --screen, driven by keys, left through the leave question.
# The game screen must have saved the new player. With SCREENSHOT_DIR set, the
# list and text modes of both screens are saved there as PNG files.
set -u
game=${ZENTRIKA_GAME_DIR:?}
exe=$game/zentrika
for tool in xvfb-run xdotool import; do
  command -v $tool >/dev/null || { echo "SKIP: needs $tool"; exit 77; }
done
[ -x "$exe" ] || { echo "FAIL: $exe missing"; exit 1; }
[ -f "$game/list.lst" ] || { echo "FAIL: $game/list.lst missing; build the puzzles"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZENTRIKA_REGISTRY=$work/registry.sqlite3
export XDG_RUNTIME_DIR=$work
export XDG_CONFIG_HOME=$work/config
# The game needs the X server started here, whatever the test runner set.
export QT_QPA_PLATFORM=xcb
shots=${SCREENSHOT_DIR:-}

cat >"$work/drive.sh" <<'EOF'
#!/bin/bash
# Runs inside the X server: $1 screen, $2 shot prefix (may be empty), rest: options.
set -u
screen=$1; prefix=$2; shift 2
"$exe" --video=window --screen="$screen" "$@" &
pid=$!
wait_window() {
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -1)
    [ -n "$win" ] && return 0
    sleep 0.1
  done
  return 1
}
wait_window || { echo "FAIL: no window for $screen"; kill $pid; exit 1; }
sleep 2.5
key() { xdotool windowactivate --sync "$win" 2>/dev/null; xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --window "$win" "$1"; sleep 1.2; }
[ -n "$prefix" ] && import -window root "$prefix-list.png"
key Return
[ -n "$prefix" ] && import -window root "$prefix-text.png"
key Escape      # back to the list
key Escape      # the leave question
# The question box is a window of its own and takes the focus: Enter there
# answers yes. Without a window manager the focus can arrive late; ask again.
for attempt in 1 2 3 4 5; do
  for _ in $(seq 30); do
    focus=$(xdotool getwindowfocus 2>/dev/null)
    [ -n "$focus" ] && [ "$focus" != "$win" ] && break
    sleep 0.1
  done
  sleep 0.3
  xdotool key Return
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null || break
  key Escape
done
if kill -0 $pid 2>/dev/null; then echo "FAIL: $screen still open after the leave question"; kill $pid; exit 1; fi
wait $pid
EOF
chmod +x "$work/drive.sh"
export exe

fail=0
run() {
  xvfb-run -a -s '-screen 0 800x600x24' "$work/drive.sh" "$@" || fail=1
}
run collection "${shots:+$shots/collection}"
run game "${shots:+$shots/game}" --player=Тестовый

# The game screen saved the new player when it closed.
/usr/bin/python3 - "$ZENTRIKA_REGISTRY" <<'EOF' || { echo "FAIL: the player was not saved"; fail=1; }
import sqlite3, sys
con = sqlite3.connect(sys.argv[1])
found = False
for (table,) in con.execute("select name from sqlite_master where type='table'"):
    for row in con.execute(f'select * from "{table}"'):
        found = found or any(isinstance(v, str) and "Тестовый" in v for v in row)
sys.exit(0 if found else 1)
EOF
[ $fail = 0 ] && echo "OK"
exit $fail
