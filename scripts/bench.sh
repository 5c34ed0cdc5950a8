#!/usr/bin/env bash
# Runs every benchmark of the release build and the start-up comparison, and
# writes the figures with their targets to docs/benchmarks.md.
#   scripts/bench.sh
# BENCH_REPETITIONS (default 5) repeats each Google Benchmark; BENCH_STARTUP_RUNS
# (default 21) is the number of timed starts of each program. Raw results are
# kept in build/release/bench-results.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
cd "$root"

reps=${BENCH_REPETITIONS:-5}
runs=${BENCH_STARTUP_RUNS:-21}
# The machine is shared: never more than two compile jobs.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}

mapfile -t benches < <(find tests/bench -maxdepth 1 -name 'bench_*.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort)
targets=(zentrika zentrika_assets minimal_window first_map "${benches[@]}")
# bench_display is among the benches; display_bench.sh below runs it at two scales.
if compgen -G 'content/puzzles/*/puzzle.toml' >/dev/null; then targets+=(puzzles); fi
"$here/setup.sh" release "${targets[@]}"

build=$root/build/release
out=$build/bench-results
rm -rf "$out"
mkdir -p "$out"
{
    echo "date=$(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "commit=$(git rev-parse --short HEAD)$(git diff --quiet HEAD -- src tests 2>/dev/null || echo ' (with uncommitted changes)')"
    echo "nproc=$(nproc)"
    echo "cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
    echo "kernel=$(uname -r)"
    echo "qt=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)"
    echo "sgt=$(dpkg-query -W -f='${Version}' sgt-puzzles 2>/dev/null || echo unknown)"
    echo "load_before=$(cut -d' ' -f1-3 /proc/loadavg)"
    echo "repetitions=$reps"
    echo "startup_runs=$runs"
} >"$out/machine.txt"

# Every program runs with a throwaway home, so that no run reads or changes the
# user's settings and each run starts from the same state.
home=$(mktemp -d)
unset ZENTRIKA_REGISTRY
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache
export XDG_RUNTIME_DIR=$home/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$home"
}
trap cleanup EXIT

# Google Benchmark programs, offscreen, each benchmark repeated; the resident
# memory figures want a fresh process each, so they run on their own.
for name in "${benches[@]}"; do
    exe=$build/bench/$name
    if [ ! -x "$exe" ]; then
        echo "missing $exe" >"$out/$name.error"
        continue
    fi
    echo "== $name"
    export QT_QPA_PLATFORM=offscreen
    rc=0
    "$exe" --benchmark_filter='-BM_CollectionResident' --benchmark_repetitions="$reps" \
        --benchmark_out="$out/$name.json" --benchmark_out_format=json 2>"$out/$name.stderr" || rc=$?
    [ "$rc" -eq 0 ] || echo "ended with status $rc, see $out/$name.stderr" >"$out/$name.error"
    for b in $("$exe" --benchmark_list_tests 2>/dev/null | grep '^BM_CollectionResident/' || true); do
        arg=$(cut -d/ -f2 <<<"$b")
        "$exe" --benchmark_filter="^$b\$" --benchmark_out="$out/resident_$arg.json" \
            --benchmark_out_format=json >/dev/null 2>>"$out/$name.stderr" || true
    done
    unset QT_QPA_PLATFORM
done

# Start-up, all three programs in turn on one X server, timed by the same
# watcher: ours also report their first paint; the GTK game is ended once mapped.
echo "== start-up"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || { echo "Xvfb did not start, see $out/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(head -1 "$out/display") NO_AT_BRIDGE=1 ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1
fm=$build/bench/first_map
sgt=/usr/games/sgt-net

tsv=$out/startup.tsv
printf 'program\tmap_us\tcpu_us\tpaint_us\n' >"$tsv"
programs=(minimal zentrika)
[ -x "$sgt" ] && programs+=(sgt-net)
launch_program() {  # label: runs it once under the watcher
    case $1 in
        minimal) start_one minimal --wait -- "$build/bench/minimal_window" ;;
        zentrika) start_one zentrika --wait -- "$build/game/zentrika" --video=window ;;
        sgt-net) start_one sgt-net -- "$sgt" ;;
    esac
}
start_one() {  # label, watcher options..., -- program...
    local label=$1 o launch map cpu paint
    shift
    if ! o=$("$fm" --timeout 30 "$@" 2>>"$out/startup.stderr"); then
        echo "$label: no window" >>"$out/startup.stderr"
        return 0
    fi
    launch=$(sed -n 's/^launch-us=//p' <<<"$o")
    map=$(sed -n 's/^map-us=//p' <<<"$o")
    cpu=$(sed -n 's/^cpu-us=//p' <<<"$o")
    paint=$(sed -n 's/^first-paint-us=//p' <<<"$o" | head -1)
    [ -n "$paint" ] && paint=$((paint - launch))
    printf '%s\t%s\t%s\t%s\n' "$label" "$map" "$cpu" "${paint:--}" >>"$tsv"
}
# One untimed start of each fills the file cache.
for p in "${programs[@]}"; do launch_program "$p"; done
sed -i '2,$d' "$tsv"
for _ in $(seq "$runs"); do
    for p in "${programs[@]}"; do launch_program "$p"; done
done
# One more start of the game, untimed, for where its start-up goes.
ZENTRIKA_STARTUP_TIMES=1 "$fm" --wait --timeout 30 -- "$build/game/zentrika" --video=window \
    >"$out/startup_steps.txt" 2>&1 || true
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=

echo "load_after=$(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
command="scripts/bench.sh"
for v in BENCH_STARTUP_RUNS BENCH_REPETITIONS; do
    if [ -n "${!v:-}" ]; then command="$v=${!v} $command"; fi
done
# Sections measured by hand stand below a marker line and are kept as they are.
marker='<!-- Sections below were measured by hand; scripts/bench.sh keeps them. -->'
kept=$(mktemp)
awk -v m="$marker" 'found || $0 == m {found = 1; print}' docs/benchmarks.md >"$kept" 2>/dev/null || true
/usr/bin/python3 "$here/bench_report.py" "$out" docs/benchmarks.md "$command"
# The game on large screens: its own X server (Xorg, dummy driver) and its own section.
if command -v Xorg >/dev/null; then
    "$root/tests/bench/display_bench.sh" "$build" "${BENCH_DISPLAY_RUNS:-11}" >"$out/display.md" 2>"$out/display.err" &&
        { echo; cat "$out/display.md"; } >>docs/benchmarks.md
fi
if [ -s "$kept" ]; then { echo; cat "$kept"; } >>docs/benchmarks.md; fi
rm -f "$kept"
echo "wrote docs/benchmarks.md"
