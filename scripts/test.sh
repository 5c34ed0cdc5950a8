#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" debug
cd "$root"
export QT_QPA_PLATFORM=offscreen
ctest --preset debug "$@"
