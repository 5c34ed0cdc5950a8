#!/bin/sh
# Qt's private API (private/ headers, QHighDpiScaling) changes with every Qt
# release; the package depends on the exact Qt it was built with for the one
# file that uses it. Any other file that starts to use it is listed here.
# Usage: qt_private_api.sh SOURCE_ROOT
root=${1:?usage: qt_private_api.sh SOURCE_ROOT}
allowed=src/platform/desktop/WindowScale.cpp
cd "$root" || exit 2
found=$(grep -rlE '#[[:space:]]*include[[:space:]]*[<"][^>"]*private/|QHighDpiScaling' src tools tests 2>/dev/null |
    grep -vx "$allowed")
if [ -n "$found" ]; then
    echo "Qt's private API outside $allowed:"
    echo "$found"
    exit 1
fi
grep -q 'QT_VERSION_CHECK' "$allowed" || { echo "$allowed lacks its Qt version guard"; exit 1; }
echo "Qt's private API only in $allowed"
