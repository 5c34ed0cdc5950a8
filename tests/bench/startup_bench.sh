#!/bin/bash
# Start-up to the first painted main form: the game against a bare Qt Widgets
# program that opens one window, run alternately on one X server, both in a
# window (no display mode switch). Target: the game's median at most 1.2 times
# the yardstick's.
#   tests/bench/startup_bench.sh [build dir (default build/release)] [runs (default 15)]
# Needs xvfb-run unless $DISPLAY is set.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build/release}
RUNS=${2:-15}
GAME=$BUILD/game/zentrika
BASE=$BUILD/bench/minimal_window
for f in "$GAME" "$BASE"; do
    [ -x "$f" ] || { echo "missing $f: cmake --preset release && cmake --build --preset release --target zentrika minimal_window" >&2; exit 2; }
done

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$BUILD" "$RUNS"
fi

export ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1
# Microseconds from exec to the first paint, as the program reports it.
measure() {
    local start painted
    start=$(date +%s%6N)
    painted=$("$@" 2>/dev/null | sed -n 's/^first-paint-us=//p')
    [ -n "$painted" ] || { echo "no first paint from $1" >&2; exit 1; }
    echo $((painted - start))
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2] + a[NR/2+1]) / 2)}'; }

# One untimed run of each warms the file cache.
measure "$BASE" >/dev/null
measure "$GAME" --video=window >/dev/null
game=() base=()
for _ in $(seq "$RUNS"); do
    base+=("$(measure "$BASE")")
    game+=("$(measure "$GAME" --video=window)")
done
gm=$(printf '%s\n' "${game[@]}" | median)
bm=$(printf '%s\n' "${base[@]}" | median)
ratio=$(awk -v g="$gm" -v b="$bm" 'BEGIN {printf "%.2f", g / b}')
echo "runs: $RUNS"
echo "minimal Qt window, median: $((bm / 1000)) ms  (${base[*]} us)"
echo "zentrika --video=window, median: $((gm / 1000)) ms  (${game[*]} us)"
echo "ratio: $ratio (target <= 1.20)"
awk -v r="$ratio" 'BEGIN {exit !(r <= 1.2)}' && echo "PASS" || { echo "FAIL"; exit 1; }
