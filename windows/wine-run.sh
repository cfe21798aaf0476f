#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, as CTest's cross-compiling emulator:
#   wine-run.sh WINEPREFIX FONT_DIR PROGRAM.exe [ARGUMENTS...]
# Wine keeps QT_* variables from reaching a Windows process, so the program is started through
# Wine's cmd with a "set" for each of them: the QT_* variables of this environment (CTest sets
# QT_SCALE_FACTOR for the high-DPI tests) and QT_QPA_FONTDIR. On Windows, Qt's offscreen platform
# reads fonts only from that folder, which holds Liberation Serif alone, so that every "Times New
# Roman" text is drawn with the metrics the window is laid out for.
# The arguments pass through cmd unquoted (a quote would reach the program), with cmd's operator
# characters escaped; the build folder's path must not contain blanks.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 WINEPREFIX FONT_DIR PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }
export WINEPREFIX="$(realpath -m "$1")"
font_dir="$2"
program="$3"
shift 3

# No Wine debugging chatter; no offer to download Mono or Gecko; never a window on a display.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

windows_path() {  # Wine maps the root of the Unix file system to drive Z:.
  local path
  path="$(realpath -m "$1")"
  printf 'Z:%s' "${path//\//\\}"
}

cmd_escape() {
  local text="$1" out="" i c
  for ((i = 0; i < ${#text}; i++)); do
    c="${text:i:1}"
    case "$c" in
      [\&\|\<\>\^\(\)]) out+="^$c" ;;
      '"' | ' ' | '%') echo "wine-run.sh: cannot pass [$text] through cmd" >&2; exit 2 ;;
      *) out+="$c" ;;
    esac
  done
  printf '%s' "$out"
}

# A new prefix is set up once, under a lock, since CTest starts tests in parallel.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver --wait
  fi
) 9>"$WINEPREFIX.lock"

line=""
while IFS='=' read -r name value; do
  [ "$name" = QT_QPA_FONTDIR ] && continue
  line+="set $name=$(cmd_escape "$value")&& "
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=' || true)
line+="set QT_QPA_FONTDIR=$(cmd_escape "$(windows_path "$font_dir")")&& "
line+="$(cmd_escape "$(windows_path "$program")")"
for arg in "$@"; do
  line+=" $(cmd_escape "$arg")"
done
exec wine cmd /c "$line"
