#!/bin/bash
# The game on large screens, against the minimal Qt window, on Xorg with the
# dummy driver: start-up to the first paint (wall and CPU), peak resident memory,
# and the offscreen figures of bench_display at factor 1 (800 x 600) and 1.8
# (1920 x 1080). Prints a Markdown section on stdout.
#   tests/bench/display_bench.sh [build dir (default build/release)] [runs (default 11)]
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build/release}
RUNS=${2:-11}
GAME=$BUILD/game/zentrika
BASE=$BUILD/bench/minimal_window
BENCH=$BUILD/bench/bench_display
for f in "$GAME" "$BASE" "$BENCH"; do
    [ -x "$f" ] || { echo "missing $f" >&2; exit 2; }
done
# Without its puzzles the game stops on the catalogue's error box, which
# nobody here would close: say so rather than wait.
[ -f "$BUILD/game/list.lst" ] || {
    echo "no puzzle catalogue at $BUILD/game/list.lst: build the collection first" \
        "(cmake --build $BUILD --target puzzles)" >&2
    exit 2
}
XORG=$(command -v Xorg) || { echo "needs Xorg" >&2; exit 2; }
. "$ROOT/tests/e2e/lib/dummy_xorg.sh"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
export XDG_RUNTIME_DIR=$WORK/runtime NO_AT_BRIDGE=1 ZENTRIKA_REGISTRY=$WORK/registry.sqlite3
# Each start to the first paint asks for its own exit; the resident memory runs
# must not inherit that from a caller (scripts/bench.sh exports it).
unset ZENTRIKA_EXIT_AFTER_FIRST_PAINT
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
OUTPUT=$(xrandr | awk '/ connected/ {print $1; exit}')

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# One start to the first paint: "wall_ms cpu_ms".
# The CPU time is the program's own (user + system up to the first paint);
# /usr/bin/time's, to the exit and in 10 ms steps, stands in where it has none.
# A program that has not painted and ended within START_LIMIT seconds (a box
# waiting for an answer, say) ends the whole run; DISPLAY_BENCH_START_LIMIT
# sets another limit.
START_LIMIT=${DISPLAY_BENCH_START_LIMIT:-30}
start_once() {
    local start out painted cpu rc=0
    start=$(date +%s%6N)
    out=$(ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1 /usr/bin/time -f 'cpu %U %S' -o "$WORK/time" \
        timeout -k 5 "$START_LIMIT" "$@" 2>/dev/null) || rc=$?
    painted=$(sed -n 's/^first-paint-us=//p' <<<"$out")
    if [ -z "$painted" ]; then
        if [ "$rc" = 124 ]; then
            echo "$* did not paint and end within $START_LIMIT s" >&2
        else
            echo "$* ended with $rc before its first paint" >&2
        fi
        exit 1
    fi
    cpu=$(sed -n 's/^first-paint-cpu-us=//p' <<<"$out" | awk '{printf "%.1f", $1 / 1000}')
    [ -n "$cpu" ] || cpu=$(awk '/^cpu/ {printf "%.1f", ($2 + $3) * 1000}' "$WORK/time")
    awk -v p="$painted" -v s="$start" -v c="$cpu" 'BEGIN {printf "%.1f %s\n", (p - s) / 1000, c}'
}
# Median wall and CPU of RUNS starts of each program, taken in turn. The
# minimal window runs as BASE_RUN says: in full screen it fills the same
# screen at the game's factor, so that both paint as many pixels.
BASE_RUN=("$BASE")
startup() {
    local label=$1
    shift
    : >"$WORK/a"
    : >"$WORK/b"
    start_once "${BASE_RUN[@]}" >/dev/null
    start_once "$@" >/dev/null
    for _ in $(seq "$RUNS"); do
        start_once "${BASE_RUN[@]}" >>"$WORK/a"
        start_once "$@" >>"$WORK/b"
    done
    local bw bc gw gc
    bw=$(cut -d' ' -f1 "$WORK/a" | median)
    bc=$(cut -d' ' -f2 "$WORK/a" | median)
    gw=$(cut -d' ' -f1 "$WORK/b" | median)
    gc=$(cut -d' ' -f2 "$WORK/b" | median)
    awk -v l="$label" -v bw="$bw" -v bc="$bc" -v gw="$gw" -v gc="$gc" 'BEGIN {
        printf "| %s | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.2f× | %.2f× | %s |\n", l, gw, gc, bw, bc, gw / bw, gc / bc,
            (gw / bw <= 1.2) ? "met" : "**not met**" }'
}
# Peak resident memory (kB) of a program over its first 4 s (painted and settled)
# and its exit on SIGTERM, as the kernel counts it for the finished process.
# Reading /proc/PID/status instead gave "?" whenever the program was no longer
# running by then (an exited process's status has no VmRSS); a program that
# ends on its own before it is stopped is named as such, not given a figure.
resident() {
    /usr/bin/time -f '%M' -o "$WORK/rss" "$@" >/dev/null 2>&1 &
    local timer=$! prog
    sleep 4
    prog=$(ps -o pid= --ppid "$timer" | tr -d ' ')
    if [ -z "$prog" ]; then
        wait "$timer"
        echo "ended before it was measured (status $?)"
        return
    fi
    kill -TERM "$prog"
    wait "$timer" 2>/dev/null
    echo "$(tail -1 "$WORK/rss") kB"
}

echo "## The game on large screens"
echo
echo "From \`tests/bench/display_bench.sh $BUILD $RUNS\` on $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$ROOT" rev-parse --short HEAD), load $(cut -d' ' -f1-3 /proc/loadavg). Xorg with the dummy driver, no window manager; medians of $RUNS starts of each program, taken in turn. CPU is user + system time (all threads) up to the first paint, as each program reports it."
echo
echo "| Start-up to the first paint | Game wall | Game CPU | Minimal window wall | Minimal window CPU | Wall ratio | CPU ratio | ≤ 1.2× |"
echo "|---|---|---|---|---|---|---|---|"
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null
startup "window, 800 × 600 (screen 1024 × 768)" "$GAME" --video=window
xrandr --output "$OUTPUT" --mode 1920x1080 >/dev/null
BASE_RUN=(env QT_SCALE_FACTOR=1.8 "$BASE" --full-screen)
startup "scale, 1920 × 1080 (minimal window full screen at factor 1.8)" "$GAME"
BASE_RUN=("$BASE")
startup "scale, 1920 × 1080 (minimal window 800 × 600, as before)" "$GAME"
echo
echo "| Peak resident memory | Game | Minimal window |"
echo "|---|---|---|"
xrandr --output "$OUTPUT" --mode 1024x768 >/dev/null
echo "| window, 800 × 600 | $(resident "$GAME" --video=window) | $(resident "$BASE") |"
xrandr --output "$OUTPUT" --mode 3840x2160 >/dev/null
echo "| scale, 3840 × 2160 | $(resident "$GAME") | $(resident "$BASE") |"
echo
echo "Offscreen, \`bench_display\` (5 repetitions, median; targets: repaint ≤ 8 ms at 1.8, each screen change ≤ 16 ms):"
echo
echo "| Benchmark | Factor 1 (800 × 600) wall / CPU | Factor 1.8 (1920 × 1080) wall / CPU |"
echo "|---|---|---|"
for s in 1 1.8; do
    ZENTRIKA_BENCH_SCALE=$s QT_QPA_PLATFORM=offscreen "$BENCH" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>/dev/null | grep '_median"' >"$WORK/bench_$s.csv"
done
while IFS=, read -r name _ real cpu _; do
    n=$(echo "$name" | tr -d '"' | sed 's/_median$//')
    other=$(grep "^\"$n""_median\"" "$WORK/bench_1.8.csv" | awk -F, '{printf "%.2f ms / %.2f ms", $3, $4}')
    printf '| %s | %.2f ms / %.2f ms | %s |\n' "$n" "$real" "$cpu" "$other"
done <"$WORK/bench_1.csv"
