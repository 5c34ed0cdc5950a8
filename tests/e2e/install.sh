#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a player's machine gets:
# the game in games/ with its files in share/games/zentrika, the tools, the
# manual pages, and valid desktop integration.
set -euo pipefail
build=$(dirname "$ZENTRIKA_GAME_DIR")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

data=share/games/zentrika
for f in games/zentrika $data/list.lst $data/Media.dll $data/Fonts/comic.ttf $data/Fonts/OFL.txt \
         $data/cursor.cur $data/hand.cur bin/zentrika-pack bin/zentrika-profile share/man/man6/zentrika.6.gz \
         share/applications/example.quorvane.Zentrika.desktop share/metainfo/example.quorvane.Zentrika.metainfo.xml \
         share/icons/hicolor/48x48/apps/zentrika.png share/icons/hicolor/scalable/apps/zentrika.svg; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -e "$prefix/$data/zentrika" ] && { echo "the program was installed with its data"; exit 1; }
[ "$(ls "$prefix/$data/Data" | wc -l)" -ge 100 ] || { echo "the collection was not installed"; exit 1; }

desktop-file-validate "$prefix/share/applications/example.quorvane.Zentrika.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.quorvane.Zentrika.metainfo.xml" >/dev/null

# The game finds its files from anywhere, relative to itself.
cd /
"$prefix/games/zentrika" --version | grep -q "Zentrika"
out=$(ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1 ZENTRIKA_REGISTRY=$prefix/registry.sqlite3 QT_QPA_PLATFORM=offscreen \
      timeout 60 "$prefix/games/zentrika" --video=window --diagnostics 2>&1)
grep -qx "media=$prefix/$data/Media.dll" <<<"$out" || { echo "the installed game did not find its files:"; echo "$out"; exit 1; }
"$prefix/bin/zentrika-pack" check "$prefix/$data" >/dev/null
echo "installed and checked under $prefix"
