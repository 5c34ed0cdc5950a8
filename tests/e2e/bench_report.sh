#!/usr/bin/env bash
# The benchmark report judges figures right: wall against the target, CPU as
# the fallback a busy machine needs, ratios against their peers, and it says
# "not measured" instead of passing what never ran.
set -euo pipefail
report=$ZENTRIKA_SOURCE_DIR/scripts/bench_report.py
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
expect() {  # file, fixed string, why
    grep -qF -- "$2" "$1" || { echo "missing in $(basename "$1"): $2  ($3)"; fail=1; }
}
refuse() {  # file, fixed string, why
    ! grep -qF -- "$2" "$1" || { echo "unexpected in $(basename "$1"): $2  ($3)"; fail=1; }
}
agg() {  # name, run_name, aggregate, real, cpu, unit
    printf '{"name":"%s_%s","run_name":"%s","run_type":"aggregate","aggregate_name":"%s","real_time":%s,"cpu_time":%s,"time_unit":"%s"}' \
        "$2" "$3" "$2" "$3" "$4" "$5" "$6"
}

# A full run: every kind of row once.
r=$tmp/full
mkdir -p "$r"
printf 'date=today\nnproc=2\ncpu=Test CPU\nload_before=1 2 3\nload_after=4 5 6\nrepetitions=5\nstartup_runs=3\n' >"$r/machine.txt"
cat >"$r/bench_core.json" <<EOF
{"benchmarks":[
$(agg x BM_LoadCatalogue/10000/repeats:9 median 12 11 ms),
$(agg x BM_LoadCatalogue/10000/repeats:9 cv 0.05 0.05 ms),
$(agg x BM_LoadDataWithoutPicture/repeats:5 median 300 150 us),
$(agg x BM_SaveToRegistry/repeats:5 median 9 8 ms),
$(agg x BM_CreateFromRegistry/repeats:5 median 1000 900 us),
$(agg x BM_LoadCatalogue/1000/repeats:9 median 1.5 1.4 ms)
]}
EOF
cat >"$r/bench_screens.json" <<EOF
{"benchmarks":[
$(agg x BM_GameSelectionChange median 6 5 ms),
$(agg x BM_CollectionSelectionChange median 3 5 ms),
$(agg x BM_BareDecodeAndScale median 2 2 ms)
]}
EOF
for n in 100 10000; do
    kb=$([ "$n" = 100 ] && echo 20480 || echo 30720)
    printf '{"benchmarks":[{"name":"BM_CollectionResident/%s/iterations:1","run_type":"iteration","real_time":1,"cpu_time":1,"time_unit":"ms","resident_kb":%s}]}' \
        "$n" "$kb" >"$r/resident_$n.json"
done
printf 'program\tmap_us\tcpu_us\tpaint_us\n' >"$r/startup.tsv"
for i in 1 2 3; do
    printf 'minimal\t100000\t20000\t110000\nzentrika\t150000\t40000\t%s\nsgt-net\t300000\t50000\t-\n' \
        $((150000 + i * 10000)) >>"$r/startup.tsv"
done
printf '     0.0 ms  main\nno sound\n    30.0 ms  first paint\nfirst-paint-us=1000080000\nlaunch-us=1000000000\n' \
    >"$r/startup_steps.txt"
python3 "$report" "$r" "$tmp/full.md" "scripts/bench.sh"
md=$tmp/full.md
expect "$md" "| Load a 10,000-section catalogue | \`bench_core\` BM_LoadCatalogue/10000 | 12.00 ms | 11.00 ms | 5 % | ≤ 20.00 ms | met |" "median under target"
expect "$md" "300.0 µs | 150.0 µs | – | ≤ 200.0 µs | **wall time missed**, met on CPU time" "units converted, CPU fallback"
expect "$md" "9.00 ms | 8.00 ms | – | ≤ 5.00 ms | **not met**" "both over target"
expect "$md" "BM_GameSelectionChange ÷ BM_BareDecodeAndScale | 3.00× | 2.50× | – | ≤ 2.0× | **not met**" "ratio against the bare decode"
expect "$md" "BM_CollectionSelectionChange ÷ BM_BareDecodeAndScale | 1.50× | 2.50× | – | ≤ 2.0× | met on wall time, **not on CPU time**" "a wall pass the CPU time contradicts"
expect "$md" "| 10.0 MB more |" "resident difference from fresh processes"
expect "$md" "| \`bench_core\` BM_LoadCatalogue/1000 | 1.50 ms |" "figures without target still listed"
refuse "$md" "repeats:" "repetition suffix stripped from names"
expect "$md" "| Game ÷ minimal Qt window, first paint | 1.55× | 2.00× | ≤ 1.2× | **not met** |" "start-up ratio of medians"
expect "$md" "| Game ÷ sgt-puzzles Net, first window | 0.50× | 0.80×" "peer ratio"
expect "$md" "| \`zentrika --video=window\` | 170 ms | 150 ms | 40.00 ms | 3 |" "start-up medians and run count"
expect "$md" "\`bench_alphalabel\` does not exist yet" "a missing program is named"
expect "$md" "    50.0 ms  before main (about)" "time to main from the process start and the game's own steps"
refuse "$md" "    no sound" "only step lines are quoted"
expect "$md" "Load average" "machine load recorded"
refuse "$md" "Every target is met" "misses must not read as success"

# Nothing ran: every row says so, none says met.
r=$tmp/empty
mkdir -p "$r"
printf 'date=today\n' >"$r/machine.txt"
echo "ended with status 134" >"$r/bench_core.error"
python3 "$report" "$r" "$tmp/empty.md" "scripts/bench.sh"
md=$tmp/empty.md
expect "$md" "BM_LoadCatalogue/10000 | – | – | – | ≤ 20.00 ms | **not measured**" "a crashed program's figures"
expect "$md" "\`bench_core\`: ended with status 134" "the crash is reported"
expect "$md" "| Game ÷ minimal Qt window, first paint | – | – | ≤ 1.2× | **not measured** |" "no start-up data"
refuse "$md" "| met |" "nothing measured, nothing met"
refuse "$md" "Every target is met" "nothing measured, nothing met"
exit $fail
