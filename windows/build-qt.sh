#!/usr/bin/env bash
# Builds a static Qt for 64-bit Windows (MinGW-w64) from Debian's own qt6-base source package, once,
# and prints the folder it is installed in as the last line of its output.
#
# Debian ships no Qt for MinGW, but everything needed to make one: the qt6-base source, the MinGW-w64
# cross compilers, and its own Linux Qt of the same version, whose moc, rcc and uic serve as the
# host tools of the cross build.
#
# The result is cached outside the clone, under a name keyed by Qt's version, the configure options,
# the toolchain file and the revision of the steps below (bump recipe_revision when they change what
# is installed):
#   ${XDG_CACHE_HOME:-$HOME/.cache}/frustum/qt-6.4.2-mingw-<hash>
# It is built in a scratch folder beside it and moved into place only when installed completely,
# so an interrupted build is never taken for a finished one. FRUSTUM_QT_JOBS sets the number of
# parallel compile jobs (all cores by default).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
toolchain="$here/../cmake/mingw-w64-x86_64.cmake"

qt_version=6.4.2
recipe_revision=1
mingw=x86_64-w64-mingw32

# Without patches, this configure builds. Two traps on the way to it: FEATURE_opengl=OFF leaves
# dynamicgl on and the windows platform plugin then fails to compile, so OpenGL is switched off with
# INPUT_opengl=no; and switching off direct2d breaks the link of the DirectWrite font database, so
# it keeps its default. Debian's tarball lacks wintab, hence no tablet events. The third-party
# libraries are Qt's bundled copies; MinGW has none of its own.
configure_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DFEATURE_static_runtime=ON
  -DFEATURE_optimize_size=ON
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_glib=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_jpeg=OFF
  -DINPUT_opengl=no
  -DFEATURE_tabletevent=OFF
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
)

packages=(dpkg-dev xz-utils perl cmake ninja-build qt6-base-dev g++-mingw-w64-x86-64-posix mingw-w64-tools)

source "$here/../scripts/install_missing.sh"

install_missing "${packages[@]}"

# The source must be the very version of the build machine's Qt, whose tools generate code for it
# (the source version, which a binary-only rebuild of the package does not change).
host_version="$(dpkg-query -W -f='${source:Version}' qt6-base-dev)"
case "$host_version" in
  "$qt_version"+*) ;;
  *) echo "build-qt.sh: the build machine's Qt is $host_version, not $qt_version" >&2; exit 1 ;;
esac

key="$( { printf '%s\n' "$recipe_revision" "$host_version" "${configure_options[@]}"; cat "$toolchain"; } |
  sha256sum | cut -c1-12)"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/frustum"
prefix="$cache_root/qt-$qt_version-mingw-$key"

if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "Qt $qt_version for MinGW: using the cached build in $prefix" >&2
  echo "$prefix"
  exit 0
fi

# apt-get source needs deb-src lines, which a fresh Debian 12 does not have.
sources_have_deb_src() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! sources_have_deb_src; then
  echo "Adding Debian's source repositories to apt" >&2
  cat <<'SOURCES' | "${sudo[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  "${sudo[@]}" apt-get update -qq
fi

mkdir -p "$cache_root"
work="$(mktemp -d "$cache_root/.qt-build.XXXXXX")"
log="$work/build.log"
echo "Building Qt $qt_version for MinGW in $work (log: $log); this takes about half an hour" >&2

fail() {
  echo "build-qt.sh: $1 failed; the last lines of $log:" >&2
  tail -n 40 "$log" >&2
  exit 1
}

(cd "$work" && apt-get source --download-only "qt6-base=$host_version") >>"$log" 2>&1 || fail "downloading the source"
(cd "$work" && dpkg-source -x qt6-base_*.dsc src) >>"$log" 2>&1 || fail "unpacking the source"

# Installed into the final path under a staging root (DESTDIR), so that every path written into
# the installed files is the final one, then moved into place in one rename.
started=$SECONDS
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  "${configure_options[@]}" >>"$log" 2>&1 || fail "configuring Qt"
cmake --build "$work/build" --parallel "${FRUSTUM_QT_JOBS:-$(nproc)}" >>"$log" 2>&1 || fail "building Qt"
DESTDIR="$work/stage" cmake --install "$work/build" >>"$log" 2>&1 || fail "installing Qt"
[ -f "$work/stage$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] || fail "installing Qt (no Qt6Config.cmake)"

# A program linked with this Qt ships Qt's licences: the LGPL and GPL texts, Debian's copyright
# file of the source package, and the licence and attribution files of the third-party code that
# Qt bundles.
licences="$work/stage$prefix/share/licenses/qt6-base"
mkdir -p "$licences"
cp -r "$work/src/LICENSES" "$licences/"
cp "$work/src/debian/copyright" "$licences/debian-copyright"
(cd "$work/src" && find src/3rdparty -maxdepth 3 -type f \( -iname 'licen[cs]e*' -o -iname 'copying*' \
  -o -name FTL.TXT -o -name qt_attribution.json \) -exec cp --parents {} "$licences/" \;) ||
  fail "copying the licences"

mv -T "$work/stage$prefix" "$prefix"
echo "Qt $qt_version for MinGW built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s: $prefix" >&2
rm -rf "$work"
echo "$prefix"
