#!/usr/bin/env bash
# Checks the Debian package as Debian checks one, then installs it on this machine and tries it, and
# last tries the Windows installer under Wine:
#   1. builds the packages (scripts/package.sh; DEB_BUILD_OPTIONS=nocheck leaves the test suites out
#      of the Debian build when they have run already);
#   2. desktop-file-validate on its desktop entry, appstreamcli on its metainfo, lintian on the
#      .changes (source and binary packages: no error, no warning);
#   3. dpkg -i, starts the program the way the desktop menu does (the entry's Exec line, from /, with
#      a fresh home folder) under Xvfb, checks the window shows its picture and F1 opens the help,
#      and runs the package's autopkgtest (debian/tests) against the installed package;
#   4. dpkg -r, and checks that nothing of the package is left but the user's own data;
#   5. the MSI under Wine (scripts/package-msi-test.sh).
# The screenshots are kept in build/package-test/. Needs root (or sudo) for dpkg.
# Usage: bash scripts/package-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh desktop-file-utils appstream lintian xvfb xauth x11-utils xdotool imagemagick
bash scripts/package.sh

app_id=example.orvanta.Orvanta
version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build/package/orvanta_${version}_amd64.deb
changes=build/deb/orvanta_${version}_amd64.changes
shots=$PWD/build/package-test
rm -rf "$shots"
mkdir -p "$shots"

fail() {
  echo "package-test: $*" >&2
  exit 1
}

echo "== The package's files, checked as Debian checks them"
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$app_id.metainfo.xml"
rm -rf "$unpacked"
# Errors and warnings fail; the informational tags are shown. An override needs its reason written
# beside it (debian/source/lintian-overrides).
lintian --fail-on error,warning --display-info "$changes" 2> >(grep -v 'running with root privileges' >&2)

echo "== Install, start from the menu, remove"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=
elif command -v sudo >/dev/null 2>&1; then
  SUDO=sudo
else
  fail "dpkg で入れて試すには root の権限が必要です / installing the package needs root (or sudo)"
fi
# dpkg's state of the package: empty or not-installed when it is not on this machine.
package_state() {
  dpkg-query -W -f='${db:Status-Status}' orvanta 2>/dev/null || true
}
if [ -n "$(package_state)" ] && [ "$(package_state)" != not-installed ]; then
  fail "orvanta パッケージが既に入っているため、入れ直して削除する試験はしません / the orvanta package is already installed; remove it first (dpkg -r orvanta)"
fi

source scripts/xvfb.sh
work=$(mktemp -d)
xvfb_pid=
app_pid=
installed=
cleanup() {
  set +e
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  if [ -n "$installed" ]; then $SUDO dpkg -r orvanta >/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# dpkg waits for no one: retry while another package tool holds its lock.
dpkg_retry() {
  for _ in $(seq 60); do
    if $SUDO dpkg "$@" >"$work/dpkg.log" 2>&1; then
      return 0
    fi
    grep -q 'lock' "$work/dpkg.log" || { cat "$work/dpkg.log" >&2; return 1; }
    sleep 2
  done
  cat "$work/dpkg.log" >&2
  return 1
}

installed=yes # also when dpkg -i stops half-way, the package is removed at the end
dpkg_retry -i "$deb"
dpkg -L orvanta | sort >"$work/files"
echo "installed: $(grep -c . "$work/files") paths"

entry=/usr/share/applications/$app_id.desktop
grep -qx 'Name\[ja\]=Orvanta パスワード管理' "$entry" || fail "the menu entry has no Japanese name"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
  test -f "/usr/share/icons/hicolor/$size/apps/$icon.png" || fail "no $size icon for the menu"
done
test -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" || fail "no scalable icon for the menu"
zcat /usr/share/man/man1/orvanta.1.gz | grep -q '^\.SH ENVIRONMENT' || fail "no English manual page"
zcat /usr/share/man/ja/man1/orvanta.1.gz | grep -q '^\.SH 環境変数' || fail "no Japanese manual page"

# A user of the menu: a home folder holding a data file of their own, the working directory /, and
# only the environment a desktop session gives.
home=$work/home
mkdir -p "$home/.local/share/orvanta"
printf '"hyoujimark","Menu"," ","0"," "\r\n' >"$home/.local/share/orvanta/psw.ini"
cp "$home/.local/share/orvanta/psw.ini" "$work/psw.ini.before"
mkdir -m 700 "$work/runtime"
start_xvfb "$work"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
(cd / && exec env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$DISPLAY" \
  XDG_RUNTIME_DIR="$work/runtime" LANG=ja_JP.UTF-8 sh -c "exec $exec_line") >"$work/orvanta.log" 2>&1 &
app_pid=$!

if ! window=$(wait_for_window '/\("orvanta" "Orvanta"\)/ && / 543x356\+/' "$app_pid"); then
  cat "$work/orvanta.log" >&2
  kill -0 "$app_pid" 2>/dev/null || fail "the program exited"
  fail "the window did not appear"
fi
[ "$(readlink "/proc/$app_pid/exe")" = /usr/bin/orvanta ] || fail "the menu did not start /usr/bin/orvanta"
[ "$(readlink "/proc/$app_pid/cwd")" = / ] || fail "the program was not started from /"
sleep 1 # the picture is put up once the window is on the screen
import -window "$window" "$shots/menu-start.png"

# The picture: the padlock in its top right corner, where no control lies, as in logob.jpg itself.
convert "$shots/menu-start.png" -crop 50x45+490+0 +repage "$work/shown.png"
convert /usr/share/orvanta/logob.jpg -crop 50x45+490+0 +repage "$work/picture.png"
difference=$(compare -metric RMSE "$work/shown.png" "$work/picture.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
echo "picture corner against logob.jpg: RMSE $difference"
awk -v d="$difference" 'BEGIN { exit !(d < 0.05) }' || fail "the window does not show its picture (RMSE $difference)"

# F1 opens the help installed in /usr/share/orvanta.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key --window "$window" F1
help=
for _ in $(seq 50); do
  help=$(xdotool search --name 'Orvanta ヘルプ' 2>/dev/null | head -n1) && [ -n "$help" ] && break
  sleep 0.2
done
[ -n "$help" ] || fail "F1 did not open the help"
sleep 0.5
import -window "$help" "$shots/help.png"
echo "the window shows its picture and F1 opens the help; screenshots in ${shots#"$PWD/"}/"

kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

echo "== The package's autopkgtest, against the installed package"
mkdir "$work/autopkgtest"
AUTOPKGTEST_TMP=$work/autopkgtest debian/tests/window-appears

dpkg_retry -r orvanta
installed=
if [ -n "$(package_state)" ] && [ "$(package_state)" != not-installed ]; then
  fail "dpkg still lists the package after dpkg -r: $(package_state)"
fi
left=()
while read -r path; do
  [ "$path" = /. ] && continue # the root, which dpkg lists for every package built by debhelper
  # Folders the package shares with others (/usr/share/icons, ...) stay; its own go.
  if [ -e "$path" ] && { [ ! -d "$path" ] || [ -z "$(dpkg -S "$path" 2>/dev/null)" ]; }; then
    left+=("$path")
  fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left behind after dpkg -r: ${left[*]}"
cmp -s "$home/.local/share/orvanta/psw.ini" "$work/psw.ini.before" || fail "the user's psw.ini changed"
echo "dpkg -r removed every file of the package; the user's psw.ini is untouched"

echo "== The Windows installer, under Wine"
bash scripts/package-msi-test.sh
