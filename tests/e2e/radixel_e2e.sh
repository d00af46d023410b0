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
for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
done
[ -x "$program" ] || { echo "FAIL: no program at $program"; exit 1; }
[ -x "$close_window" ] || { echo "FAIL: no close_window at $close_window"; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
watcher_pid=""

cleanup() {
  [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$app_pid" ] && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "FAIL: $*"
  if [ -s "$work/radixel.log" ]; then
    echo "--- the program's output:"
    cat "$work/radixel.log"
  fi
  exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1; shift
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# Xvfb picks a free display itself and writes its number, so parallel runs cannot collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

"$program" >"$work/radixel.log" 2>&1 &
app_pid=$!

# Should this script be killed outright (a test runner's time-out), no trap runs: a watcher
# ends the X server and the program once the script is gone.
script_pid=$$
( trap '' HUP; while kill -0 "$script_pid" 2>/dev/null; do sleep 1; done
  kill "$app_pid" "$xvfb_pid" 2>/dev/null ) >/dev/null 2>&1 &
watcher_pid=$!

# xdotool matches titles without regard to case, and Qt keeps an unmapped helper window named
# "radixel": the title is compared exactly here.
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && { echo "$id"; return 0; }
  done
  return 1
}
window_shown() { find_window "$1" >/dev/null; }

wait_for 60 window_shown 'Radixel' || fail "the conversion window \"Radixel\" did not appear"
main=$(find_window 'Radixel')
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "conversion window $main: ${WIDTH}x${HEIGHT}"
[ "$WIDTH" -eq 600 ] || fail "the window is $WIDTH wide, not 600"
[ "$HEIGHT" -ge 349 ] || fail "the window is $HEIGHT high, less than its content's 349"

focus_main() { xdotool windowfocus --sync "$main" 2>/dev/null || fail "cannot focus the conversion window"; sleep 0.2; }
keys() { xdotool key --delay 120 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 30 "$1"; sleep 0.2; }

# The clipboard shows what the focused field or pane holds once it is selected and copied.
clip=""
clipboard_is() { clip=$(timeout 5 xclip -o -selection clipboard 2>/dev/null); [ "$clip" = "$1" ]; }
# A marker in the clipboard first, so that each check sees a copy of its own.
mark_clipboard() { printf 'nothing copied' | xclip -selection clipboard -i; }
expect_copied() {  # expected text, what was copied
  wait_for 10 clipboard_is "$1" || fail "$2 read back \"$clip\", not \"$1\""
  echo "$2: $clip"
}

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
