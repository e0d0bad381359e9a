#!/usr/bin/env bash
# Tries the Windows installer as a user without administrator rights would, under Wine, in a fresh
# Japanese prefix of its own (build/package-test/wineprefix):
#   1. the MSI's Upgrade rows reach every version up to its own, inclusive, and detect a newer one;
#   2. msiexec /i <msi> /qn installs the zip's files into %LOCALAPPDATA%\Programs\Orvanta, a
#      Start-menu shortcut and an uninstall entry that names 「Orvanta 工房」 and the help page, and
#      nothing under Program Files;
#   3. the Start-menu shortcut starts the installed orvanta.exe, whose window appears;
#   4. a rebuild of the same version (another product code) installed over it replaces it: one
#      entry in Apps & features, one set of files;
#   5. msiexec /x <msi> /qn removes every file of the program, its folder and the shortcut, and
#      leaves the user's psw.ini and backup as they were.
# Expects the MSI and the zip in build/package/ (scripts/package.sh) and a display in DISPLAY; keeps
# a screenshot in build/package-test/. Usage: bash scripts/package-msi-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh wine wine64 locales x11-utils imagemagick unzip msitools

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

echo "== The Upgrade rows"
# UpgradeCode VersionMin VersionMax Language Attributes Remove ActionProperty, after three header lines.
msiinfo export "$msi" Upgrade | tr -d '\r' | tail -n +4 | LC_ALL=C sort >"$work/upgrade"
# Every version up to this one, inclusive (VersionMaxInclusive 512), is removed: a rebuild too.
awk -F'\t' -v v="$version" '$2 == "" && $3 == v && int($5 / 512) % 2 && int($5 / 2) % 2 == 0 && $7 == "WIX_UPGRADE_DETECTED"' \
  "$work/upgrade" | grep -q . || fail "no Upgrade row reaching $version inclusive: $(cat "$work/upgrade")"
# A newer version is only detected (OnlyDetect 2), from just above this one, and stops the install.
awk -F'\t' -v v="$version" '$2 == v && $3 == "" && int($5 / 256) % 2 == 0 && int($5 / 2) % 2 && $7 == "WIX_DOWNGRADE_DETECTED"' \
  "$work/upgrade" | grep -q . || fail "no Upgrade row detecting a newer version: $(cat "$work/upgrade")"
[ "$(wc -l <"$work/upgrade")" -eq 2 ] || fail "Upgrade rows other than these two: $(cat "$work/upgrade")"
echo "the Upgrade table replaces every version up to $version inclusive and stops at a newer one"

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
# The zip: the program's five files and its README.txt, a text Notepad reads as it is (UTF-8 with a
# byte-order mark, CR LF) that names the help key and the installer.
zipped=$(cd "$work/zip" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
[ "$zipped" = "./$name ./$name/COPYRIGHT ./$name/LICENSE ./$name/ORVANTA.HLP ./$name/README.txt ./$name/logob.jpg ./$name/orvanta.exe " ] ||
  fail "the zip holds $zipped"
readme=$work/zip/$name/README.txt
[ "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt does not start with a UTF-8 byte-order mark"
! grep -qv $'\r$' "$readme" || fail "README.txt has lines without CR LF"
for word in F1 ORVANTA.HLP WinHelp psw.ini win64.msi 署名 signature; do
  grep -qF -- "$word" "$readme" || fail "README.txt does not mention $word"
done
# One set of the program's files, the zip's, and the shortcut; WHEN says when, for the message.
check_installed() {
  local when=$1 file extra
  for file in orvanta.exe logob.jpg ORVANTA.HLP LICENSE COPYRIGHT; do
    cmp -s "$installdir/$file" "$work/zip/$name/$file" || fail "$when, $installdir/$file is not the zip's $file"
  done
  extra=$(find "$installdir" -mindepth 1 | sed "s|^$installdir/||" | grep -vxE 'orvanta.exe|logob.jpg|ORVANTA.HLP|LICENSE|COPYRIGHT' || true)
  [ -z "$extra" ] || fail "$when, the program's folder holds more than the zip: $extra"
  [ -f "$startmenu/Orvanta.lnk" ] || fail "$when, no Start-menu shortcut $startmenu/Orvanta.lnk"
}
check_installed "after msiexec /i"
program_files >"$work/program-files.after"
diff "$work/program-files.before" "$work/program-files.after" >"$work/program-files.diff" ||
  fail "the installer wrote under Program Files: $(cat "$work/program-files.diff")"
# The product codes Apps & features lists under the name Orvanta.
entries() {
  wine uninstaller --list 2>/dev/null | tr -d '\r' | sed -n 's/|||Orvanta$//p'
}
[ "$(entries | wc -l)" -eq 1 ] || fail "not one Orvanta in Apps & features: $(entries)"
# What Apps & features shows of it, from its uninstall key (Wine keeps it under HKLM even for a
# per-user install), read out in the console's code page, 932.
entry_value() {
  local root
  for root in HKCU HKLM; do
    wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(entries)" /v "$1" 2>/dev/null |
      iconv -f CP932 -t UTF-8 | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
  done | head -n1
}
[ "$(entry_value Publisher)" = "Orvanta 工房" ] || fail "the publisher in Apps & features is '$(entry_value Publisher)'"
[ "$(entry_value HelpLink)" = "https://orvanta.example/help/" ] || fail "the help link in Apps & features is '$(entry_value HelpLink)'"
echo "installed into %LOCALAPPDATA%\\Programs\\Orvanta ($installdir), the shortcut in the Start menu, Orvanta in Apps & features (publisher 「$(entry_value Publisher)」, help $(entry_value HelpLink)), nothing under Program Files"

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

echo "== A rebuild of the same version replaces it"
# What every build of the same version differs in: a new product code and a new package code.
rebuild=$work/rebuild.msi
cp "$msi" "$rebuild"
new_guid() {
  python3 -c 'import uuid; print("{%s}" % str(uuid.uuid4()).upper())'
}
product=$(new_guid)
msibuild "$rebuild" -q "UPDATE \`Property\` SET \`Value\` = '$product' WHERE \`Property\` = 'ProductCode'"
msibuild "$rebuild" -s "Orvanta パスワード管理" "Orvanta 工房" "x64;1041" "$(new_guid)"
first=$(entries)
wine msiexec /i "$(winepath -w "$rebuild")" /qn || fail "msiexec /i of the rebuild failed ($?)"
wineserver -w
[ "$(entries)" = "$product" ] ||
  fail "after the rebuild, Apps & features lists '$(entries | tr '\n' ' ')', not the rebuild's $product alone (the first was $first)"
check_installed "after the rebuild"
msi=$rebuild
echo "the rebuild ($product) replaced the first install ($first): one entry, one set of files"

echo "== msiexec /x $name.msi /qn"
wine msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x failed ($?)"
wineserver -w
[ ! -e "$installdir" ] || fail "left behind after msiexec /x: $(find "$installdir")"
[ ! -e "$startmenu/Orvanta.lnk" ] || fail "the Start-menu shortcut is left after msiexec /x"
wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q '|||Orvanta$' && fail "Orvanta is still in Apps & features"
cmp -s "$drive_c/windows/psw.ini" "$work/psw.ini" || fail "the uninstall changed the user's psw.ini"
cmp -s "$drive_c/psw.bkp" "$work/psw.bkp" || fail "the uninstall changed the user's psw.bkp"
echo "msiexec /x removed the program's files, folder and shortcut; the user's psw.ini and psw.bkp are untouched"
