#!/usr/bin/env bash
# Start-up of the calculator against a reference window and the floor of Qt Widgets, on a
# virtual X display:
#
#   bench/startup.sh [BUILD_DIR] [ROUNDS] [SETTLE_MS]
#
# BUILD_DIR is an optimised build with the benchmarks (build/bench by default, as ./dev.sh startup
# makes it); ROUNDS (10 by default) is how often each program is started, and SETTLE_MS (500) how
# long each keeps running after its window is mapped before its memory is read. An Xvfb of its own,
# with no window manager, runs by turns build/bench/app/frustum, build/bench/bench/reference_window
# (a window of the calculator's size with one empty line edit in its font) and
# build/bench/bench/empty_window (one empty QWidget), each round in another order, after one start
# of each that is not counted. bench/map_watch times each from its start until its first window is
# mapped, and reads its peak resident memory (VmHWM) when it has settled. Where `chrt -f 1` works,
# Xvfb and the programs run at real-time priority, so that other work on the machine disturbs the
# timings less. Prints every round, the medians, and the median of the calculator's per-round
# ratios to the reference and to the floor. Only prints figures: nothing fails on time.
set -euo pipefail

build=${1:-build/bench}
rounds=${2:-10}
settle_ms=${3:-500}
if ! [[ $rounds =~ ^[1-9][0-9]*$ && $settle_ms =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [BUILD_DIR] [ROUNDS] [SETTLE_MS]" >&2
  exit 2
fi
calculator=$build/app/frustum
reference=$build/bench/reference_window
floor=$build/bench/empty_window
watch=$build/bench/map_watch
for program in "$calculator" "$reference" "$floor" "$watch"; do
  if [ ! -x "$program" ]; then
    echo "startup.sh: $program is missing; build the bench preset first (./dev.sh startup does)" >&2
    exit 2
  fi
done
command -v Xvfb >/dev/null || { echo "startup.sh: Xvfb is missing (package xvfb)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
finish() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT

# Real-time priority where the system grants it (root, or CAP_SYS_NICE); the programs inherit it
# from map_watch.
realtime=()
if chrt -f 1 true 2>/dev/null; then realtime=(chrt -f 1); fi

# Xvfb picks a free display number itself and writes it to descriptor 3.
"${realtime[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "startup.sh: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
display=":$(tr -d '[:space:]' <"$work/display")"

# The same environment for all: the X display, and the Bulgarian regional format of the users.
run() {  # run NAME PROGRAM: prints "MAP_MS HWM_KIB"
  local out
  if ! out=$(env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb LC_ALL=bg_BG.UTF-8 \
    "${realtime[@]}" "$watch" --settle-ms "$settle_ms" -- "$2" 2>>"$work/$1.log"); then
    echo "startup.sh: $2 failed:" >&2
    cat "$work/$1.log" >&2
    exit 1
  fi
  sed -E 's/^map_ms=([0-9.]+) hwm_kib=([0-9]+) .*/\1 \2/' <<<"$out"
}

declare -A programs=([frustum]=$calculator [reference]=$reference [floor]=$floor)
names=(frustum reference floor)
priority=normal
[ ${#realtime[@]} -eq 0 ] || priority="real-time (chrt -f 1)"
echo "Xvfb $display, $rounds rounds, $settle_ms ms to settle, $priority priority; CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
for name in "${names[@]}"; do run "$name" "${programs[$name]}" >/dev/null; done

printf '%-6s %10s %13s %10s %10s %12s %13s %12s\n' round "floor ms" "reference ms" "frustum ms" \
  "frustum/ref" "floor MiB" "reference MiB" "frustum MiB"
for name in "${names[@]}"; do : >"$work/$name"; done
: >"$work/ratios"
for ((i = 1; i <= rounds; ++i)); do
  # Each round starts with another of the three, so none always runs first or last.
  order=("${names[@]:i % 3}" "${names[@]:0:i % 3}")
  for name in "${order[@]}"; do run "$name" "${programs[$name]}" >>"$work/$name"; done
  read -r fm fk < <(tail -n 1 "$work/floor")
  read -r rm rk < <(tail -n 1 "$work/reference")
  read -r cm ck < <(tail -n 1 "$work/frustum")
  echo "$cm $rm $fm" | awk '{ print $1 / $2, $1 / $3 }' >>"$work/ratios"
  awk -v i="$i" -v fm="$fm" -v rm="$rm" -v cm="$cm" -v fk="$fk" -v rk="$rk" -v ck="$ck" \
    'BEGIN { printf "%-6d %10.1f %13.1f %10.1f %10.2fx %12.1f %13.1f %12.1f\n", i, fm, rm, cm, cm / rm,
             fk / 1024, rk / 1024, ck / 1024 }'
done

median() {  # median FILE COLUMN
  sort -g -k "$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
awk -v fm="$(median "$work/floor" 1)" -v rm="$(median "$work/reference" 1)" \
  -v cm="$(median "$work/frustum" 1)" -v to_ref="$(median "$work/ratios" 1)" \
  -v to_floor="$(median "$work/ratios" 2)" -v fk="$(median "$work/floor" 2)" \
  -v rk="$(median "$work/reference" 2)" -v ck="$(median "$work/frustum" 2)" 'BEGIN {
  printf "median start-up to map: floor %.1f ms, reference %.1f ms, frustum %.1f ms\n", fm, rm, cm
  printf "frustum against the reference, median of the per-round ratios: %.2f times; aim 1.00 times\n", to_ref
  printf "frustum against the floor, median of the per-round ratios:     %.2f times\n", to_floor
  printf "median peak memory: floor %.1f MiB, reference %.1f MiB, frustum %.1f MiB: +%.1f MiB over the floor; aim 8 MiB\n",
         fk / 1024, rk / 1024, ck / 1024, (ck - fk) / 1024
}'
