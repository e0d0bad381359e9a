#!/usr/bin/env bash
# Tries the Windows installer as a user without administrator rights would, under Wine, in a fresh
# Japanese prefix of its own (build/package-test/wineprefix):
#   1. msiexec /i <msi> /qn installs the zip's files into %LOCALAPPDATA%\Programs\Orvanta, a
#      Start-menu shortcut and an uninstall entry, and nothing under Program Files;
#   2. the Start-menu shortcut starts the installed orvanta.exe, whose window appears;
#   3. msiexec /x <msi> /qn removes every file of the program, its folder and the shortcut, and
#      leaves the user's psw.ini and backup as they were.
# Expects the MSI and the zip in build/package/ (scripts/package.sh) and a display in DISPLAY; keeps
# a screenshot in build/package-test/. Usage: bash scripts/package-msi-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh wine wine64 locales x11-utils imagemagick unzip

version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=orvanta-$version-win64
msi=$PWD/build/package/$name.msi
zip=$PWD/build/package/$name.zip
shots=$PWD/build/package-test
mkdir -p "$shots"

fail() {
  echo "package-msi-test: $*" >&2
  exit 1
}
[ -f "$msi" ] && [ -f "$zip" ] || fail "no $name.msi and .zip in build/package/ (run scripts/package.sh)"
[ -n "${DISPLAY:-}" ] || fail "no display (DISPLAY)"

. scripts/japanese-wine.sh
. scripts/xvfb.sh
export WINEPREFIX=$shots/wineprefix

work=$(mktemp -d)
app_pid=
cleanup() {
  set +e
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; fi
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Windows installer: a fresh Wine prefix"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
# A Windows path as the user's programs see it, in Unix form.
unix_path() {
  winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null
}
localappdata=$(unix_path '%LOCALAPPDATA%')
startmenu=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
installdir=$localappdata/Programs/Orvanta
drive_c=$WINEPREFIX/drive_c
[ -d "$localappdata" ] || fail "no %LOCALAPPDATA% in the prefix ($localappdata)"

# The user's own files, which an uninstall must leave alone: the data file in %Windir% and a backup
# at the root of drive C:.
printf '"hyoujimark","MSI"," ","0"," "\r\n' >"$drive_c/windows/psw.ini"
printf '"MSI","id","pw"," "\r\n' >"$drive_c/psw.bkp"
cp "$drive_c/windows/psw.ini" "$work/psw.ini"
cp "$drive_c/psw.bkp" "$work/psw.bkp"
program_files() {
  find "$drive_c/Program Files" "$drive_c/Program Files (x86)" 2>/dev/null | LC_ALL=C sort
}
program_files >"$work/program-files.before"

echo "== msiexec /i $name.msi /qn"
wine msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i failed ($?)"
wineserver -w
unzip -q "$zip" -d "$work/zip"
for file in orvanta.exe logob.jpg ORVANTA.HLP LICENSE COPYRIGHT; do
  cmp -s "$installdir/$file" "$work/zip/$name/$file" || fail "$installdir/$file is not the zip's $file"
done
extra=$(find "$installdir" -mindepth 1 | sed "s|^$installdir/||" | grep -vxE 'orvanta.exe|logob.jpg|ORVANTA.HLP|LICENSE|COPYRIGHT' || true)
[ -z "$extra" ] || fail "the program's folder holds more than the zip: $extra"
[ -f "$startmenu/Orvanta.lnk" ] || fail "no Start-menu shortcut $startmenu/Orvanta.lnk"
program_files >"$work/program-files.after"
diff "$work/program-files.before" "$work/program-files.after" >"$work/program-files.diff" ||
  fail "the installer wrote under Program Files: $(cat "$work/program-files.diff")"
wine uninstaller --list 2>/dev/null | tr -d '\r' >"$work/installed"
grep -q '|||Orvanta$' "$work/installed" || fail "no Orvanta in Apps & features: $(cat "$work/installed")"
echo "installed into %LOCALAPPDATA%\\Programs\\Orvanta ($installdir), the shortcut in the Start menu, Orvanta in Apps & features, nothing under Program Files"

echo "== The Start-menu shortcut starts the installed orvanta.exe"
wine start /wait "$(winepath -w "$startmenu/Orvanta.lnk")" >"$work/orvanta.log" 2>&1 &
app_pid=$!
window=$(wait_for_window '/\("orvanta.exe" /') ||
  { cat "$work/orvanta.log" >&2; fail "the installed orvanta.exe showed no window"; }
pgrep -f 'AppData.Local.Programs.Orvanta.orvanta\.exe' >/dev/null ||
  fail "the window is not the installed orvanta.exe's"
sleep 1
import -window "$window" "$shots/msi-start.png"
wineserver -k
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "the installed orvanta.exe shows its window; screenshot ${shots#"$PWD/"}/msi-start.png"

echo "== msiexec /x $name.msi /qn"
wine msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x failed ($?)"
wineserver -w
[ ! -e "$installdir" ] || fail "left behind after msiexec /x: $(find "$installdir")"
[ ! -e "$startmenu/Orvanta.lnk" ] || fail "the Start-menu shortcut is left after msiexec /x"
wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q '|||Orvanta$' && fail "Orvanta is still in Apps & features"
cmp -s "$drive_c/windows/psw.ini" "$work/psw.ini" || fail "the uninstall changed the user's psw.ini"
cmp -s "$drive_c/psw.bkp" "$work/psw.bkp" || fail "the uninstall changed the user's psw.bkp"
echo "msiexec /x removed the program's files, folder and shortcut; the user's psw.ini and psw.bkp are untouched"
