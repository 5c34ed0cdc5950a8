#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite:
#   1. the debug build of everything but the unit and GUI test executables, and its
#      tests (end-to-end, the Debian package, content, lint); it also compiles the
#      benchmarks and doc_screens, so they cannot rot;
#   2. each fuzz target for 5 s (ZENTRIKA_FUZZ_SECONDS) over its seed corpus, so a
#      seed that crashes fails the run; scripts/fuzz.sh fuzzes for 5 min by hand;
#   3. the unit and GUI tests under AddressSanitizer + UndefinedBehaviorSanitizer,
#      building only those two executables and what they need. They build and run
#      here only, not in step 1 as well: the same tests with the sanitizers' checks
#      on top, and compiling them twice cost the command 3.4 min of CPU
#      (docs/test-time.md). `ctest --preset debug` after a whole
#      `cmake --build --preset debug` still runs them unsanitized. Last, so that the
#      output closes with ctest's summary.
# Extra arguments go to every ctest run (e.g. -R Catalogue).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/setup.sh" debug all_but_unit_and_gui_tests
# The two executables are not built here, so their tests' placeholders are left out too.
ctest --preset debug -LE '^(unit|gui)$' -E '^(unit|gui)_tests_NOT_BUILT$' "$@"

"$root/scripts/fuzz.sh" "${ZENTRIKA_FUZZ_SECONDS:-5}"

"$root/scripts/setup.sh" asan unit_tests gui_tests
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/asan/lsan.supp" \
  ctest --preset asan -L unit "$@"
# The leak checker's own tracer can crash at exit while Qt's and the sound
# device's threads wind down; the GUI tests keep every other sanitizer check.
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan -L gui "$@"
