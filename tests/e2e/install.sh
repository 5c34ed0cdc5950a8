#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a player's machine gets:
# the game's folder, the launcher, the tools, and valid desktop integration.
set -euo pipefail
build=$(dirname "$ZENTRIKA_GAME_DIR")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in lib/zentrika/zentrika lib/zentrika/list.lst lib/zentrika/Media.dll lib/zentrika/Fonts/comic.ttf \
         lib/zentrika/cursor.cur lib/zentrika/hand.cur bin/zentrika bin/zentrika-pack bin/zentrika-profile \
         share/applications/example.quorvane.Zentrika.desktop share/metainfo/example.quorvane.Zentrika.metainfo.xml \
         share/icons/hicolor/48x48/apps/zentrika.png share/icons/hicolor/scalable/apps/zentrika.svg; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ "$(ls "$prefix/lib/zentrika/Data" | wc -l)" -ge 100 ] || { echo "the collection was not installed"; exit 1; }

desktop-file-validate "$prefix/share/applications/example.quorvane.Zentrika.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.quorvane.Zentrika.metainfo.xml" >/dev/null

# The launcher finds the game's folder from anywhere.
cd /
"$prefix/bin/zentrika" --version | grep -q "Zentrika"
"$prefix/bin/zentrika-pack" check "$prefix/lib/zentrika" >/dev/null
echo "installed and checked under $prefix"
