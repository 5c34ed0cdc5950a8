#!/usr/bin/env bash
# Builds the Debian package zentrika_<version>_amd64.deb with CPack from a
# release build without tests (preset "package", build/package), and prints
# its path. Installs what is missing first, like the other scripts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The machine is shared: two compile jobs unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
# An existing build tree takes the preset's settings again, should they have changed.
if [ -f build/package/CMakeCache.txt ]; then cmake --preset package >/dev/null; fi
"$root/scripts/setup.sh" package >&2
rm -f build/package/package/zentrika_*.deb
(cd build/package && cpack -G DEB >&2)
ls "$root"/build/package/package/zentrika_*_amd64.deb
