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
# In full screen the yardstick fills the same screen at the game's factor
# (the 800 x 600 picture fitted to it), so both paint as many pixels.
BASE_RUN=("$BASE")
if [ "$VIDEO" = scale ]; then
    factor=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ {split($2, s, "x"); f = s[1] / 800; if (s[2] / 600 < f) f = s[2] / 600; print f; exit}')
    [ -n "$factor" ] || { echo "no screen size from xdpyinfo" >&2; exit 2; }
    BASE_RUN=(env QT_SCALE_FACTOR="$factor" "$BASE" --full-screen)
fi
# Microseconds from exec to the first paint, as the program reports it; the
# CPU time it took (user + system, all threads) goes to $CPU_LOG.
CPU_LOG=$(mktemp)
trap 'rm -f "$CPU_LOG"' EXIT
measure() {  # label, program...
    local label=$1 start out painted
    shift
    start=$(date +%s%6N)
    out=$("$@" 2>/dev/null)
    painted=$(sed -n 's/^first-paint-us=//p' <<<"$out")
    [ -n "$painted" ] || { echo "no first paint from $1" >&2; exit 1; }
    echo "$label $(sed -n 's/^first-paint-cpu-us=//p' <<<"$out")" >>"$CPU_LOG"
    echo $((painted - start))
}
# Median CPU microseconds of the timed starts of one program.
# Nothing for a program that does not report it (an older build).
cpu_median() {
    local v
    v=$(awk -v p="$1" '$1 == p && NF == 2 {print $2}' "$CPU_LOG")
    [ -z "$v" ] || median <<<"$v"
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2] + a[NR/2+1]) / 2)}'; }
ratio() { awk -v g="$1" -v b="$2" 'BEGIN {printf "%.2f", g / b}'; }

# One untimed run of each warms the file cache.
measure base "${BASE_RUN[@]}" >/dev/null
measure game "$GAME" --video="$VIDEO" >/dev/null
[ -n "$BEFORE" ] && measure before "$BEFORE" --video="$VIDEO" >/dev/null
: >"$CPU_LOG"
game=() base=() before=()
for _ in $(seq "$RUNS"); do
    base+=("$(measure base "${BASE_RUN[@]}")")
    [ -n "$BEFORE" ] && before+=("$(measure before "$BEFORE" --video="$VIDEO")")
    game+=("$(measure game "$GAME" --video="$VIDEO")")
done
gm=$(printf '%s\n' "${game[@]}" | median)
bm=$(printf '%s\n' "${base[@]}" | median)
echo "runs: $RUNS, load $(cut -d' ' -f1-3 /proc/loadavg)"
bc=$(cpu_median base)
gc=$(cpu_median game)
echo "minimal Qt window, median: $((bm / 1000)) ms, CPU ${bc:+$((bc / 1000)) ms}  (${base[*]} us)"
if [ -n "$BEFORE" ]; then
    om=$(printf '%s\n' "${before[@]}" | median)
    oc=$(cpu_median before)
    echo "before ($BEFORE --video=$VIDEO), median: $((om / 1000)) ms, ratio $(ratio "$om" "$bm")${oc:+, CPU $((oc / 1000)) ms, ratio $(ratio "$oc" "$bc")}  (${before[*]} us)"
fi
echo "zentrika --video=$VIDEO, median: $((gm / 1000)) ms, CPU ${gc:+$((gc / 1000)) ms}  (${game[*]} us)"
[ -n "$gc" ] && [ -n "$bc" ] && echo "CPU ratio: $(ratio "$gc" "$bc")"
r=$(ratio "$gm" "$bm")
echo "ratio: $r (target <= 1.20)"
awk -v r="$r" 'BEGIN {exit !(r <= 1.2)}' && echo "PASS" || { echo "FAIL"; exit 1; }
