#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop finds there: the bundle under
# lib/radixel, the command as a relative link into it, a desktop entry that validates and the
# icon it names. Then runs the installed program through the link, end to end.
#
# Usage: install_test.sh path/to/cmake BUILD_DIR path/to/radixel_e2e.sh WORK_DIR path/to/close_window
set -uo pipefail

cmake=${1:?usage: install_test.sh CMAKE BUILD_DIR E2E_SCRIPT WORK_DIR CLOSE_WINDOW}
build=${2:?usage: install_test.sh CMAKE BUILD_DIR E2E_SCRIPT WORK_DIR CLOSE_WINDOW}
e2e=${3:?usage: install_test.sh CMAKE BUILD_DIR E2E_SCRIPT WORK_DIR CLOSE_WINDOW}
work=${4:?usage: install_test.sh CMAKE BUILD_DIR E2E_SCRIPT WORK_DIR CLOSE_WINDOW}
close_window=${5:?usage: install_test.sh CMAKE BUILD_DIR E2E_SCRIPT WORK_DIR CLOSE_WINDOW}

fail() {
  echo "FAIL: $*"
  exit 1
}

command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (scripts/install-deps.sh installs it)"

prefix="$work/prefix"
rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "the install failed"; }

for file in \
  lib/radixel/bin/radixel \
  lib/radixel/bin/radixel-plugin-trial \
  lib/radixel/Plugins/libradixel_conversion_plugin.so \
  "lib/radixel/Resources/Kettlewing 128.gif" \
  lib/radixel/Resources/radixel.png \
  share/applications/radixel.desktop \
  share/icons/hicolor/128x128/apps/radixel.png; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done

link="$prefix/bin/radixel"
[ -L "$link" ] || fail "bin/radixel is not a symbolic link"
[ "$(readlink "$link")" = ../lib/radixel/bin/radixel ] || fail "bin/radixel points at $(readlink "$link"), not into the bundle beside it"

entry="$prefix/share/applications/radixel.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx 'Icon=radixel' "$entry" || fail "the desktop entry names another icon than radixel"
grep -qx 'Exec=radixel' "$entry" || fail "the desktop entry starts another command than radixel"

exec bash "$e2e" "$link" "$close_window"
