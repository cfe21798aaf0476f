#!/usr/bin/env bash
# The two ways in:
#   ./dev.sh run    installs what is missing, builds and starts the calculator
#   ./dev.sh test   installs what is missing, builds with warnings as errors and runs every test
# and, for the developers and CI:
#   ./dev.sh bench [benchmark options]  builds optimised and prints the timings (build/bench)
#   ./dev.sh startup [rounds] [ms]      times the calculator's start-up and peak memory against a
#                                       reference window with one line edit under Xvfb; see
#                                       bench/startup.sh
#   ./dev.sh asan                       builds with AddressSanitizer and UBSan, runs every test;
#                                       then the start-up's test under ThreadSanitizer
#   ./dev.sh fuzz [seconds]             runs each libFuzzer target that long, 60 s by default
#   ./dev.sh windows                    cross-builds for Windows with MinGW-w64, runs every test
#                                       under Wine and makes the installer and the zip
#                                       (build/windows/packages); builds Qt for MinGW first, once
# Works on Debian 12 and 13 as root or through sudo. Packages already present are not installed
# again.
set -euo pipefail
cd "$(dirname "$0")"

# What differs between the releases. Liberation 2 is fonts-liberation2 on Debian 12 (bookworm),
# whose fonts-liberation is the older Liberation 1; Debian 13 (trixie) has it as fonts-liberation
# and keeps fonts-liberation2 only as a transitional package. The fuzzing clang is the release's
# own: 14 on Debian 12, 19 on Debian 13. Later releases are taken to be like Debian 13.
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
case "$codename" in
  bookworm) liberation=fonts-liberation2 clang_version=14 ;;
  *) liberation=fonts-liberation clang_version=19 ;;
esac

# What building, running and testing need. Liberation Serif has the metrics of Times New Roman,
# the window's font; qt6-translations-l10n has Qt's own texts in Bulgarian (context menus, the
# message box's button). qt6-base-dev brings qt6-qpa-plugins, the X11 platform plugin;
# libxcb1-dev's headers let the window ask the window manager for its frame.
packages=(cmake ninja-build g++ qt6-base-dev "$liberation" qt6-translations-l10n libxcb1-dev)
# libbenchmark-dev is here too so that the ci build compiles the benchmarks with -Werror.
# The package test builds the .deb (dpkg-dev, file: for dpkg-shlibdeps), validates its desktop
# entry, AppStream file and manual pages (desktop-file-utils, appstream, man-db) and runs lintian.
# The accessibility test runs the window on its own X display with a session bus and the
# accessibility bus (xvfb, dbus-daemon, at-spi2-core). The screen reader's test uses the program
# there with Orca (orca, and speech-dispatcher, its speech), under a window manager (openbox),
# pressing keys with xdotool.
test_packages=(libgtest-dev clang-format libbenchmark-dev dpkg-dev file desktop-file-utils appstream
               man-db lintian xvfb dbus-daemon at-spi2-core orca speech-dispatcher openbox xdotool)
bench_packages=(libbenchmark-dev)
# The start-up benchmark runs the programs on a virtual X display and watches it with Xlib.
startup_packages=(xvfb libx11-dev)
fuzz_packages=("clang-$clang_version" "libclang-rt-$clang_version-dev")
# The Windows build: MinGW-w64 (windres comes with its binutils), Wine to run the tests, Debian's
# GoogleTest sources to build for Windows, and NSIS for the installer. windows/build-qt.sh installs
# what building Qt needs. The package test uses the program as a user would, under Wine on a
# virtual display (xvfb) with a window manager (openbox): xdotool finds the windows and types,
# xclip reads the message box's texts that Ctrl+C copies, imagemagick takes the screenshots; python3
# reads the installer's page texts out of it.
windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 googletest nsis clang-format
                  xvfb openbox xdotool xclip imagemagick python3)

source scripts/install_missing.sh

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
  bench)
    install_missing "${packages[@]}" "${bench_packages[@]}"
    cmake --preset bench
    cmake --build --preset bench
    exec build/bench/bench/frustum_bench "${@:2}"
    ;;
  startup)
    install_missing "${packages[@]}" "${bench_packages[@]}" "${startup_packages[@]}"
    cmake --preset bench
    cmake --build --preset bench
    exec bench/startup.sh build/bench "${@:2}"
    ;;
  asan)
    install_missing "${packages[@]}" "${test_packages[@]}"
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan
    # The start-up holds Qt's messages under a lock, which only ThreadSanitizer sees go missing.
    # ThreadSanitizer cannot map its shadow memory under a kernel that randomises addresses over
    # more bits than it knows, so it runs without address randomisation where that may be turned off.
    no_aslr=() && setarch "$(uname -m)" -R true 2>/dev/null && no_aslr=(setarch "$(uname -m)" -R)
    "${no_aslr[@]}" cmake --workflow --preset tsan
    ;;
  fuzz)
    install_missing "${packages[@]}" "${fuzz_packages[@]}"
    FRUSTUM_FUZZ_CXX="clang++-$clang_version" exec fuzz/run.sh "${2:-60}"
    ;;
  windows)
    if [ "$codename" != bookworm ]; then
      echo "./dev.sh windows needs Debian 12 (bookworm): Qt for Windows is built from its Qt 6.4.2 source." >&2
      exit 1
    fi
    install_missing "${packages[@]}" "${windows_packages[@]}"
    qt_prefix="$(windows/build-qt.sh | tail -n 1)"
    cmake -S . -B build/windows -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_PREFIX_PATH="$qt_prefix" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DCMAKE_BUILD_TYPE=Release -DFRUSTUM_WERROR=ON
    cmake --build build/windows
    ctest --test-dir build/windows --output-on-failure --parallel "$(nproc)"
    # The packages handed out are the ones the windows_packages test made and checked.
    rm -rf build/windows/packages && mkdir -p build/windows/packages
    cp build/windows/packaging/windows/package-test/packages/*.{exe,zip} build/windows/packages/
    ls -l build/windows/packages/*.exe build/windows/packages/*.zip
    ;;
  *)
    echo "usage: $0 run | test | asan | bench [benchmark options] | startup [rounds] [settle ms] | fuzz [seconds] | windows" >&2
    exit 2
    ;;
esac
