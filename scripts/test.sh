#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite:
#   1. every test of the debug build (unit, GUI offscreen, end-to-end, content);
#   2. the unit and GUI tests again under AddressSanitizer + UndefinedBehaviorSanitizer;
#   3. each fuzz target for 60 s on its seed corpus.
# Extra arguments go to the first ctest run (e.g. -R Catalogue).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/setup.sh" debug
ctest --preset debug "$@"

"$root/scripts/setup.sh" asan
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/asan/lsan.supp" \
  ctest --preset asan -L unit
# The leak checker's own tracer can crash at exit while Qt's and the sound
# device's threads wind down; the GUI tests keep every other sanitizer check.
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan -L gui

"$root/scripts/fuzz.sh" "${ZENTRIKA_FUZZ_SECONDS:-60}"
