#!/usr/bin/env bash
# The Debian package as a player's machine gets it: built from the release
# tree, lintian-clean, laid out the Debian way for games, and playable from
# its unpacked files (the game finds its data beside /usr/games, the tool
# checks the collection there).
set -uo pipefail
SOURCE_DIR=${ZENTRIKA_SOURCE_DIR:?ZENTRIKA_SOURCE_DIR is not set}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

deb=$("$SOURCE_DIR/scripts/package.sh" 2>"$WORK/package.log") || {
    tail -40 "$WORK/package.log"
    fail "the package did not build"
}
[ -f "$deb" ] || fail "package.sh named no package: '$deb'"
echo "built $deb"
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "zentrika_${version}_amd64.deb" ] || fail "unexpected file name $(basename "$deb")"

# No errors and no warnings; every override in the package carries its reason.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$WORK/lintian.out" 2>&1 || {
    cat "$WORK/lintian.out"
    fail "lintian found errors or warnings"
}
grep -E '^[EW]: ' "$WORK/lintian.out" && fail "lintian reported the lines above"

# Libraries come from dpkg-shlibdeps, which writes versioned entries.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libqt6svg6 libsqlite3-0 libsdl2-2.0-0 libxrandr2; do
    [[ $depends =~ (^|, )$lib\ \(\>= ]] || fail "Depends lacks a computed $lib: $depends"
done
[[ $depends == *qt6-qpa-plugins* ]] || fail "Depends lacks the display plugins: $depends"
# The window scale uses Qt's private API: the package holds to the Qt it was built with.
qt_version=$(qmake6 -query QT_VERSION)
[[ $depends =~ (^|, )qt6-base-abi\ \(=\ ${qt_version//./\\.}\)(,|$) ]] \
    || fail "Depends lacks qt6-base-abi (= $qt_version): $depends"

ROOT=$WORK/root
dpkg-deb -x "$deb" "$ROOT" || fail "dpkg-deb -x failed"
DATA=$ROOT/usr/share/games/zentrika
for f in usr/games/zentrika usr/bin/zentrika-pack usr/bin/zentrika-profile \
         usr/share/games/zentrika/list.lst usr/share/games/zentrika/Media.dll \
         usr/share/games/zentrika/Fonts/comic.ttf usr/share/games/zentrika/Fonts/comicbd.ttf \
         usr/share/games/zentrika/Fonts/OFL.txt usr/share/games/zentrika/cursor.cur usr/share/games/zentrika/hand.cur \
         usr/share/man/man6/zentrika.6.gz usr/share/man/ru/man6/zentrika.6.gz usr/share/man/man1/zentrika-pack.1.gz usr/share/man/man1/zentrika-profile.1.gz \
         usr/share/doc/zentrika/copyright usr/share/doc/zentrika/changelog.gz \
         usr/share/applications/example.quorvane.Zentrika.desktop usr/share/metainfo/example.quorvane.Zentrika.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/zentrika.png usr/share/icons/hicolor/scalable/apps/zentrika.svg; do
    [ -e "$ROOT/$f" ] || fail "missing from the package: /$f"
done
[ "$(find "$DATA/Data" -name '*.dat' | wc -l)" -ge 100 ] || fail "the collection is not in the package"
[ -z "$(find "$DATA" -type f -perm /111)" ] || fail "data files are executable: $(find "$DATA" -type f -perm /111 | head -3)"
grep -q '^License: OFL-1.1' "$ROOT/usr/share/doc/zentrika/copyright" || fail "the copyright file does not name the font's licence"
zcat "$ROOT/usr/share/doc/zentrika/changelog.gz" | head -1 | grep -qF "zentrika ($version)" ||
    fail "the changelog's newest entry is not $version"

# Both manuals name every option the program itself lists.
for page in man6/zentrika.6.gz ru/man6/zentrika.6.gz; do
    text=$(zcat "$ROOT/usr/share/man/$page" | sed 's/\\-/-/g')
    for option in $("$ROOT/usr/games/zentrika" --help | grep -o -- '--[a-z]\+' | sort -u); do
        grep -q -- "$option" <<<"$text" || fail "$page does not describe $option"
    done
done

# The unpacked game runs from anywhere and finds its files beside /usr/games.
cd /
"$ROOT/usr/games/zentrika" --version | grep -qx "Zentrika $version" || fail "--version does not say $version"
ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1 ZENTRIKA_REGISTRY=$WORK/registry.sqlite3 QT_QPA_PLATFORM=offscreen \
    timeout 60 "$ROOT/usr/games/zentrika" --video=window --diagnostics >"$WORK/game.out" 2>"$WORK/game.err" || {
    cat "$WORK/game.out" "$WORK/game.err"
    fail "the unpacked game did not reach its first paint"
}
grep -q '^first-paint-us=' "$WORK/game.out" || fail "no first paint"
grep -qx "media=$DATA/Media.dll" "$WORK/game.out" || fail "the media library was not taken from $DATA: $(grep ^media= "$WORK/game.out")"
grep -qx "cursors=2" "$WORK/game.out" || fail "the cursors were not found: $(grep ^cursors= "$WORK/game.out")"
"$ROOT/usr/bin/zentrika-pack" check "$DATA" >"$WORK/check.out" 2>&1 || {
    cat "$WORK/check.out"
    fail "zentrika-pack check found errors in the packaged collection"
}
echo "PASS: $(basename "$deb") is lintian-clean and plays from its unpacked files"
