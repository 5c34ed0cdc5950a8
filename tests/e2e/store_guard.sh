#!/bin/bash
# The player store as a player meets it, on a real X server with a window
# manager: a damaged store is moved aside and its players come back from the
# backup file, with a word to the player; while the game runs the profile tool
# refuses to change the store and a second start brings the running game to
# the front instead; a game killed outright leaves no lock behind.
set -u
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
PROFILE=$TOOLS_DIR/zentrika-profile
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
[ -x "$PROFILE" ] || { echo "FAIL: no zentrika-profile at $PROFILE"; exit 1; }
for c in Xvfb openbox xdotool; do
    command -v $c >/dev/null || { echo "SKIP: $c is not installed"; exit 77; }
done

WORK=$(mktemp -d)
XPID= WMPID= GPID=
cleanup() {
    for p in $GPID $WMPID $XPID; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${KEEP_SHOTS:-}" ] && cp "$WORK"/*.png "$KEEP_SHOTS"/ 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
. "$(dirname "$0")/lib/game.sh"
fail() {
    echo "FAIL: $*"
    cat "$WORK"/game*.err 2>/dev/null
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 1 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "SKIP: Xvfb did not start"; exit 77; }
export DISPLAY=:$(cat "$WORK/display") QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
WMPID=$!
sleep 0.5

export ZENTRIKA_REGISTRY=$WORK/data/registry.sqlite3
mkdir -p "$WORK/data"
cat >"$WORK/player.json" <<'EOF'
{"Name": "Тестер", "Scores": 77, "Level": 2, "Label Index": 3, "LD": 1, "MD": 0, "HD": 0, "LU": 0, "MU": 0, "HU": 0,
 "Used Problems count": 1, "Used Problems Info": [5], "Problems on Level count": 1,
 "Problems on Level Info": [{"Id": 5, "Solved": 1, "Bought": 1, "WrongAnswers": 0}]}
EOF
"$PROFILE" import "$WORK/player.json" >/dev/null || fail "import"
"$PROFILE" backup >/dev/null || fail "backup"
# A store that is no database any more.
printf 'this is not a database, it was overwritten' | dd of="$ZENTRIKA_REGISTRY" conv=notrunc status=none

start_game() { # output name
    (cd "$GAME_DIR" && exec "$GAME" --video=window --diagnostics) >"$WORK/$1.out" 2>"$WORK/$1.err" &
}
start_game game
GPID=$!
wait_first_paint "$WORK/game.out"

ls "$WORK/data"/registry.sqlite3.damaged-* >/dev/null 2>&1 || fail "the damaged store was not moved aside"
[ "$("$PROFILE" list)" = "$(printf 'Тестер\tlevel 2\tscore 77')" ] || fail "the player did not come back: $("$PROFILE" list)"
# The notice is up over the main menu: the game's layout report names the
# form on top (the message box shows inside the game's one window).
notice_up() { # [game output]
    local before out=${1:-$WORK/game.out}
    before=$(grep -c '^report-end' "$out")
    kill -USR1 "$GPID"
    for _ in $(seq 1 30); do
        [ "$(grep -c '^report-end' "$out")" -gt "$before" ] && break
        sleep 0.1
    done
    grep '^top-form=' "$out" | tail -n 1 | grep -q '^top-form=MessageBoxForm '
}
for _ in $(seq 1 30); do notice_up && break; sleep 0.1; done
notice_up || fail "no notice about the recovery"
import -window root "$WORK/recovered.png" 2>/dev/null
xdotool key Return
sleep 0.5

out=$("$PROFILE" delete Тестер 2>&1) && fail "the tool deleted a player while the game ran"
echo "$out" | grep -q 'close it first' || fail "the tool's refusal is unclear: $out"

# Out of sight, then started again: the running game comes back to the front.
main=$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | head -n 1)
xdotool windowminimize "$main"
sleep 0.5
start_game second
SPID=$!
for _ in $(seq 1 100); do kill -0 "$SPID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$SPID" 2>/dev/null && { kill "$SPID"; fail "the second start did not end"; }
wait "$SPID" || fail "the second start ended with an error"
grep -q 'already running' "$WORK/second.err" || fail "the second start did not say why it ended"
grep -q '^main-form=' "$WORK/second.out" && fail "the second start opened a window"
kill -0 "$GPID" 2>/dev/null || fail "the first game ended"
for _ in $(seq 1 30); do
    active=$(xdotool getactivewindow 2>/dev/null)
    [ -n "$active" ] && [ "$(xdotool getwindowpid "$active" 2>/dev/null)" = "$GPID" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowpid "$(xdotool getactivewindow 2>/dev/null)" 2>/dev/null)" = "$GPID" ] ||
    fail "the running game did not come to the front"
import -window root "$WORK/front.png" 2>/dev/null

# Killed outright: the lock goes with the process.
kill -9 "$GPID"
wait "$GPID" 2>/dev/null
GPID=
"$PROFILE" delete Тестер >/dev/null 2>&1 || fail "a killed game left the store locked"

# A start whose newest backup file is more than a day old writes a new one.
"$PROFILE" import "$WORK/player.json" >/dev/null || fail "import after the kill"
rm -f "$WORK/data/backups"/registry-*.sqlite3
"$PROFILE" backup >/dev/null || fail "backup"
mv "$WORK/data/backups"/registry-*.sqlite3 "$WORK/data/backups/registry-20200101-120000.sqlite3"
start_game game3
GPID=$!
for _ in $(seq 1 200); do
    grep -q '^main-form=' "$WORK/game3.out" && break
    sleep 0.1
done
grep -q '^main-form=' "$WORK/game3.out" || fail "a start with an old backup failed"
kill "$GPID"
wait "$GPID" 2>/dev/null
GPID=
[ "$(ls "$WORK/data/backups" | grep -c '^registry-.*\.sqlite3$')" = 2 ] || fail "no backup at start: $(ls "$WORK/data/backups")"

# A session that saved a player writes one more when the game closes.
if [ -f "$GAME_DIR/list.lst" ]; then
    sleep 1  # backup files are named by the second
    (cd "$GAME_DIR" && exec "$GAME" --video=window --screen=game --player=Новичок) >"$WORK/game4.out" 2>"$WORK/game4.err" &
    GPID=$!
    for _ in $(seq 1 100); do
        [ "$(xdotool search --onlyvisible --pid "$GPID" 2>/dev/null | wc -l)" -ge 1 ] && break
        sleep 0.1
    done
    sleep 1
    xdotool key Escape
    sleep 1
    xdotool key Return
    for _ in $(seq 1 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$GPID" 2>/dev/null && fail "the game did not close after leaving"
    GPID=
    "$PROFILE" list | grep -q '^Новичок' || fail "the new player was not saved"
    [ "$(ls "$WORK/data/backups" | grep -c '^registry-.*\.sqlite3$')" = 3 ] || fail "no backup at close: $(ls "$WORK/data/backups")"
fi
# A lock file this user cannot open (another user's, left by a run as root;
# here a folder in its place): the game says so and leaves the store alone,
# a second start comes to the first, and the tool changes nothing meanwhile.
before=$("$PROFILE" list)
rm -f "$WORK/data/zentrika.lock"
mkdir "$WORK/data/zentrika.lock"
start_game game5
GPID=$!
wait_first_paint "$WORK/game5.out"
for _ in $(seq 1 30); do notice_up "$WORK/game5.out" && break; sleep 0.1; done
notice_up "$WORK/game5.out" || fail "no notice about the lock file"
grep -q 'cannot open the lock file' "$WORK/game5.err" || fail "the log does not say why the store is left alone"
import -window root "$WORK/nolock.png" 2>/dev/null
start_game game6
SPID=$!
for _ in $(seq 1 100); do kill -0 "$SPID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$SPID" 2>/dev/null && { kill "$SPID"; fail "a second game ran beside the first without a lock"; }
out=$("$PROFILE" import "$WORK/player.json" 2>&1) && fail "the tool changed the store without a lock"
echo "$out" | grep -q 'cannot open the lock file' || fail "the tool's refusal is unclear: $out"
kill "$GPID"
wait "$GPID" 2>/dev/null
GPID=
rmdir "$WORK/data/zentrika.lock"
[ "$("$PROFILE" list)" = "$before" ] || fail "the store changed: $("$PROFILE" list)"
echo "PASS"
