#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite:
#   1. every test of the debug build (unit, GUI offscreen, end-to-end, content, lint);
#      the debug build also compiles the benchmarks and doc_screens, so they cannot rot;
#   2. each fuzz target for 5 s (ZENTRIKA_FUZZ_SECONDS) over its seed corpus, so a
#      seed that crashes fails the run; scripts/fuzz.sh fuzzes for 5 min by hand;
#   3. the unit and GUI tests again under AddressSanitizer + UndefinedBehaviorSanitizer,
#      building only those two executables and what they need. Last, so that the
#      output closes with ctest's summary.
# Extra arguments go to the first ctest run (e.g. -R Catalogue).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/setup.sh" debug
ctest --preset debug "$@"

"$root/scripts/fuzz.sh" "${ZENTRIKA_FUZZ_SECONDS:-5}"

"$root/scripts/setup.sh" asan unit_tests gui_tests
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/asan/lsan.supp" \
  ctest --preset asan -L unit
# The leak checker's own tracer can crash at exit while Qt's and the sound
# device's threads wind down; the GUI tests keep every other sanitizer check.
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan -L gui
