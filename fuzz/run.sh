#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, AddressSanitizer, UBSan) and runs each
# for the given number of seconds, 60 by default:
#   fuzz/run.sh [seconds]
# Fails when a target finds a crash, a sanitizer report, a leak, a time-out or an out-of-memory.
# What a target finds is saved under build/fuzz/findings/<target>/; the inputs it gathered stay in
# build/fuzz/corpus/<target>/ and seed the next run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

# The clang to build with: FRUSTUM_FUZZ_CXX (dev.sh names the release's own), else the newest
# clang++-N installed.
cxx="${FRUSTUM_FUZZ_CXX:-}"
[ -n "$cxx" ] || cxx="$(compgen -c clang++- | grep -E '^clang\+\+-[0-9]+$' | sort -t- -k2 -n | tail -n 1 || true)"
if [ -z "$cxx" ] || ! command -v "$cxx" >/dev/null; then
  echo "fuzz/run.sh: no clang++ found (./dev.sh fuzz installs the release's own)" >&2
  exit 1
fi
cmake --preset fuzz -DCMAKE_CXX_COMPILER="$cxx"
cmake --build --preset fuzz

failed=()
for target in val_fuzz form_fuzz; do
  corpus="build/fuzz/corpus/$target"
  findings="build/fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings/")
  [ -f "fuzz/$target.dict" ] && args+=(-dict="fuzz/$target.dict")
  # New inputs go to the first folder only; the checked-in seeds are read and never written.
  dirs=("$corpus")
  [ -d "fuzz/corpus/$target" ] && dirs+=("fuzz/corpus/$target")
  echo "== $target for ${seconds}s"
  if "build/fuzz/fuzz/$target" "${args[@]}" "${dirs[@]}"; then
    echo "== $target: no crash in ${seconds}s"
  else
    echo "== $target FAILED; the input is in $findings/" >&2
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found crashes in: ${failed[*]}" >&2
  exit 1
fi
echo "Fuzzing: every target ran ${seconds}s without a crash"
