#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree and checks what a user would get:
# the files and where they go, the control fields, the desktop entry, the AppStream file, the
# copyright file, the changelog and the manual pages, and what lintian says of the package.
#   check_package.sh CPACK BUILD_DIR WORK_DIR PACKAGE VERSION APP_ID
# VERSION is the package's, with its Debian revision (1.00-1). WORK_DIR is emptied and reused;
# everything is made there, so no root rights are needed.
set -uo pipefail

if [ $# -ne 6 ]; then
  echo "usage: $0 CPACK BUILD_DIR WORK_DIR PACKAGE VERSION APP_ID" >&2
  exit 2
fi
cpack=$1 build_dir=$2 work=$3 package=$4 version=$5 app_id=$6
upstream_version=${version%-*}
licence="$(dirname "$0")/../LICENSE"
# The sizes of the hicolor theme that menus, docks and software centres ask for.
icon_sizes=(16 24 32 48 64 128 256)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Stops at once: for failures that leave nothing for the later checks to look at.
die() {
  echo "FAIL: $*" >&2
  exit 1
}

# The tools, and the Debian package each comes in (./dev.sh test installs them).
for tool in dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file \
  desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-parsechangelog:dpkg-dev \
  man:man-db lintian:lintian; do
  command -v "${tool%%:*}" >/dev/null || die "${tool%%:*} is missing: install ${tool##*:}"
done

rm -rf "$work"
mkdir -p "$work" || die "cannot create $work"

# 1. The package, built as a user would with `cpack -G DEB`, but into WORK_DIR.
if ! "$cpack" --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work" \
  >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  die "cpack could not build the package (log above)"
fi
arch=$(dpkg --print-architecture)
deb="$work/${package}_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
  ls -l "$work" >&2
  die "cpack made no ${deb##*/} (the folder holds the files above)"
fi
echo "built ${deb##*/}"

# 2. What it installs, and where.
listing=$(dpkg-deb -c "$deb") || die "dpkg-deb -c cannot read ${deb##*/}"
expect_file() {  # PATH [MODE]: a regular file at PATH, with MODE (as ls shows it) when given
  local line
  line=$(awk -v p="./$1" '$6 == p' <<<"$listing")
  if [ -z "$line" ]; then
    fail "the package has no /$1"
  elif [[ $line != -* ]]; then
    fail "/$1 in the package is not a regular file: $line"
  elif [ $# -eq 2 ] && [[ $line != "$2 "* ]]; then
    fail "/$1 in the package has mode ${line%% *}, not $2"
  fi
}
expect_file usr/bin/frustum -rwxr-xr-x
expect_file "usr/share/applications/$app_id.desktop" -rw-r--r--
for size in "${icon_sizes[@]}"; do
  expect_file "usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" -rw-r--r--
done
expect_file "usr/share/metainfo/$app_id.metainfo.xml" -rw-r--r--
for doc in copyright changelog.Debian.gz guide-bg.html frustum.svg screenshot.png; do
  expect_file "usr/share/doc/$package/$doc" -rw-r--r--
done
expect_file "usr/share/doc-base/$package-guide" -rw-r--r--
manual_pages=(usr/share/man/man1/frustum.1.gz usr/share/man/bg/man1/frustum.1.gz)
for page in "${manual_pages[@]}"; do
  expect_file "$page" -rw-r--r--
done
# Only /usr: a package that writes to /opt or /usr/local breaks Debian's rules.
outside=$(awk '$6 != "./" && $6 != "./usr/" && $6 !~ /^\.\/usr\//' <<<"$listing")
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"

# 3. The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)', not '$package'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not '$version'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not '$arch'"
[ -n "$(field Maintainer)" ] || fail "the package names no Maintainer"
[ -n "$(field Description)" ] || fail "the package has no Description"
case "$(field Section)" in
  science | education) ;;
  *) fail "Section is '$(field Section)', not science or education" ;;
esac
depends=$(field Depends)
echo "Depends: $depends"
# Each dependency alone, without its version: "libqt6widgets6 (>= 6.2.0)" -> libqt6widgets6.
names=$(tr ',|' '\n\n' <<<"$depends" | sed -e 's/(.*)//' -e 's/[[:space:]]//g')
# Liberation 2: fonts-liberation on Debian 13, fonts-liberation2 on Debian 12.
grep -Fq 'fonts-liberation (>= 1:2) | fonts-liberation2' <<<"$depends" ||
  fail "Depends lacks Liberation 2 for both releases: $depends"
# The name of Qt's widgets library package, computed by dpkg-shlibdeps (t64 on later releases).
grep -Eqx 'libqt6widgets6(t64)?' <<<"$names" || fail "Depends lacks Qt 6's libqt6widgets6: $depends"
# Qt's libraries only recommend the X11 platform plugin; installed without recommendations, the
# program could not show its window. And Qt's own texts in Bulgarian.
for needed in qt6-qpa-plugins qt6-translations-l10n; do
  grep -qx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done

# 4. The files themselves, unpacked as the package manager would.
root="$work/root"
dpkg-deb -x "$deb" "$root" || die "dpkg-deb -x cannot unpack ${deb##*/}"

desktop="$root/usr/share/applications/$app_id.desktop"
if [ -f "$desktop" ]; then
  # desktop-file-validate exits 0 on mere warnings: any remark at all fails here.
  if ! report=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$report" ]; then
    fail "desktop-file-validate finds fault with the desktop entry: $report"
  fi
  # The entry must start the installed program and name the installed icon.
  grep -qx 'Exec=frustum' "$desktop" || fail "the desktop entry does not run 'frustum'"
  grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry does not name the icon $app_id"
  # Docks tie the window to the entry by its X11 class, which Qt takes from the program's name.
  grep -qx 'StartupWMClass=frustum' "$desktop" || fail "the desktop entry's StartupWMClass is not frustum"
fi

for size in "${icon_sizes[@]}"; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  if [ -f "$icon" ]; then
    kind=$(file -b "$icon")
    [[ $kind == "PNG image data, $size x $size,"* ]] ||
      fail "the ${size}x${size} icon is not a $size x $size PNG: $kind"
  fi
done

metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
if [ -f "$metainfo" ]; then
  # --strict fails on warnings and infos too; --pedantic shows the pickiest hints as well.
  if ! report=$(XDG_CACHE_HOME="$work/cache" appstreamcli validate --no-net --pedantic --strict \
    --explain "$metainfo" 2>&1); then
    fail "appstreamcli finds fault with the metainfo file: $report"
  fi
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo file does not launch $app_id.desktop"
  for size in "${icon_sizes[@]}"; do
    grep -q "<icon type=\"stock\" width=\"$size\" height=\"$size\">$app_id</icon>" "$metainfo" ||
      fail "the metainfo file does not list the ${size}x${size} icon"
  done
  grep -q "<release version=\"$upstream_version\" " "$metainfo" ||
    fail "the metainfo file has no release $version (the version in CMakeLists.txt)"
fi

# The copyright file in Debian's machine-readable form, with the licence and holder of LICENSE.
copyright="$root/usr/share/doc/$package/copyright"
if [ -f "$copyright" ]; then
  head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
  holder=$(sed -n 's/^Copyright (c) //p' "$licence")
  grep -qx "Copyright: $holder" "$copyright" || fail "the copyright file does not name $holder"
  # The text of the stand-alone "License: Expat" paragraph, unindented, "." lines as blank ones.
  expat=$(awk 'previous == "License: Expat" && /^ / { on = 1 } on && !/^ / { on = 0 }
               on { print } { previous = $0 }' "$copyright" | sed -e 's/^ //' -e 's/^\.$//')
  [ "$expat" = "$(sed -n '/^Permission/,$p' "$licence")" ] ||
    fail "the copyright file's Expat licence differs from LICENSE"
fi

changelog="$root/usr/share/doc/$package/changelog.Debian.gz"
if [ -f "$changelog" ]; then
  gzip -dc "$changelog" >"$work/changelog"
  latest=$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>&1)
  [ "$latest" = "$version" ] || fail "the changelog's latest version is '$latest', not $version"
fi

# The manual pages: no complaint from man, and each names the variables that change what the
# program does and the guide's place.
for page in "${manual_pages[@]}"; do
  [ -f "$root/$page" ] || continue
  report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/$page" 2>&1 >/dev/null)
  [ -z "$report" ] || fail "man finds fault with /$page: $report"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$root/$page" 2>/dev/null)
  for word in DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR LC_ALL LANG \
    "/usr/share/doc/$package/guide-bg.html"; do
    grep -qwF -- "$word" <<<"$text" || fail "/$page does not mention $word"
  done
done

# lintian: no error, and no warning but the one the developer's guide explains (a first upload to
# Debian would close the bug that announced it; this package is not uploaded there).
if ! report=$(lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs \
  "$deb" 2>&1); then
  fail "lintian finds fault with the package: $report"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of ${deb##*/} failed" >&2
  exit 1
fi
echo "${deb##*/}: files, control fields, desktop entry, metainfo, copyright, changelog," \
  "manual pages and lintian are all right"
