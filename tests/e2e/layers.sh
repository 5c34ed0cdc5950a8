#!/usr/bin/env bash
# Lower layers never include higher ones; the core never sees widgets.
set -euo pipefail
src="$ZENTRIKA_SOURCE_DIR/src"
fail=0
check() {  # folder, forbidden include prefixes...
  local dir=$1; shift
  for prefix in "$@"; do
    if grep -rn --include='*.h' --include='*.cpp' -E "#include [<\"]${prefix}" "$src/$dir" \
        | grep -v "^$src/$dir/desktop/" ; then
      echo "^ $dir must not include $prefix"; fail=1
    fi
  done
}
check platform core/ widgets/ controls/ screens/ app/ platform/desktop/ QtWidgets QWidget QApplication
check platform/desktop core/ widgets/ controls/ screens/ app/
check core widgets/ controls/ screens/ app/ platform/desktop/ QtWidgets QWidget QApplication
check widgets/richtext widgets/[A-Z] controls/ screens/ app/ QtWidgets QWidget
check widgets controls/ screens/ app/
check controls screens/ app/
check screens app/
exit $fail
