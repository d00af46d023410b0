# Helpers for driving Radixel in a real X server as a person would, sourced by the end-to-end
# tests and the desktop measurements: a private Xvfb display, the program on it, keys and text
# through xdotool, the clipboard through xclip.
#
# The sourcing script calls start_x_session with the program; everything started is ended when
# the script exits, however it exits.

for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
done

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

# Starts Xvfb on a display of its own and points Qt programs at it.
start_x_server() {
  # Xvfb picks a free display itself and writes its number, so parallel runs cannot collide.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
}

# Starts Xvfb and the program, and waits for the conversion window; sets $main to it.
start_x_session() {
  local program=$1
  [ -x "$program" ] || fail "no program at $program"
  start_x_server

  "$program" >"$work/radixel.log" 2>&1 &
  app_pid=$!

  # Should the script be killed outright (a test runner's time-out), no trap runs: a watcher
  # ends the X server and the program once the script is gone.
  local script_pid=$$
  ( trap '' HUP; while kill -0 "$script_pid" 2>/dev/null; do sleep 1; done
    kill "$app_pid" "$xvfb_pid" 2>/dev/null ) >/dev/null 2>&1 &
  watcher_pid=$!

  wait_for 60 window_shown 'Radixel' || fail "the conversion window \"Radixel\" did not appear"
  main=$(find_window 'Radixel')
}

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
# Offers the file's bytes on the clipboard, as another program's copy would.
offer_clipboard() { xclip -selection clipboard -i <"$1"; }
# Writes what the clipboard holds into the file; false when nothing could be read in $2 seconds.
read_clipboard() { timeout "${2:-60}" xclip -o -selection clipboard >"$1" 2>/dev/null; }

# The program's own CPU time so far, in clock ticks (user and system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }
ticks_per_second=$(getconf CLK_TCK)

# Waits until the program has used no CPU for half a second (at most $1 seconds): the work a
# key started is done, painting included.
wait_until_quiet() {
  local limit=${1:-600} deadline last now quiet=0
  deadline=$((SECONDS + limit))
  last=$(cpu_ticks)
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.1
    now=$(cpu_ticks)
    if [ "$now" -le "$last" ]; then quiet=$((quiet + 1)); else quiet=0; fi
    last=$now
    [ $quiet -ge 5 ] && return 0
  done
  return 1
}
