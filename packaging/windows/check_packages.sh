#!/usr/bin/env bash
# Makes the Windows packages from a build tree and checks them as a user meets them: the zip holds
# a program that needs only Windows' own DLLs, with the licences of all it links (NOTICES against
# the linker's MAP) and the source for relinking. Under Wine on a virtual display, the installer
# installs silently for all users and for the current user; the program started from its Start-menu
# entry shows the Bulgarian box for an impossible frustum typed into variant 2; the uninstaller
# leaves no file, Start-menu entry or registry key. The zip must start from a Cyrillic path too.
#   check_packages.sh CPACK BUILD_DIR WORK_DIR VERSION OBJDUMP WINDRES DLLTOOL MAP NOTICES QT_PREFIX
set -euo pipefail
cpack="$1" build_dir="$2" work="$3" version="$4" objdump="$5" windres="$6"
dlltool="$7" map="$8" notices="$9" qt_prefix="$(realpath -m "${10}")" caption='  Геометрия - пресечен кръгов конус$'
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

# A virtual display with a window manager, which gives windows the focus; Wine passes DISPLAY on
# to the programs, as it always does. Wine 8 plays Windows 7, which the installer refuses; after
# winecfg's second session the registry's keys stay as they are.
export LC_ALL=C.UTF-8 HOME="$work/home"  # Wine links the user's folders into the prefix
mkdir -p "$HOME" "$work/screenshots"
Xvfb -displayfd 3 -nolisten tcp 3>"$work/display" &>/dev/null &
xvfb=$! openbox=""
trap 'wineserver -k 2>/dev/null || true; kill $openbox $xvfb 2>/dev/null || true; wait' EXIT && trap 'exit 1' INT TERM
for _ in $(seq 300); do [ -s "$work/display" ] && break || sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable &>/dev/null &
openbox=$!
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
wineboot --init >/dev/null 2>&1
wineserver --wait
wine winecfg -v win10 >/dev/null 2>&1 && wineserver --wait

# The zip.
(cd "$work" && cmake -E tar xf "packages/$name.zip")
unpacked="$work/$name"
for file in frustum.exe LICENSE.txt qt-and-relinking.txt licenses/qt6-base/LICENSES/LGPL-3.0-only.txt \
  licenses/qt6-base/LICENSES/GPL-3.0-only.txt licenses/qt6-base/debian-copyright \
  guide/guide-bg.html guide/frustum.svg guide/screenshot.png source/CMakeLists.txt source/windows/build-qt.sh; do
  [ -s "$unpacked/$file" ] || fail "the zip lacks $file"
done
[ -z "$(find "$unpacked/source" -maxdepth 1 -name 'build*')" ] || fail "the zip holds a build folder"
# Each archive member and object in the map has the notice of the first matching line of NOTICES,
# where the build tree is BUILD/ and Qt's folder QT/; import libraries of Windows' DLLs need none.
while read -r file; do
  path="$(cd "$build_dir" && realpath -m "$file")" && path="${path/#$(realpath "$build_dir")\//BUILD/}" notice=""
  while read -r pattern text; do [[ "${path/#$qt_prefix\//QT/}" == $pattern ]] && notice="$text" && break
  done < <(grep -v '^#' "$notices")
  [ -n "$notice" ] || "$dlltool" --identify "$file" &>/dev/null || fail "no notice for linked $path"
  [ -z "$notice" ] || [ -s "$unpacked/$notice" ] || fail "the packages lack $notice, for $path"
done < <(sed -nE 's/^([^ ].*\.(a|o|obj))\(.*/\1/p; s/^LOAD (.*\.(o|obj|res))$/\1/p' "$map" | sort -u)

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

# Its resources: the version Explorer shows, in Bulgarian, the application icon and the manifest.
resources="$("$windres" -J coff -O rc -i "$unpacked/frustum.exe" 2>/dev/null)"
for field in FileVersion ProductVersion; do
  grep -q "VALUE \"$field\", \"$version\"" <<<"$resources" || fail "frustum.exe has no $field $version"
done
grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "frustum.exe has no icon"
resources="$(perl -CS -pe 's/\\x([0-9a-f]{4})/chr(hex $1)/ge; s/\\([1-7][0-7]{2})/chr(oct $1)/ge' <<<"$resources")
$(tr -d '\0' <"$unpacked/frustum.exe" | sed -n '/^<assembly xmlns/,/^<\/assembly>/p')"
for value in 'ProductName", L"Пресечен конус"' 'FileDescription", L"Изчисляване на пресечен кръгов конус"' \
  'CompanyName", L"Разработчиците на Frustum"' 'LegalCopyright", L"© 2026 Разработчиците на Frustum' \
  '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' '>PerMonitorV2<' 'Controls" version="6.0.0.0"'; do
  grep -qF "$value" <<<"$resources" || fail "frustum.exe's resources lack $value"
done

# Keys go out only once a window has the keyboard, which Wine takes some time after the window
# manager has made the window active. run starts a program or shortcut (a Unix path) as Explorer
# does, lets a FUNCTION use its window and closes it with Alt+F4, after which the program must end.
await() {  # prints the first visible window named REGEX within LIMIT seconds
  for _ in $(seq $(($1 * 5))); do
    xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1 | grep . && return 0 || sleep 0.2
  done
  return 1
}
focus() {
  xdotool windowactivate "$1" 2>/dev/null
  for _ in $(seq 600); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0 || sleep 0.1; done
  fail "the window $1 never got the keyboard"
}
run() {
  wine start /unix "$1" &>/dev/null &
  id="$(await 300 "$caption")" || { fail "$2: no window \"…$caption\""; return 0; }
  focus "$id" && ${3:-true}
  focus "$id" && xdotool key --clearmodifiers alt+F4
  timeout 120 wineserver --wait || { fail "$2: the program runs on after Alt+F4"; wineserver -k; }
}
# By the keyboard: Tab to the chosen variant, Down to variant 2, back to its r cell, r = 1, R = 2,
# L = 0.5, Tab to "Изчисли" and Space. Ctrl+C copies a box's title, text and buttons, as on Windows.
impossible_frustum() {
  xdotool key --delay 60 $(printf 'Tab %.0s' $(seq 15)) Down $(printf 'shift+Tab %.0s' $(seq 11)) \
    1 Tab 2 Tab 0 period 5 Tab Tab Tab space
  box="$(await 120 '^Грешка при изчисление$')" || { fail "no message box"; return 0; }
  focus "$box" && xdotool key ctrl+c
  for _ in $(seq 30); do text="$(xclip -o -sel clip 2>/dev/null)" && [ -n "$text" ] && break || sleep 1; done
  sleep 2 && import -window root "$work/screenshots/message.png"  # once Wine has drawn it all
  grep -qx 'Такъв пресечен конус не съществува: .*' <<<"$text" || fail "the box says: $text"
  grep -qx 'Добре *' <<<"$text" || fail "the box's button is not \"Добре\": $text"
  xdotool key Return sleep 2 && import -window root "$work/screenshots/window.png"
}
# The registry's key names, but for Windows' own lists of uninstall entries.
registry_keys() {
  wineserver --wait
  sed -n 's/^\[\([^]]*\)\].*/\1/p' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" | grep -v '\\Uninstall$'
}

# The pages' texts, as the installer and the uninstaller in it hold them: the program's name in
# quotes, "деинсталиране" for taking the program away (NSIS's Bulgarian says "изтриване", left only
# for files), and that installing for all users, not the program, needs an administrator's rights.
pages="$(python3 "$(dirname "$0")/installer_texts.py" "$work/packages/$name.exe")"
for text in '„Пресечен конус“' 'Деинсталиране на „Пресечен конус“' '&Деинсталирай' \
  'Натиснете „Деинсталирай“, за да започне деинсталирането.' \
  'Инсталирането на „Пресечен конус“ за всички потребители на този компютър изисква права на администратор.' \
  'Деинсталирането на „Пресечен конус“ за всички потребители на този компютър изисква права на администратор.'; do
  grep -qxF "$text" <<<"$pages" || fail "the installer's pages lack \"$text\""
done
grep -v '^Изтриване \(на\|на папка\|след рестарт\): $' <<<"$pages" | grep 'Изтри' &&
  fail "the uninstaller's pages speak of deleting"
wine "$work/packages/$name.exe" &>/dev/null &  # its pages speak the Bulgarian of NSIS
await 120 '^Инсталиране на „Пресечен конус“ *$' >/dev/null || fail "the installer's window is not Bulgarian"
wineserver -k || true; wineserver --wait
before="$(registry_keys)" user='C:\users\'"$(id -un)"
for mode in AllUsers CurrentUser; do
  root=HKLM folder='C:\Program Files\Frustum' menu='C:\ProgramData'
  [ $mode = AllUsers ] || root=HKCU folder="$user\\AppData\\Local\\Programs\\Frustum" menu="$user\\AppData\\Roaming"
  programs="$(winepath -u "$folder")" menu="$(winepath -u "$menu")/Microsoft/Windows/Start Menu/Programs"
  wine "$work/packages/$name.exe" /S "/$mode" && wineserver --wait || fail "$mode: the installer failed"
  # Each package strips its own copy, which gets its own time stamp and checksum in the PE header.
  cmp -s -i 1024 "$programs/frustum.exe" "$unpacked/frustum.exe" || fail "$mode: not the zip's frustum.exe"
  for entry in "Пресечен конус" "Ръководство за „Пресечен конус“" "Деинсталиране на „Пресечен конус“"; do
    [ -f "$menu/Пресечен конус/$entry.lnk" ] || fail "$mode: no Start-menu entry \"$entry\""
  done
  wine reg export "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Frustum" "$work/e.reg" /y \
    &>/dev/null || fail "$mode: no entry in Apps & features"
  for value in '"DisplayName"="Пресечен конус"' "\"DisplayVersion\"=\"$version\"" \
    "\"QuietUninstallString\"=\"\\\"${folder//\\/\\\\}\\\\Uninstall.exe\\\" /S /$mode\""; do
    iconv -f UTF-16 -t UTF-8 "$work/e.reg" | tr -d '\r' | grep -qxF "$value" || fail "$mode: no $value"
  done
  [ $mode = AllUsers ] || run "$menu/Пресечен конус/Пресечен конус.lnk" $mode impossible_frustum
  # As Apps & features runs the uninstaller; it copies itself away, so wait for Wine to finish.
  wine "$programs/Uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller failed"
  [ "$(registry_keys)" = "$before" ] || fail "$mode: the keys changed: $(diff <(echo "$before") <(registry_keys))"
  [ -z "$(find "$WINEPREFIX/drive_c" -iname '*frustum*' -o -name '*Пресечен*')" ] || fail "$mode: files left"
done

mkdir -p "$work/Моите програми" && (cd "$work/Моите програми" && cmake -E tar xf "../packages/$name.zip")
run "$work/Моите програми/$name/frustum.exe" "the zip"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of the Windows packages failed" >&2
  exit 1
fi
echo "The Windows packages are complete, install, start and uninstall in both modes"
