#!/usr/bin/env bash
# A number of four million binary digits pasted into Radixel through the X clipboard, converted
# to base 16 with "->" and back with "<-", each pane copied out through the clipboard and
# compared byte for byte with the digits made beside it: a hexadecimal digit is four binary
# ones, so the expected texts need no arithmetic.
#
# Usage: long_number_e2e.sh path/to/radixel [hexadecimal digits]
set -uo pipefail

program=${1:?usage: long_number_e2e.sh path/to/radixel [hexadecimal digits]}
hex_digits=${2:-1000000}
. "$(dirname "$0")/x11_session.sh"

python3 - "$hex_digits" "$work" <<'PY'
import random, sys
n, folder = int(sys.argv[1]), sys.argv[2]
random.seed(20261210)
hexadecimal = random.choice('123456789ABCDEF') + ''.join(random.choices('0123456789ABCDEF', k=n - 1))
binary = ''.join(format(int(d, 16), '04b') for d in hexadecimal).lstrip('0')
open(folder + '/hex', 'w').write(hexadecimal)
open(folder + '/binary', 'w').write(binary)
PY
echo "$(stat -c %s "$work/binary") binary digits, $(stat -c %s "$work/hex") hexadecimal ones"

start_x_session "$program"
focus_main

# Selects all of the focused pane and copies it; the clipboard must then hold the file's bytes.
expect_pane_holds() {  # file, what the pane is
  mark_clipboard
  keys ctrl+a ctrl+c
  read_clipboard "$work/copied" 60 || fail "$2 could not be copied out"
  cmp -s "$work/copied" "$1" ||
    fail "$2 copied out $(stat -c %s "$work/copied") bytes that differ from the $(stat -c %s "$1") expected: $(cmp "$work/copied" "$1" 2>&1 | head -1)"
  echo "$2: $(stat -c %s "$1") bytes, byte for byte"
}

# Focus order from the left base field: left base, right base, left pane, right pane, "->", "<-".
type_text 2; keys Tab
type_text 16; keys Tab
offer_clipboard "$work/binary"
keys ctrl+v
expect_pane_holds "$work/binary" "the left pane after the paste"

keys Tab Tab space                # "->"
keys shift+Tab                    # the right pane
expect_pane_holds "$work/hex" "the right pane after \"->\""

keys shift+Tab ctrl+a Delete      # empty the left pane, so that "<-" has to write it all
keys Tab Tab Tab space            # "<-"
keys shift+Tab shift+Tab shift+Tab
expect_pane_holds "$work/binary" "the left pane after \"<-\""
echo "PASS: four million digits pasted, converted both ways and copied out whole"
