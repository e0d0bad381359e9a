#!/usr/bin/env bash
# Builds the core, orvanta.exe and their tests for 64-bit Windows with mingw-w64 and runs them under
# Wine, in a fresh Japanese Wine prefix (ANSI code page 932) with a floppy drive A: (with a disk) and
# B: (without one), and a Windows folder the program may not write to, on a virtual display where the
# window's tests create the real window.
# Usage: bash scripts/windows-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# libstb-dev: the picture's decoder, compiled into orvanta.exe.
bash scripts/setup.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libstb-dev wine wine64 googletest locales xvfb

. scripts/japanese-wine.sh
export WINEPREFIX="$PWD/build/wineprefix"

jobs=$(nproc)

echo "== Windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"

# The virtual display. -noreset: Wine's server connects and disconnects as programs come and go, and
# a display that resets when its last client leaves would lose its state between two tests.
display_dir=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$display_dir/display" >"$display_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
# A Windows folder the program may not write to, as C:\Windows is to everyone but an administrator.
# Wine follows the folder's Unix permissions, which root passes over: for root the folder is made
# immutable instead (it holds an empty psw.ini, whose bytes the tests may still change in place).
locked="$PWD/build/windows/locked-windir"
unlock() {
  if [ -d "$locked" ]; then
    chattr -i "$locked" 2>/dev/null || true
    chmod u+w "$locked" 2>/dev/null || true
  fi
}
stop_all() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$display_dir"
  unlock
}
trap stop_all EXIT
for _ in $(seq 100); do
  [ -s "$display_dir/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$display_dir/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n1 "$display_dir/display")"

echo "== Windows: a fresh Wine prefix"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1

# A floppy drive A: as Wine makes one: a drive link to a folder and the drive's type in the registry.
# B: is a floppy drive without a disk: its link leads nowhere. Wine reads the drive types when it
# starts, so the prefix is started again afterwards.
floppy="$PWD/build/windows/floppy"
mkdir -p "$floppy"
ln -sfn "$floppy" "$WINEPREFIX/dosdevices/a:"
ln -sfn "$PWD/build/windows/no-disk" "$WINEPREFIX/dosdevices/b:"
for drive in a: b:; do
  wine reg add 'HKLM\Software\Wine\Drives' /v "$drive" /t REG_SZ /d floppy /f >/dev/null 2>&1
done
wineserver -k
export ORVANTA_TEST_FLOPPY=A
export ORVANTA_TEST_EMPTY_FLOPPY=B

unlock
rm -rf "$locked"
mkdir -p "$locked"
: >"$locked/psw.ini"
if [ "$(id -u)" -eq 0 ]; then
  chattr +i "$locked" 2>/dev/null || echo "windows-test: cannot make $locked immutable; its tests are skipped" >&2
else
  chmod a-w "$locked"
fi
if ! touch "$locked/probe" 2>/dev/null; then
  export ORVANTA_TEST_LOCKED_WINDIR="Z:${locked//\//\\}"
else
  rm -f "$locked/probe"
fi

# What someone else placed under the names the program makes or locks with (a Windows program under
# Wine cannot make links): a read-only file, a folder and a link at names of the program's own, and at
# the lock's name a link to nothing, a pipe, a folder and a link to a file.
placed="$PWD/build/windows/placed"
rm -rf "$placed"
mkdir -p "$placed"/{outside,list,readonly,folder/psw.ini.bak,lock-nothing,lock-pipe,lock-folder/.orvanta.lock,lock-file}
for file in outside/secret.txt outside/lock folder/psw.ini.bak/inside readonly/psw.ini.bak; do echo outside >"$placed/$file"; done
chmod a-w "$placed/readonly/psw.ini.bak"
ln -s "$placed/outside/secret.txt" "$placed/list/20260203090507_psw.csv"
ln -s "$placed/outside/none" "$placed/lock-nothing/.orvanta.lock"
mkfifo "$placed/lock-pipe/.orvanta.lock"
ln -s "$placed/outside/lock" "$placed/lock-file/.orvanta.lock"
for folder in lock-nothing lock-pipe lock-folder lock-file; do echo old >"$placed/$folder/psw.ini"; done
export ORVANTA_TEST_PLACED="Z:${placed//\//\\}"

# Wine's background processes must not hold ctest's output pipes, or ctest waits for them forever:
# keep the server running and start them now, outside ctest.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null

echo "== Windows: test"
# Now and then a test under Wine fails at once, in a hundredth of a second and without a line of output,
# before its program could run (it passed 16 runs in a row afterwards): such a test runs once more. A
# test that fails on its merits fails both times.
ctest --preset windows -j"$jobs" --repeat until-pass:2
