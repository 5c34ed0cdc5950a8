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
atspi_session "$@"
atspi_xvfb
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
