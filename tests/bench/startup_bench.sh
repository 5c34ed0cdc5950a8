#!/bin/bash
# Start-up to the first painted main form: the game against a bare Qt Widgets
# program that opens one window, run alternately on one X server. Target: the
# game's median at most 1.2 times the yardstick's.
#   tests/bench/startup_bench.sh [build dir (default build/release)] [runs (default 15)]
# ZENTRIKA_VIDEO=scale measures full screen (default: window, no display mode
# switch); ZENTRIKA_BEFORE=/path/to/an/older/zentrika (beside its own data
# files) is timed in the same turns, for a before and after from one run.
# Needs xvfb-run unless $DISPLAY is set.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build/release}
RUNS=${2:-15}
VIDEO=${ZENTRIKA_VIDEO:-window}
BEFORE=${ZENTRIKA_BEFORE:-}
GAME=$BUILD/game/zentrika
BASE=$BUILD/bench/minimal_window
for f in "$GAME" "$BASE" ${BEFORE:+"$BEFORE"}; do
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
ratio() { awk -v g="$1" -v b="$2" 'BEGIN {printf "%.2f", g / b}'; }

# One untimed run of each warms the file cache.
measure "$BASE" >/dev/null
measure "$GAME" --video="$VIDEO" >/dev/null
[ -n "$BEFORE" ] && measure "$BEFORE" --video="$VIDEO" >/dev/null
game=() base=() before=()
for _ in $(seq "$RUNS"); do
    base+=("$(measure "$BASE")")
    [ -n "$BEFORE" ] && before+=("$(measure "$BEFORE" --video="$VIDEO")")
    game+=("$(measure "$GAME" --video="$VIDEO")")
done
gm=$(printf '%s\n' "${game[@]}" | median)
bm=$(printf '%s\n' "${base[@]}" | median)
echo "runs: $RUNS, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "minimal Qt window, median: $((bm / 1000)) ms  (${base[*]} us)"
if [ -n "$BEFORE" ]; then
    om=$(printf '%s\n' "${before[@]}" | median)
    echo "before ($BEFORE --video=$VIDEO), median: $((om / 1000)) ms, ratio $(ratio "$om" "$bm")  (${before[*]} us)"
fi
echo "zentrika --video=$VIDEO, median: $((gm / 1000)) ms  (${game[*]} us)"
r=$(ratio "$gm" "$bm")
echo "ratio: $r (target <= 1.20)"
awk -v r="$r" 'BEGIN {exit !(r <= 1.2)}' && echo "PASS" || { echo "FAIL"; exit 1; }
