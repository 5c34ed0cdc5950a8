#!/bin/sh
# Every C++ file of the project as .clang-format lays it out (Debian's
# clang-format 14; other versions lay some lines out differently).
# Usage: format_check.sh SOURCE_ROOT      fails naming each file that differs
#        format_check.sh --self-test      a made-up badly laid out file must fail
# To format the tree: git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i
set -u
formatter=clang-format-14
command -v "$formatter" >/dev/null || { echo "$formatter is missing (scripts/packages.txt)"; exit 2; }

check() {
    (cd "$1" && find src tools tests cmake -name '*.cpp' -o -name '*.h' 2>/dev/null | sort |
        while read -r f; do
            "$formatter" --style=file --dry-run -Werror "$f" >/dev/null 2>&1 || echo "$f"
        done)
}

if [ "${1:-}" = --self-test ]; then
    here=$(cd "$(dirname "$0")/.." && pwd)
    dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
    cp "$here/.clang-format" "$dir/" && mkdir "$dir/src"
    printf 'int  f( int a ){return a;}\n' >"$dir/src/bad.cpp"
    printf 'int g(int a)\n{\n    return a;\n}\n' >"$dir/src/good.cpp"
    found=$(check "$dir")
    [ "$found" = src/bad.cpp ] || { echo "expected only src/bad.cpp, got: $found"; exit 1; }
    echo "the check finds the badly laid out file and only it"
    exit 0
fi

root=${1:?usage: format_check.sh SOURCE_ROOT | --self-test}
found=$(check "$root")
if [ -n "$found" ]; then
    echo "Not laid out as .clang-format says (run $formatter -i on them):"
    echo "$found"
    exit 1
fi
echo "every C++ file is laid out as .clang-format says"
