#!/usr/bin/env bash
# Plays the key cases of the text view's table on Qt's QPlainTextEdit and on our view, side by
# side in one window on an Xvfb display of its own, with real X key events from xdotool: the
# focus on one editor, the keys, the focus on the other, the same keys. Prints what each editor
# shows, then the same cases played offscreen through Qt's own event path, as the widget tests
# play them, and where the two runs differ: the X keyboard, its key bindings and the xcb
# platform against the offscreen one.
#
# Exits 1 only when the run itself breaks (the program does not answer, keys get lost); that the
# editors differ is what it reports, not a failure.
#
# Usage: keys_on_x.sh path/to/text_view_side_by_side [case name pattern]
set -uo pipefail

program=${1:?usage: keys_on_x.sh path/to/text_view_side_by_side [case name pattern]}
pattern=${2:-.}
. "$(dirname "$0")/x11_session.sh"
[ -x "$program" ] || fail "no program at $program"

QT_QPA_PLATFORM=offscreen "$program" --offscreen >"$work/offscreen.txt" 2>"$work/offscreen.log" ||
  fail "the offscreen run failed: $(cat "$work/offscreen.log")"

start_x_server
coproc SIDE { exec "$program" 2>"$work/radixel.log"; }
app_pid=$SIDE_PID
script_pid=$$
( trap '' HUP; while kill -0 "$script_pid" 2>/dev/null; do sleep 1; done
  kill "$app_pid" "$xvfb_pid" 2>/dev/null ) >/dev/null 2>&1 &
watcher_pid=$!

# One command to the program, and its answer up to the "ok" that ends it.
ask() {
  printf '%s\n' "$*" >&"${SIDE[1]}"
  local line
  while IFS= read -r -t 60 line <&"${SIDE[0]}"; do
    [ "$line" = ok ] && return 0
    printf '%s\n' "$line"
  done
  fail "the program gave no answer to \"$*\""
}

ask list >"$work/cases"
mapfile -t names < <(sed -n 's/^case //p' "$work/cases" | grep -E -- "$pattern")
[ ${#names[@]} -gt 0 ] || fail "no key case matches $pattern"
steps_of() { awk -v name="$1" '$1 == "case" { on = $2 == name; next } on && $1 == "step" { sub(/^step /, ""); print }' "$work/cases"; }

lost=0
# Plays the case's steps on one side: keys through xdotool, the rest through the program, which
# first waits for the keys sent before to arrive.
play_side() {
  local name=$1 side=$2 sent=0 keys what
  ask side "$side" >/dev/null
  while read -r keys what; do
    case $what in
      key\ *) xdotool key --delay 40 "${what#key }" ;;
      type\ *) xdotool type --delay 40 -- "${what#type }" ;;
      *) ask wait "$sent" | grep . && lost=1; ask "$what" >/dev/null ;;
    esac
    sent=$((sent + keys))
  done < <(steps_of "$name")
  if ask wait "$sent" | grep .; then
    echo "  (on the $side side of $name)"
    lost=1
  fi
}

: >"$work/x.txt"
for name in "${names[@]}"; do
  ask start "$name" >/dev/null
  if [ -z "${window:-}" ]; then
    wait_for 30 window_shown 'Text views side by side' || fail "the window did not appear"
    window=$(find_window 'Text views side by side')
    xdotool windowfocus --sync "$window" 2>/dev/null || fail "cannot focus the window"
    sleep 0.3
  fi
  play_side "$name" left
  play_side "$name" right
  ask report >>"$work/x.txt"
done
ask quit >/dev/null

echo "=== On X, through xdotool: $(grep -c '^same ' "$work/x.txt") cases the same, $(grep -c '^differs ' "$work/x.txt") differ"
cat "$work/x.txt"
# The offscreen run plays every key case; only those played on X are compared.
awk -v list="$(printf '%s\n' "${names[@]}")" '
  BEGIN { n = split(list, wanted, "\n"); for (i = 1; i <= n; ++i) keep[wanted[i]] = 1 }
  /^(same|differs) / { on = $2 in keep } on' "$work/offscreen.txt" >"$work/offscreen-played.txt"
echo "=== Offscreen against X (- offscreen, + X):"
if diff -U1 "$work/offscreen-played.txt" "$work/x.txt"; then echo "no difference"; fi
for name in "${names[@]}"; do
  grep -q -E "^(same|differs) $name\$" "$work/offscreen-played.txt" || echo "only on X (not playable offscreen): $name"
done
[ "$lost" -eq 0 ] || fail "some keys did not reach the program"
