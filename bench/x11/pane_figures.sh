#!/usr/bin/env bash
# The costs of the conversion window's panes as a user meets them: the real program on an Xvfb
# display, typed into with xdotool and fed through the X clipboard with xclip. Each figure is
# the CPU time of the program's own process (user and system), from the key until the program
# falls quiet, painting included.
#
# Usage: pane_figures.sh path/to/radixel [digits] [places]
#   digits  length of the decimal number pasted into the left pane (default 10000000)
#   places  places of 1/3 from base 10 to base 2 in the last run (default 100000000; 0 skips it)
set -uo pipefail

program=${1:?usage: pane_figures.sh path/to/radixel [digits] [places]}
digits=${2:-10000000}
places=${3:-100000000}
. "$(dirname "$0")/../../tests/e2e/x11_session.sh"

seconds() { awk -v t="$1" -v hz="$ticks_per_second" 'BEGIN { printf "%.3f", t / hz }'; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status"; }

# Runs the keys given, waits for quiet, and prints the CPU they cost under the label.
measure() {
  local label=$1; shift
  local before after
  before=$(cpu_ticks)
  xdotool key "$@"
  wait_until_quiet 900 || fail "$label: the program did not fall quiet"
  after=$(cpu_ticks)
  printf '%-44s %8s s CPU\n' "$label" "$(seconds $((after - before)))"
}

idle_per_second() {
  local before after
  before=$(cpu_ticks); sleep 5; after=$(cpu_ticks)
  printf '%-44s %8s s CPU a second\n' "$1" "$(seconds $(((after - before) / 5)))"
}

start_x_session "$program"
focus_main

# A number of the given length, no leading zero; its digits need no arithmetic to make.
python3 -c "
import random, sys
random.seed(7)
n = int(sys.argv[1])
sys.stdout.write(str(random.randint(1, 9)) + ''.join(random.choices('0123456789', k=n - 1)))
" "$digits" >"$work/number"

type_text 10; keys Tab
type_text 16; keys Tab         # the left pane has the focus
wait_until_quiet 30
rss_empty=$(rss_kib)
offer_clipboard "$work/number"
measure "paste $digits digits" ctrl+v
rss_full=$(rss_kib)
awk -v a="$rss_empty" -v b="$rss_full" -v n="$digits" \
  'BEGIN { printf "%-44s %8.2f bytes a digit\n", "memory of the pasted number", (b - a) * 1024 / n }'
# The pane gives back what was pasted, byte for byte.
xdotool key ctrl+a ctrl+c
read_clipboard "$work/pasted" 600 || fail "the left pane could not be copied out"
cmp -s "$work/pasted" "$work/number" || fail "the left pane does not hold the pasted number"
measure "Ctrl+End" ctrl+End
measure "one keystroke at the end" 7
measure "Backspace at the end" BackSpace
measure "Page Up" Prior
measure "Page Down" Next
idle_per_second "caret idle"
xdotool key Tab Tab          # "->"
wait_until_quiet 30
measure "\"->\" $digits decimal digits to base 16" space

if [ "$places" -gt 0 ]; then
  # From "->": 1/3 in the left pane, base 2 on the right, the places in the right places field.
  # The focus order: left base, right base, left pane, right pane, "->", "<-", right places.
  xdotool key shift+Tab shift+Tab ctrl+a; type_text "1/3"
  xdotool key shift+Tab ctrl+a; type_text 2
  xdotool key Tab Tab Tab Tab Tab ctrl+a; type_text "$places"
  xdotool key shift+Tab shift+Tab
  wait_until_quiet 30
  measure "\"->\" 1/3 to base 2, $places places" space
  xdotool key shift+Tab           # the right pane
  measure "Ctrl+End in the result" ctrl+End
  measure "Page Up in the result" Prior
  measure "Select All and Copy of the result" ctrl+a ctrl+c
  start=$SECONDS
  read_clipboard "$work/copied" 600 || fail "the copied result could not be read from the clipboard"
  python3 -c "import sys; n = int(sys.argv[1]); sys.stdout.write('0.' + '01' * (n // 2) + '0' * (n % 2))" \
    "$places" >"$work/expected"
  verdict="byte for byte"
  cmp -s "$work/copied" "$work/expected" || verdict="DIFFERENT from 0.0101...01"
  printf '%-44s %s (%s bytes, read in %s s)\n' "copied out whole" "$verdict" "$(stat -c %s "$work/copied")" \
    $((SECONDS - start))
fi
