#!/usr/bin/env bash
# Builds the core and its tests for 64-bit Windows with mingw-w64 and runs them under Wine, in a
# fresh Japanese Wine prefix (ANSI code page 932) with a floppy drive A:.
# Usage: bash scripts/windows-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh g++-mingw-w64-x86-64-posix wine wine64 googletest locales

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi
  $SUDO sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi

export LC_ALL=ja_JP.UTF-8
export WINEARCH=win64
export WINEDEBUG=-all
export WINEPREFIX="$PWD/build/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts

jobs=$(nproc)

echo "== Windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"

echo "== Windows: a fresh Wine prefix"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1

# A floppy drive A: as Wine makes one: a drive link to a folder and the drive's type in the registry.
# Wine reads the drive types when it starts, so the prefix is started again afterwards.
floppy="$PWD/build/windows/floppy"
mkdir -p "$floppy"
ln -sfn "$floppy" "$WINEPREFIX/dosdevices/a:"
wine reg add 'HKLM\Software\Wine\Drives' /v a: /t REG_SZ /d floppy /f >/dev/null 2>&1
wineserver -k
export ORVANTA_TEST_FLOPPY=A

# Wine's background processes must not hold ctest's output pipes, or ctest waits for them forever:
# keep the server running and start them now, outside ctest.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null

echo "== Windows: test"
ctest --preset windows -j"$jobs"
