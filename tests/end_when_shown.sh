#!/bin/sh
# Runs PROGRAM until Qt's painting log tells that its whole window was painted (the program has
# nothing to say of it), then ends it with SIGTERM, as a desktop session ends its programs.
# Succeeds when the program ended by that signal, fails when it ended before or otherwise (a crash).
#   tests/end_when_shown.sh PROGRAM
log=$(mktemp -u) && mkfifo "$log" || exit 2
QT_LOGGING_RULES=qt.widgets.painting=true "$1" >"$log" 2>&1 &
pid=$! shown=no
while IFS= read -r line; do
  case $line in
    *"Flushing QRegion("*") of MainWindow("*) [ $shown = yes ] || kill $pid; shown=yes ;;
  esac
done <"$log"
wait $pid
status=$?
rm -f "$log"
echo "window shown: $shown, exit status $status (143 on SIGTERM)"
[ $shown = yes ] && [ $status -eq 143 ]
