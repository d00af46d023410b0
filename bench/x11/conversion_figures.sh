#!/usr/bin/env bash
# How the conversion window behaves during long conversions, in the real program on an Xvfb
# display of its own. While a figure is taken, a probe asks the program again and again for the
# targets of the clipboard that it owns (each answer needs its event loop) and a sampler reads
# the process's CPU time every 10 ms. The figures:
#   - the longest the window goes unanswered during "->" on a long decimal number to base 16,
#     and the time from the press until the program falls quiet;
#   - Escape pressed 2 s into that conversion: until the window answers again, and until the
#     program is idle (no CPU);
#   - 100 conversions started and stopped in a row: resident memory before and after;
#   - Ctrl+Q 2 s into that conversion: until the process has ended, and its exit status;
#   - the hand-off of long results (1/3 from base 10 to base 2): from the press until the
#     program falls quiet, less the conversion component's own time for the same call, taken
#     in a process of its own that calls the component directly. Quiet comes after the result
#     is shown, once the memory that the conversion let go has gone back, off the event loop;
#     conversion_bench's HandOff measures up to the result shown alone.
#
# Usage: conversion_figures.sh path/to/radixel [digits] [places...]
#   digits  length of the decimal number for "->", Escape and Ctrl+Q (default 100000000)
#   places  places of each hand-off run (default 100000000 1000000000)
# CYCLES in the environment sets the number of start-and-stop cycles (default 100; 0 skips them).
set -uo pipefail

program=${1:?usage: conversion_figures.sh path/to/radixel [digits] [places...]}
digits=${2:-100000000}
cycles=${CYCLES:-100}
shift $(($# >= 2 ? 2 : $#))
places_runs=("$@")
[ ${#places_runs[@]} -gt 0 ] || places_runs=(100000000 1000000000)
plugin="$(dirname "$(readlink -f "$program")")/../Plugins/libradixel_conversion_plugin.so"
. "$(dirname "$0")/../../tests/e2e/x11_session.sh"

now() { date +%s.%N; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status"; }
line() { printf '%-58s %s\n' "$1" "$2"; }

# The sampler and the probe write one line per observation, stamped with the wall clock:
# "t CPU-ticks" and "asked answered".
start_watch() {
  : >"$work/cpu"; : >"$work/probe"
  touch "$work/watching"
  python3 - "$app_pid" "$work" <<'PY' &
import os, subprocess, sys, threading, time
pid, folder = sys.argv[1], sys.argv[2]
flag = folder + '/watching'
def sample():
    with open(folder + '/cpu', 'w') as out:
        while os.path.exists(flag):
            try:
                fields = open('/proc/%s/stat' % pid).read().rsplit(')', 1)[1].split()
            except OSError:
                break
            out.write('%.4f %d\n' % (time.time(), int(fields[11]) + int(fields[12])))
            out.flush()
            time.sleep(0.01)
def probe():
    with open(folder + '/probe', 'w') as out:
        while os.path.exists(flag):
            asked = time.time()
            try:
                subprocess.run(['xclip', '-o', '-selection', 'clipboard', '-t', 'TARGETS'], timeout=600,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                pass
            out.write('%.4f %.4f\n' % (asked, time.time()))
            out.flush()
            time.sleep(0.005)
threads = [threading.Thread(target=f) for f in (sample, probe)]
for t in threads: t.start()
for t in threads: t.join()
PY
  watch_pid=$!
  sleep 0.5
}
stop_watch() { rm -f "$work/watching"; wait "$watch_pid" 2>/dev/null; }

# The longest time a probe asked after $1 waited for its answer.
longest_unanswered() {
  awk -v from="$1" '$1 >= from - 0.05 { d = $2 - $1; if (d > m) m = d } END { printf "%.3f s", m }' "$work/probe"
}
# The first probe asked after $1 that was answered within 50 ms: seconds from $1 to its answer.
answering_again() {
  awk -v from="$1" '$1 >= from && $2 - $1 < 0.05 { printf "%.3f s", $2 - from; found = 1; exit }
                    END { if (!found) printf "never" }' "$work/probe"
}
# Seconds from $1 to the last sample whose CPU time grew.
last_busy() {
  awk -v from="$1" '$1 >= from { if (seen && $2 > last) t = $1; last = $2; seen = 1 }
                     END { printf "%.3f s", (t ? t - from : 0) }' "$work/cpu"
}
wait_quiet() { wait_until_quiet "${1:-900}" || fail "the program did not fall quiet"; }

restart_program() {
  "$program" >"$work/radixel.log" 2>&1 &
  app_pid=$!
  wait_for 60 window_shown 'Radixel' || fail "the conversion window \"Radixel\" did not appear"
  main=$(find_window 'Radixel')
  focus_main
}

# The component's own time for one call, the same call as the program makes.
component_seconds() {  # inStr baseTo baseFrom numPlaces
  python3 - "$plugin" "$@" <<'PY'
import ctypes, sys, time
class Text(ctypes.Structure):
    pass
Release = ctypes.CFUNCTYPE(None, ctypes.POINTER(Text))
Text._fields_ = [('data', ctypes.c_void_p), ('size', ctypes.c_size_t), ('release', Release)]
class Entry(ctypes.Structure):
    _fields_ = [('signature', ctypes.c_char_p), ('function', ctypes.c_void_p)]
class Table(ctypes.Structure):
    _fields_ = [('abi', ctypes.c_uint32), ('count', ctypes.c_uint32), ('entries', ctypes.POINTER(Entry))]
module = ctypes.CDLL(sys.argv[1])
module.radixel_plugin_table.restype = ctypes.POINTER(Table)
table = module.radixel_plugin_table().contents
entry = next(table.entries[i].function for i in range(table.count)
             if table.entries[i].signature.startswith(b'kxConvBase(inStr'))
Convert = ctypes.CFUNCTYPE(ctypes.POINTER(Text), ctypes.POINTER(Text), ctypes.c_int32, ctypes.c_int32,
                           ctypes.c_int32, ctypes.c_int32)
source = sys.argv[2].encode()
lent = Text(ctypes.cast(ctypes.c_char_p(source), ctypes.c_void_p), len(source), Release())
began = time.monotonic()
result = Convert(entry)(ctypes.byref(lent), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]), 1)
print('%.3f' % (time.monotonic() - began))
PY
}

start_x_session "$program"
focus_main
python3 -c "
import random, sys
random.seed(7)
n = int(sys.argv[1])
table = bytes(48 + b % 10 for b in range(256))
sys.stdout.buffer.write(str(random.randint(1, 9)).encode() + random.randbytes(n - 1).translate(table))
" "$digits" >"$work/number"

# The focus order: left base, right base, left pane, right pane, "->", "<-", right places.
type_text 10; keys Tab
type_text 16; keys Tab
offer_clipboard "$work/number"
xdotool key ctrl+v
wait_quiet
# The program owns the clipboard from here on, so that every probe needs its event loop.
keys shift+Tab shift+Tab ctrl+a ctrl+c
keys Tab Tab Tab Tab            # "->"
wait_quiet 30

start_watch
pressed=$(now)
xdotool key space
wait_quiet
stop_watch
line "\"->\" $digits digits to base 16: longest unanswered" "$(longest_unanswered "$pressed")"
line "  press until quiet" "$(last_busy "$pressed")"

start_watch
xdotool key space
sleep 2
escaped=$(now)
xdotool key Escape
wait_quiet
stop_watch
line "Escape 2 s into it: window answering again" "$(answering_again "$escaped")"
line "  program idle" "$(last_busy "$escaped")"

if [ "$cycles" -gt 0 ]; then
rss_before=$(rss_kib)
for _ in $(seq "$cycles"); do xdotool key space; sleep 0.2; xdotool key Escape; sleep 0.05; done
wait_quiet
line "$cycles conversions started and stopped: resident memory" \
  "$(awk -v a="$rss_before" -v b="$(rss_kib)" 'BEGIN { printf "%+.1f MiB (%.0f MiB before)", (b - a) / 1024, a / 1024 }')"
fi

xdotool key space
sleep 2
quit_at=$(now)
xdotool key ctrl+q
exited() { [ ! -e "/proc/$app_pid" ] || [ "$(awk '{print $3}' "/proc/$app_pid/stat" 2>/dev/null)" = Z ]; }
wait_for 600 exited || fail "Ctrl+Q did not end the program"
ended=$(now)
wait "$app_pid"
status=$?
app_pid=""
line "Ctrl+Q 2 s into it: until the process ended" \
  "$(awk -v a="$quit_at" -v b="$ended" 'BEGIN { printf "%.3f s", b - a }') (exit status $status; polled every 0.1 s)"

for places in "${places_runs[@]}"; do
  engine=$(component_seconds 1/3 2 10 "$places")
  restart_program
  type_text 10; keys Tab
  type_text 2; keys Tab
  type_text 1/3
  keys shift+Tab shift+Tab ctrl+a ctrl+c
  keys Tab Tab Tab Tab Tab Tab ctrl+a
  type_text "$places"
  keys shift+Tab shift+Tab       # "->"
  wait_quiet 30
  start_watch
  pressed=$(now)
  xdotool key space
  wait_quiet
  stop_watch
  total=$(last_busy "$pressed")
  line "1/3 to base 2, $places places: press until quiet" "$total"
  line "  the component alone" "$engine s"
  line "  hand-off (the difference)" "$(awk -v t="${total% s}" -v e="$engine" 'BEGIN { printf "%.3f s", t - e }')"
  line "  longest unanswered" "$(longest_unanswered "$pressed")"
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=""
done
