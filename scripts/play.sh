#!/usr/bin/env bash
# Sets everything up, builds, and starts the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" release
exec "$root/build/release/game/zentrika" "$@"
