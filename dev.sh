#!/usr/bin/env bash
# The two ways in:
#   ./dev.sh run    installs what is missing, builds and starts the calculator
#   ./dev.sh test   installs what is missing, builds with warnings as errors and runs every test
# Works on Debian 12 as root or through sudo. Packages already present are not installed again.
set -euo pipefail
cd "$(dirname "$0")"

# What building, running and testing need. fonts-liberation2 brings Liberation Serif, which has
# the metrics of Times New Roman, the window's font.
packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation2)
test_packages=(libgtest-dev clang-format)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

case "${1:-}" in
  run)
    install_missing "${packages[@]}"
    cmake --preset release
    cmake --build --preset release
    exec build/release/app/frustum
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    cmake --preset ci
    cmake --build --preset ci
    ctest --preset ci
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
