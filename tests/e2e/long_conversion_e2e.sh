#!/usr/bin/env bash
# A conversion long enough to watch, in the real program on an Xvfb display: two million decimal
# digits times ten to a large power, to base 7. While it runs the window answers (the program
# owns the clipboard, and each request for its targets needs the event loop); Escape stops it,
# and once the program is idle again both panes, copied out through the clipboard, hold byte
# for byte what they held before. Ctrl+Q during a conversion that would run for minutes ends
# the program with status 0, and so does closing the window during one.
#
# Usage: long_conversion_e2e.sh path/to/radixel path/to/close_window [digits]
set -uo pipefail

program=${1:?usage: long_conversion_e2e.sh path/to/radixel path/to/close_window [digits]}
close_window=${2:?usage: long_conversion_e2e.sh path/to/radixel path/to/close_window [digits]}
digits=${3:-2000000}
. "$(dirname "$0")/x11_session.sh"
[ -x "$close_window" ] || fail "no close_window at $close_window"

python3 - "$digits" "$work" <<'PY'
import random, sys
n, folder = int(sys.argv[1]), sys.argv[2]
random.seed(20260107)
number = random.choice('123456789') + ''.join(random.choices('0123456789', k=n - 1)) + 'e150000000'
open(folder + '/number', 'w').write(number)
open(folder + '/earlier', 'w').write(''.join(random.choices('0123456', k=n // 2)))
PY

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
# Asks for the clipboard's targets, which the program answers from its event loop.
answers_within() { timeout "$1" xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1; }

# Focus order from the left base field: left base, right base, left pane, right pane, "->".
type_text 10; keys Tab
type_text 7; keys Tab
offer_clipboard "$work/number"
keys ctrl+v
keys Tab
offer_clipboard "$work/earlier"
keys ctrl+v
wait_until_quiet 60
# From here on the program owns the clipboard.
expect_pane_holds "$work/earlier" "the right pane before \"->\""

keys Tab                          # "->"
before=$(cpu_ticks)
xdotool key space
sleep 0.5
for probe in 1 2 3 4 5; do
  answers_within 2 || fail "the window did not answer within 2 s while converting (probe $probe)"
  sleep 0.1
done
[ "$(cpu_ticks)" -gt "$before" ] || fail "no conversion seemed to run"
echo "the window answered five times while converting"

xdotool key Escape
wait_until_quiet 600 || fail "the program did not fall idle after Escape"
answers_within 2 || fail "the window did not answer after Escape"
keys shift+Tab                    # the right pane
expect_pane_holds "$work/earlier" "the right pane after Escape"
keys shift+Tab                    # the left pane
expect_pane_holds "$work/number" "the left pane after Escape"

# A conversion of minutes, 1 times ten to nearly a billion to base 7, ended by the key given.
exited() { [ ! -e "/proc/$app_pid" ] || [ "$(awk '{print $3}' "/proc/$app_pid/stat" 2>/dev/null)" = Z ]; }
end_during_conversion() {  # how it is ended, and the command that ends it
  local how=$1; shift
  "$@"
  wait_for 20 exited || fail "$how during a conversion did not end the program"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "$how during a conversion ended the program with status $status, not 0"
  echo "$how during a conversion ended the program with status 0"
}
start_conversion_of_minutes() {
  answers_within 2 || fail "the window did not answer before converting 1e940128290"
  xdotool key space
  sleep 1
  answers_within 2 || fail "the window did not answer while converting 1e940128290"
}

xdotool key ctrl+a Delete
type_text 1e940128290
keys Tab Tab                      # "->"
start_conversion_of_minutes
end_during_conversion "Ctrl+Q" xdotool key ctrl+q

# Anew, with the program's own clipboard to ask, and the window closed as its close button does.
"$program" >"$work/radixel.log" 2>&1 &
app_pid=$!
wait_for 60 window_shown 'Radixel' || fail "the conversion window did not appear again"
main=$(find_window 'Radixel')
focus_main
type_text 10; keys Tab
type_text 7; keys Tab
type_text 1e940128290
keys ctrl+a ctrl+c Tab Tab        # "->"
start_conversion_of_minutes
end_during_conversion "Closing the window" "$close_window" "$main"
echo "PASS: the window answered while converting, Escape left both panes byte for byte, Ctrl+Q and closing the window ended it with 0"
