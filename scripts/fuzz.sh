#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) and runs each for SECONDS (default 300) on
# a scratch copy of its seed corpus, two at a time. Any crash, leak or
# sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
cd "$root"
[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
targets=$(ls tests/fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build --preset fuzz -j2 --target $targets
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp"
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run_one() {
  local t=$1 name=${1#fuzz_}
  mkdir -p "$scratch/$name"
  cp -r "tests/fuzz/corpus/$name/." "$scratch/$name/" 2>/dev/null || true
  local dict=()
  [ -f "tests/fuzz/$name.dict" ] && dict=(-dict="tests/fuzz/$name.dict")
  if "build/fuzz/tests/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$scratch/$t-" "${dict[@]}" "$scratch/$name" >"$scratch/$t.log" 2>&1; then
    # INITED: every seed ran, so a short run still catches a seed that crashes.
    grep -q 'INITED cov' "$scratch/$t.log" || { echo "$t: FAILED, the seeds did not all run"; return 1; }
    echo "$t: $(grep -o 'Done [0-9]* runs' "$scratch/$t.log" | tail -1) in ${seconds} s, clean"
  else
    echo "$t: FAILED"; tail -40 "$scratch/$t.log"; return 1
  fi
}
status=0
pids=()
for t in $targets; do
  run_one "$t" & pids+=($!)
  if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}" || status=1; pids=("${pids[@]:1}"); fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
[ $status -eq 0 ] && echo "fuzz: $(echo $targets | wc -w) passed, 0 failed"
exit $status
