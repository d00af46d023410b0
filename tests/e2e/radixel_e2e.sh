#!/usr/bin/env bash
# Starts Radixel on a fresh Xvfb display and uses it as a person would: types the bases and a
# number, presses "->", copies the right pane through the Edit menu, opens About and Help from
# their menus (About centred over the conversion window), closes the conversion window, quits
# with Ctrl+Q from the About window and expects exit status 0.
#
# Usage: radixel_e2e.sh path/to/radixel path/to/close_window
set -uo pipefail

program=${1:?usage: radixel_e2e.sh path/to/radixel path/to/close_window}
close_window=${2:?usage: radixel_e2e.sh path/to/radixel path/to/close_window}
. "$(dirname "$0")/x11_session.sh"
[ -x "$close_window" ] || fail "no close_window at $close_window"
start_x_session "$program"
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "conversion window $main: ${WIDTH}x${HEIGHT}"
[ "$WIDTH" -eq 600 ] || fail "the window is $WIDTH wide, not 600"
[ "$HEIGHT" -ge 349 ] || fail "the window is $HEIGHT high, less than its content's 349"

# Through the focus order, from the left base field that has the focus when the window opens:
# left base, right base, left pane, right pane, "->", "<-", right places, left places.
focus_main
type_text 10; keys Tab
type_text 16; keys Tab
type_text 255; keys Tab Tab
keys space                       # presses "->"

# The places fields through the shortcuts: the menu bar takes the keyboard focus when a menu
# is opened by its access key, and a single-line field drops its selection on that.
mark_clipboard; keys Tab Tab ctrl+a ctrl+c
expect_copied 8 "the right places field"
mark_clipboard; keys Tab ctrl+a ctrl+c
expect_copied 8 "the left places field"

# The right pane through the Edit menu: Select All, then Copy, by their access keys.
keys shift+Tab shift+Tab shift+Tab shift+Tab
mark_clipboard
keys alt+e a
keys alt+e c
expect_copied FF "the right pane"

# The About window, built hidden at start, is placed when it first appears: over wherever the
# conversion window stands by then.
xdotool windowmove --sync "$main" 230 170 2>/dev/null || fail "cannot move the conversion window"

# A menu opened from the keyboard has its first item selected. File has the access key F; Help
# has none, so it is reached from Edit with the arrow key.
focus_main
keys alt+f Return
wait_for 20 window_shown 'About Radixel' || fail "File > About Radixel... showed no About window"
about=$(find_window 'About Radixel')
# Where a window stands, as "x y width height".
geometry_of() { (eval "$(xdotool getwindowgeometry --shell "$1")"; echo "$X $Y $WIDTH $HEIGHT"); }
read -r mx my mw mh <<<"$(geometry_of "$main")"
read -r ax ay aw ah <<<"$(geometry_of "$about")"
dx=$(( (ax + aw / 2) - (mx + mw / 2) )); dy=$(( (ay + ah / 2) - (my + mh / 2) ))
echo "About window at $ax,$ay (${aw}x${ah}), conversion window at $mx,$my (${mw}x${mh})"
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
  fail "the About window is not centred over the conversion window (off by $dx,$dy)"
focus_main
keys alt+e Right Return
wait_for 20 window_shown 'Radixel Help' || fail "Help > Radixel Help showed no help window"
echo "help window shown"

# The menu bar speaks for the whole application: with the conversion window closed, Ctrl+Q
# from the About window still ends the program.
"$close_window" "$main" || fail "cannot ask the conversion window to close"
wait_for 20 bash -c "! xdotool search --onlyvisible --name '^Radixel\$' | grep -qx '$main'" ||
  fail "the conversion window did not close"
echo "conversion window closed"
xdotool windowfocus --sync "$about" 2>/dev/null || fail "cannot focus the About window"
sleep 0.3
xdotool key ctrl+q
# An ended child stays a zombie until it is waited for, so its state is read, not its existence.
exited() { [ ! -e "/proc/$app_pid" ] || [ "$(awk '{print $3}' "/proc/$app_pid/stat" 2>/dev/null)" = Z ]; }
wait_for 30 exited || fail "Ctrl+Q did not end the program"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program exited with status $status, not 0"
echo "PASS: converted 255 to FF, showed About over the conversion window and Help, quit from About with status 0"
