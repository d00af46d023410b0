#!/usr/bin/env bash
# Runs a test program in its own X server and D-Bus session with the desktop's accessibility bus,
# so that Qt sends accessibility events as it does while a screen reader listens. On the
# offscreen platform, or where no assistive technology is about, Qt drops them unsent.
#
# Usage: on_accessibility_bus.sh program [argument...]
set -u

launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || { echo "FAIL: at-spi-bus-launcher is not installed (scripts/install-deps.sh installs it)"; exit 1; }
for tool in Xvfb dbus-run-session dbus-send; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }

export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# In the session, the accessibility bus is started and waited for before the program starts, so
# that Qt finds it at once.
in_session='
  "$0" --launch-immediately >/dev/null 2>&1 &
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      string:org.a11y.Bus 2>/dev/null | grep -q "boolean true" && exec "$@"
    sleep 0.1
  done
  echo "FAIL: the accessibility bus did not start"
  exit 1'
dbus-run-session -- bash -c "$in_session" "$launcher" "$@" 2>&1 | grep -v "^dbus-daemon"
exit "${PIPESTATUS[0]}"
