#!/usr/bin/env bash
# The statistics screen as a screen reader sees it: on Xvfb, with the
# accessibility bus of its own D-Bus session, a player with a short game in
# the log (two right answers, one wrong, a bought solution) is imported, the
# game opens the player's statistics, and a client reads the figures of its
# lines and charts and compares them with `zentrika-profile stats --json`.
set -uo pipefail
GAME_DIR=${ZENTRIKA_GAME_DIR:?ZENTRIKA_GAME_DIR is not set}
TOOLS_DIR=${ZENTRIKA_TOOLS_DIR:?ZENTRIKA_TOOLS_DIR is not set}
GAME=$GAME_DIR/zentrika
[ -x "$GAME" ] || { echo "FAIL: no game at $GAME"; exit 1; }
. "$(dirname "$0")/lib/atspi_bus.sh"
if ! command -v Xvfb >/dev/null || ! atspi_available; then
    echo "SKIP: Xvfb, dbus-run-session, at-spi2-core or python3-pyatspi is not installed"
    exit 77
fi
if [ -z "${ZENTRIKA_A11Y_SESSION:-}" ]; then
    ZENTRIKA_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

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
    cat "$WORK/game.out" "$WORK/game.err" 2>/dev/null
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$WORK/display") QT_QPA_PLATFORM=xcb
atspi_start
export ZENTRIKA_REGISTRY=$WORK/registry.sqlite3

# Yesterday's short game: right, wrong, right, a solution bought.
/usr/bin/python3 - >"$WORK/player.json" <<'PY'
import datetime, json
day = datetime.datetime.now(datetime.timezone.utc).replace(hour=12, minute=0, second=0, microsecond=0) - datetime.timedelta(days=1)
def rec(minute, event, grade, kind, before, after, seconds, **more):
    return dict(time=(day + datetime.timedelta(minutes=minute)).isoformat(), event=event, puzzle=100 + minute,
                difficulty=grade, kind=kind, before=before, after=after, seconds=seconds, level=1, **more)
log = [rec(1, "right", 0, 0, 30, 40, 50), rec(2, "wrong", 1, 1, 40, 38, 70, typed="кот"),
       rec(3, "right", 1, 1, 38, 58, 90), rec(4, "solution", 2, 3, 58, 18, 20)]
print(json.dumps({"Name": "Оля", "Label Index": 2, "Level": 1, "Scores": 18, "LD": 1, "MD": 1, "HD": 0,
                  "LU": 0, "MU": 1, "HU": 0, "Used Problems Info": [], "Used Problems count": 0,
                  "Problems on Level Info": [], "Problems on Level count": 0, "Answer log": log}, ensure_ascii=False))
PY
"$TOOLS_DIR/zentrika-profile" import "$WORK/player.json" >/dev/null || fail "the import failed"
"$TOOLS_DIR/zentrika-profile" stats Оля --json >"$WORK/stats.json" || fail "zentrika-profile stats failed"

(cd / && exec "$GAME" --video=window --screen=statistics --player=Оля) >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
PIDS+=($GPID)

timeout 50 /usr/bin/python3 "$(dirname "$0")/lib/statistics_read.py" "$WORK/stats.json" || fail "the accessibility client failed"
echo "OK: the statistics screen's figures, read through the accessibility interface, match zentrika-profile stats"
