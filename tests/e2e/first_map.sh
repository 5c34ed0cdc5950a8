#!/usr/bin/env bash
# The start-up watcher: it times a real window, says so when a program ends
# without one instead of hanging or reporting a time, and never leaves the
# program it watched running.
set -euo pipefail
bench=$(dirname "$ZENTRIKA_GAME_DIR")/bench
fm=$bench/first_map
minimal=$bench/minimal_window
[ -x "$fm" ] && [ -x "$minimal" ] || { echo "no benchmarks in this build"; exit 77; }
command -v Xvfb >/dev/null || { echo "no Xvfb"; exit 77; }

tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$tmp/display") QT_QPA_PLATFORM=xcb
fail=0

# A program that maps its window, then leaves by itself after its first paint.
out=$(ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1 "$fm" --wait -- "$minimal")
grep -qE '^map-us=[0-9]+$' <<<"$out" || { echo "no map time: $out"; fail=1; }
grep -qE '^cpu-us=[1-9][0-9]*$' <<<"$out" || { echo "no CPU time: $out"; fail=1; }
grep -q '^first-paint-us=' <<<"$out" || { echo "the program's own output was lost: $out"; fail=1; }

# One that would run for ever: ended once mapped, well before the timeout.
start=$SECONDS
"$fm" --timeout 60 -- "$minimal" >/dev/null || { echo "a mapped window was not reported"; fail=1; }
[ $((SECONDS - start)) -lt 30 ] || { echo "waited for a program that never ends"; fail=1; }
if xdotool search --onlyvisible --classname minimal_window >/dev/null 2>&1; then
    echo "the watched program was left running"; fail=1
fi

# One that ends without a window: a failure, reported at once.
start=$SECONDS
if out=$("$fm" --timeout 60 -- /bin/true 2>/dev/null); then
    echo "a program without a window passed: $out"; fail=1
fi
grep -q '^map-us=' <<<"$out" && { echo "a map time for no window"; fail=1; }
[ $((SECONDS - start)) -lt 30 ] || { echo "waited out the timeout for a program that had ended"; fail=1; }

# One that cannot be started at all.
"$fm" -- "$tmp/no-such-program" >/dev/null 2>&1 && { echo "a missing program passed"; fail=1; }
exit $fail
