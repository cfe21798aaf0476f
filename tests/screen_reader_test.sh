#!/bin/sh
# What a blind pupil hears: the calculator used from the keyboard with the Orca screen reader.
# Orca's debug log records every utterance as a "SPEECH OUTPUT: '...'" line; each step below
# presses a key and then waits until Orca has said what the pupil must hear, so that a loaded
# machine makes the test slower, not flaky. Runs inside with_accessibility_bus.sh, which gives it
# an X display, a session bus and the accessibility bus of its own:
#   tests/with_accessibility_bus.sh tests/screen_reader_test.sh PROGRAM
# Exits 77 (skipped) where another Orca of this user runs: Orca refuses to start beside it, and
# the test does not stop the user's own screen reader.
set -eu
program=$1
for tool in orca openbox xdotool script; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool (./dev.sh test installs it)" >&2; exit 1; }
done
for comm in /proc/[0-9]*/comm; do
  if [ "$(cat "$comm" 2>/dev/null)" = orca ] && [ "$(stat -c %u "${comm%/comm}")" = "$(id -u)" ]; then
    echo "skipped: an Orca of this user runs already (${comm%/comm})" >&2
    exit 77
  fi
done

work=$(mktemp -d)
log="$work/orca.log"
calculator="" orca="" terminal="" wm=""
# Orca is killed outright (on SIGTERM it takes its time to say goodbye), and first, so that the
# terminal it writes to ends with it and takes it off the process table.
cleanup() {
  [ -z "$orca" ] || kill -KILL "$orca" 2>/dev/null || true
  [ -z "$calculator" ] || kill "$calculator" 2>/dev/null || true
  for pid in $calculator $terminal; do wait "$pid" 2>/dev/null || true; done
  [ -z "$wm" ] || { kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Orca's settings, and speech-dispatcher's, in a home of the test's own. The speech server is not
# started: what Orca says is in its log before it goes to a server, and nothing is sounded on the
# machine.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
echo DisableAutoSpawn >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"

# What Orca said from line $1 of its log on, on one line, with "| " before each utterance.
said_since() {
  tail -n "+$1" "$log" | tr -d '\r' |
    sed -n -e "s/.*SPEECH OUTPUT: '\(.*\)' *{.*/| \1/p;t" -e "s/.*SPEECH OUTPUT: '\(.*\)'.*/| \1/p" |
    tr '\n' ' '
}
# Runs the command "$@" every tenth of a second until it succeeds, for up to a minute; returns
# 1 where it never does.
poll() {
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ "$tries" -le 600 ] || return 1
    sleep 0.1
  done
}
said_matches() { said_since "$1" | grep -q -- "$2"; }
# Waits for what Orca said from line $1 on to match the grep pattern $2; fails, telling what it
# said, when it does not.
wait_for() {
  poll said_matches "$1" "$2" && return
  echo "Orca did not say: $2" >&2
  echo "what it said: $(said_since "$1")" >&2
  echo "the calculator's last messages:" >&2
  tail -n 20 "$work/calculator.log" >&2 2>/dev/null || true
  exit 1
}
next_line() { echo $(($(wc -l <"$log") + 1)); }
# press KEY PATTERN: presses the key, as xdotool names it, and waits until Orca has said PATTERN.
press() {
  mark=$(next_line)
  xdotool key "$1"
  wait_for "$mark" "$2"
}
# type_text DIGITS: types them into the focused cell, and waits for Orca's echo of the last.
type_text() {
  mark=$(next_line)
  xdotool type "$1"
  wait_for "$mark" "| $(printf %s "$1" | tail -c 1)"
}

# centre_of NAME: the screen position of the middle of the program's control NAME, as the
# accessibility bus gives it to the reader.
centre_of() {
  /usr/bin/python3 -c '
import sys, gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi
def children(node):
    return (node.get_child_at_index(i) for i in range(node.get_child_count()))
def find(node):
    if node.get_name() == sys.argv[1]:
        box = node.get_extents(Atspi.CoordType.SCREEN)
        return "%d %d" % (box.x + box.width // 2, box.y + box.height // 2)
    return next(filter(None, (find(child) for child in children(node) if child)), None)
print(next(find(app) for app in children(Atspi.get_desktop(0)) if app.get_name() == "frustum"))
' "$1"
}

# A desktop as a pupil has it: a window manager, so that the window becomes active; then Orca,
# in English, with its log on a terminal so that Python writes it line by line; then the
# calculator, in Bulgarian, its messages (Qt's notes on what the reader asks) kept for a failure.
openbox --startup "touch $work/wm-ready" >/dev/null 2>&1 &
wm=$!
poll test -e "$work/wm-ready" || { echo "openbox did not start" >&2; exit 1; }
: >"$log"
LANG=C.UTF-8 LANGUAGE='' script -qfc "echo \$\$ >$work/orca.pid; exec orca --debug-file=/dev/tty" \
  "$log" >/dev/null 2>&1 &
terminal=$!
# Orca says it is on before it listens; the calculator starts once it listens (Orca 43 notes
# "Starting registry", Orca 48 "Starting Atspi main event loop").
wait_for 1 "| Screen reader on"
orca=$(cat "$work/orca.pid")
poll grep -aq "ORCA: Starting registry\|ORCA: Starting Atspi main event loop" "$log" ||
  { echo "Orca did not start listening" >&2; tail -n 20 "$log" >&2; exit 1; }
mark=$(next_line)
LANG=bg_BG.UTF-8 "$program" 2>"$work/calculator.log" &
calculator=$!
wait_for "$mark" "| Задание read only text"

# The ring of focus stops from the assignment text round to it again, as the tab order has them:
# the given cells of every row, the buttons within row 3 and the chosen variant's option after
# row 4. A cell of the chosen row is said as text, every other cell as read-only text.
ring="Задание;r, Вариант 1;R, Вариант 1;H, Вариант 1;r, Вариант 2;R, Вариант 2;L, Вариант 2;
r, Вариант 3;R, Вариант 3;Изчисли;Изчисти;So, Вариант 3;r, Вариант 4;R, Вариант 4;V, Вариант 4;
the chosen option;r, Вариант 5;H, Вариант 5;L, Вариант 5;r, Вариант 6;L, Вариант 6;So, Вариант 6;
L, Вариант 7;H, Вариант 7;R, Вариант 7;R, Вариант 8;L, Вариант 8;So, Вариант 8;Задание"
chosen=1
# heard N: the pattern of what Orca says when stop N of the ring takes the focus.
heard() {
  name=$(printf %s "$ring" | tr -d '\n' | cut -d';' -f"$(($1 + 1))")
  case "$name" in
    "the chosen option") echo "| Вариант $chosen.*selected radio button" ;;
    Изчисли | Изчисти) echo "| $name.*button" ;;
    *", Вариант $chosen") echo "| $name text" ;;
    *) echo "| $name read only text" ;;
  esac
}
# walk KEY FROM TO: goes from stop FROM to stop TO of the ring with KEY (Tab or shift+Tab),
# hearing every stop on the way.
walk() {
  at=$2
  while [ "$at" -ne "$3" ]; do
    if [ "$3" -gt "$at" ]; then at=$((at + 1)); else at=$((at - 1)); fi
    press "$1" "$(heard "$at")"
  done
}

walk Tab 0 28

# Вариант 1 with r = 10, R = 20, H = 30: after Изчисли the values are said, and the focus stays.
walk Tab 0 1
type_text 10
walk Tab 1 2
type_text 20
walk Tab 2 3
type_text 30
walk Tab 3 9
press space "L = 31,623; So = 2.*980,376; V = 21.*991,149"

# Вариант 2 chosen with the arrow key, its cells reached backwards, and values that make no
# frustum: the message is said, and after it closes, the cell it names with its value.
walk Tab 9 15
chosen=2
press Down "$(heard 15)"
walk shift+Tab 15 4
type_text 1
walk Tab 4 5
type_text 5
walk Tab 5 6
type_text 2
walk Tab 6 9
press space "Такъв пресечен конус не съществува"
press Return "$(heard 6).*2"

# Вариант 3 chosen with the mouse while a cell has the focus.
# Orca 43 and older, should it handle the click after the button took the focus, take the button
# for focused already and drop the focus report as a repeat: a race inside the reader, so that
# step is heard only with a later Orca.
# Orca 43 says "43.1"; Orca 48 "Orca version 48.1, AT-SPI2 version: 2.56.2".
orca_version=$(orca --version | grep -o '[0-9][0-9]*' | head -n 1)
if [ "${orca_version:-0}" -gt 43 ]; then
  chosen=3
  centre=$(centre_of "Вариант 3")
  mark=$(next_line)
  xdotool mousemove $centre click 1
  wait_for "$mark" "$(heard 15)"
else
  echo "not checked with Orca $orca_version: a variant chosen with the mouse"
fi
echo "Orca said every stop, the results, the variants chosen and the cell a failure names"
