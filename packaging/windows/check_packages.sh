#!/usr/bin/env bash
# Makes the Windows packages from a build tree and checks them as a user meets them: the zip holds
# a program that needs only Windows' own DLLs, with the licences and the source for relinking; the
# installer, run silently under Wine, installs it with a Start-menu entry and an entry in "Apps &
# features" of version VERSION, and its uninstaller takes all of that away again.
#   check_packages.sh CPACK BUILD_DIR WORK_DIR VERSION OBJDUMP WINDRES
set -euo pipefail
cpack="$1" build_dir="$2" work="$3" version="$4" objdump="$5" windres="$6"
name="frustum-$version-win64"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
if ! (cd "$build_dir" && "$cpack" -B "$work/packages") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineboot --init >/dev/null 2>&1
wineserver --wait

# The zip.
(cd "$work" && cmake -E tar xf "packages/$name.zip")
unpacked="$work/$name"
for file in frustum.exe LICENSE.txt qt-and-relinking.txt licenses/qt6-base/LICENSES/LGPL-3.0-only.txt \
  licenses/qt6-base/LICENSES/GPL-3.0-only.txt licenses/qt6-base/debian-copyright \
  source/CMakeLists.txt source/windows/build-qt.sh; do
  [ -s "$unpacked/$file" ] || fail "the zip lacks $file"
done
[ -z "$(find "$unpacked/source" -maxdepth 1 -name 'build*')" ] || fail "the zip holds a build folder"

# The executable: a GUI program (no console window) importing only DLLs that come with Windows,
# system32's or API sets (api-ms-win-*), which Windows resolves itself.
headers="$("$objdump" -p "$unpacked/frustum.exe")"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "frustum.exe is not a GUI program"
while read -r dll; do
  [[ "${dll,,}" =~ ^(api|ext)-ms-win- ]] && continue
  [ -n "$(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll")" ] ||
    fail "frustum.exe needs $dll, which Windows does not have"
done < <(awk '/DLL Name:/ { print $3 }' <<<"$headers")
grep -qi 'DLL Name: kernel32.dll' <<<"$headers" || fail "no imports listed for frustum.exe"

# Its resources: the version Explorer shows, and the application icon.
resources="$("$windres" -J coff -O rc -i "$unpacked/frustum.exe" 2>/dev/null)"
for field in FileVersion ProductVersion; do
  grep -q "VALUE \"$field\", \"$version\"" <<<"$resources" || fail "frustum.exe has no $field $version"
done
grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "frustum.exe has no icon"

# The installer, silently.
wine "$work/packages/$name.exe" /S
wineserver --wait
programs="$WINEPREFIX/drive_c/Program Files/Frustum"
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Пресечен конус"
for file in frustum.exe Uninstall.exe LICENSE.txt licenses/qt6-base/LICENSES/LGPL-3.0-only.txt; do
  [ -f "$programs/$file" ] || fail "the installer did not install $file"
done
# Each package strips its own copy, which gets its own time stamp and checksum in the PE header.
cmp -s -i 1024 "$programs/frustum.exe" "$unpacked/frustum.exe" ||
  fail "the installed and the zipped programs differ"
for link in "Пресечен конус.lnk" "Uninstall.lnk"; do
  [ -f "$start_menu/$link" ] || fail "no Start-menu entry $link"
done
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Frustum'
registered="$(wine reg query "$key" 2>/dev/null | tr -d '\r')"
grep -Eq "DisplayVersion +REG_SZ +$version\$" <<<"$registered" || fail "Apps & features shows no version $version"
grep -Eq 'DisplayIcon +REG_SZ +C:\\Program Files\\Frustum\\frustum.exe$' <<<"$registered" ||
  fail "Apps & features shows no icon"
grep -Eq 'UninstallString +REG_SZ +"C:\\Program Files\\Frustum\\Uninstall.exe"$' <<<"$registered" ||
  fail "Apps & features has no uninstaller"

# The uninstaller, silently: it copies itself away and runs from there, so wait for Wine to finish.
wine "$programs/Uninstall.exe" /S
wineserver --wait
[ ! -e "$programs/frustum.exe" ] || fail "the uninstaller left frustum.exe"
[ ! -e "$start_menu" ] || fail "the uninstaller left the Start-menu entry"
if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstaller left the Apps & features entry"; fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of the Windows packages failed" >&2
  exit 1
fi
echo "The Windows packages are complete, install and uninstall"
