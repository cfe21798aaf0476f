#!/usr/bin/env bash
# Start-up of the calculator against the floor of Qt Widgets, on a virtual X display:
#
#   bench/startup.sh [BUILD_DIR] [ROUNDS] [SETTLE_MS]
#
# BUILD_DIR is an optimised build with the benchmarks (build/bench by default, as ./dev.sh startup
# makes it); ROUNDS (10 by default) is how often each program is started, and SETTLE_MS (500) how
# long each keeps running after its window is mapped before its memory is read. An Xvfb of its own,
# with no window manager, runs build/bench/app/frustum and build/bench/bench/empty_window (one
# empty QWidget) by turns, each round in the other order, after one start of each that is not
# counted. bench/map_watch times each from its start until its first window is mapped, and reads
# its peak resident memory (VmHWM) when it has settled. Prints every round, the medians, and the
# calculator's ratio and difference to the floor. Only prints figures: nothing fails on time.
set -euo pipefail

build=${1:-build/bench}
rounds=${2:-10}
settle_ms=${3:-500}
if ! [[ $rounds =~ ^[1-9][0-9]*$ && $settle_ms =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [BUILD_DIR] [ROUNDS] [SETTLE_MS]" >&2
  exit 2
fi
calculator=$build/app/frustum
floor=$build/bench/empty_window
watch=$build/bench/map_watch
for program in "$calculator" "$floor" "$watch"; do
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

# Xvfb picks a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" \
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

# The same environment for both: the X display, and the Bulgarian regional format of the users.
run() {  # run NAME PROGRAM: prints "MAP_MS HWM_KIB"
  local out
  if ! out=$(env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb LC_ALL=bg_BG.UTF-8 \
    "$watch" --settle-ms "$settle_ms" -- "$2" 2>>"$work/$1.log"); then
    echo "startup.sh: $2 failed:" >&2
    cat "$work/$1.log" >&2
    exit 1
  fi
  sed -E 's/^map_ms=([0-9.]+) hwm_kib=([0-9]+) .*/\1 \2/' <<<"$out"
}

echo "Xvfb $display, $rounds rounds, $settle_ms ms to settle; CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
run floor "$floor" >/dev/null
run frustum "$calculator" >/dev/null

printf '%-6s %14s %14s %16s %16s\n' round "floor ms" "frustum ms" "floor peak MiB" "frustum peak MiB"
: >"$work/floor"
: >"$work/frustum"
for ((i = 1; i <= rounds; ++i)); do
  if ((i % 2)); then order=(floor frustum); else order=(frustum floor); fi
  for name in "${order[@]}"; do
    if [ "$name" = floor ]; then run floor "$floor"; else run frustum "$calculator"; fi \
      >>"$work/$name"
  done
  read -r fm fk < <(tail -n 1 "$work/floor")
  read -r cm ck < <(tail -n 1 "$work/frustum")
  awk -v i="$i" -v fm="$fm" -v cm="$cm" -v fk="$fk" -v ck="$ck" \
    'BEGIN { printf "%-6d %14.1f %14.1f %16.1f %16.1f\n", i, fm, cm, fk / 1024, ck / 1024 }'
done

median() {  # median FILE COLUMN
  sort -g -k "$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
floor_ms=$(median "$work/floor" 1)
frustum_ms=$(median "$work/frustum" 1)
floor_kib=$(median "$work/floor" 2)
frustum_kib=$(median "$work/frustum" 2)
awk -v fm="$floor_ms" -v cm="$frustum_ms" -v fk="$floor_kib" -v ck="$frustum_kib" 'BEGIN {
  printf "median start-up to map: floor %.1f ms, frustum %.1f ms: %.2f times the floor (+%.1f ms); aim 1.30 times\n",
         fm, cm, cm / fm, cm - fm
  printf "median peak memory:     floor %.1f MiB, frustum %.1f MiB: +%.1f MiB over the floor; aim 8 MiB\n",
         fk / 1024, ck / 1024, (ck - fk) / 1024
}'
