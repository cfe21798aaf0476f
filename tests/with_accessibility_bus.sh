#!/bin/sh
# Runs a program as on a desktop with a screen reader: on an X display of its own (Xvfb), with a
# session bus of its own and the accessibility bus on it, and Qt's accessibility always on. Stops
# what it started, by process id.
#   tests/with_accessibility_bus.sh PROGRAM [ARGUMENTS...]
set -eu
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session "$launcher"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool (./dev.sh test installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Xvfb picks a free display and writes its number once it accepts clients; the read waits for it
# (and ends empty should Xvfb fail). -noreset: an X server resets when its last client leaves,
# and refuses the clients that come meanwhile; the launcher below is such a client.
mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb=$!
read -r number <"$work/display" || true
[ -n "${number:-}" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$number"
export DISPLAY
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

# dbus-run-session ends its bus when the inner shell returns; the shell ends the launcher (and
# with it the accessibility bus) itself. Qt finds the accessibility bus once the launcher has
# started it, and the test waits for that.
dbus-run-session -- sh -c '
  "$0" --launch-immediately 2>/dev/null &
  launcher=$!
  status=0
  "$@" || status=$?
  kill "$launcher" 2>/dev/null
  wait "$launcher" 2>/dev/null || true
  exit "$status"
' "$launcher" "$@"
