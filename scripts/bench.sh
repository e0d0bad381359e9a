#!/usr/bin/env bash
# Reproduces the README's "Speed and memory" tables in one go:
#   1. builds Orvanta, its benchmarks, the minimal Qt window and the X listener (Release, build/bench);
#   2. runs every file handler beside its floor (orvanta_bench, 5 repetitions, medians);
#   3. starts Orvanta and the minimal Qt window in turns on a virtual display (Xvfb), RUNS times each,
#      timing exec to the window's MapNotify and reading VmRSS after a second of idling;
#   4. when Wine and mingw-w64 are there, does the same for orvanta.exe and a bare Win32 window with the
#      same controls (build/windows-release), under Wine in a fresh Japanese prefix on the same display;
#   5. prints the tables (bench/report.py).
# The start-up goal is 1.10× the yardstick, for the median and for the fastest start, on Linux and on
# Windows. A miss prints a FAIL line and ends the script with status 1. This is a benchmark, not a test:
# scripts/test.sh (CI) does not run it, since a shared machine's noise alone can miss the goal.
#
# Usage: bash scripts/bench.sh [RUNS]      (RUNS defaults to 10)
# Measure on a quiet machine: the script shows the load average before it starts.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
# libstb-dev: the picture's decoder, compiled into orvanta.exe.
bash scripts/setup.sh libx11-dev xvfb libstb-dev

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "== Building (Release) into build/bench" >&2
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANTA_BUILD_TESTS=ON -DORVANTA_BUILD_BENCH=ON \
  -DORVANTA_BUILD_VIEW=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target orvanta orvanta_bench minimal_window map_listener >"$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; echo "the build failed" >&2; exit 1; }
bench=build/bench/bench
bin=build/bench/bin

echo "== Load before the run: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores" >&2

echo "== Handlers beside their floors (about two minutes)" >&2
TMPDIR="$work" "$bench/orvanta_bench" --benchmark_format=json --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true >"$work/handlers.json"

echo "== Start-up: Orvanta and a minimal Qt window, $runs starts each, in turns" >&2
# Orvanta's own files, all in the work folder: psw.ini of 99 rows in Windir, the registry hive with
# the product identifier that psw.ini was stored with, no drive links.
mkdir -p "$work/windir" "$work/dosdevices" "$work/runtime"
chmod 700 "$work/runtime"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"ProductId"="55274-640-1234567-23"\r\n' \
  >"$work/registry.reg"
"$bench/orvanta_bench" --write-psw-ini "$work/windir/psw.ini"

source scripts/xvfb.sh
start_xvfb "$work"
export XDG_RUNTIME_DIR="$work/runtime"
export Windir="$work/windir" ORVANTA_REGISTRY="$work/registry.reg" ORVANTA_DOSDEVICES="$work/dosdevices"

listener=$(realpath "$bench/map_listener")
orvanta=./orvanta
minimal=$(realpath "$bench/minimal_window")
start() { # name program
  (cd "$bin" && "$listener" "$2") | sed "s/^/$1 /" >>"$work/${3:-startup.txt}"
}
# One start of each first, not counted: it brings both programs and Qt's libraries into the page cache.
start orvanta "$orvanta" warmup.txt
start minimal "$minimal" warmup.txt
for i in $(seq "$runs"); do
  if [ $((i % 2)) -eq 1 ]; then
    start orvanta "$orvanta"
    start minimal "$minimal"
  else
    start minimal "$minimal"
    start orvanta "$orvanta"
  fi
done

windows_report=()
if command -v wine >/dev/null 2>&1 && command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 &&
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "== Start-up on Windows: orvanta.exe and a bare Win32 window under Wine, $runs starts each, in turns" >&2
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j"$(nproc)" --target orvanta minimal_window_win32 >"$work/build-windows.log" 2>&1 ||
    { cat "$work/build-windows.log" >&2; echo "the Windows build failed" >&2; exit 1; }
  winbin=build/windows-release/bin
  # A fresh Japanese prefix, with the product identifier psw.ini was stored with and psw.ini in %Windir%.
  export LC_ALL=ja_JP.UTF-8 WINEARCH=win64 WINEDEBUG=-all WINEPREFIX="$work/wineprefix" WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
  # In the registry's 32-bit view, the one orvanta.exe reads the key from.
  wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion' /v ProductId /t REG_SZ \
    /d 55274-640-1234567-23 /reg:32 /f >/dev/null 2>&1
  cp "$work/windir/psw.ini" "$WINEPREFIX/drive_c/windows/psw.ini"
  # The server and Wine's own background programs keep running between the starts, as they do on a
  # Windows desktop: each start then times the program, not Wine's start-up. (The server that set the
  # prefix up is stopped first: -p cannot take over a running one.)
  wineserver -k
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  start_windows() { # name program [file]
    (cd "$winbin" && "$listener" wine "$2") | sed "s/^/$1 /" >>"$work/${3:-startup-windows.txt}"
  }
  start_windows orvanta orvanta.exe warmup-windows.txt
  start_windows minimal minimal_window_win32.exe warmup-windows.txt
  for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then
      start_windows orvanta orvanta.exe
      start_windows minimal minimal_window_win32.exe
    else
      start_windows minimal minimal_window_win32.exe
      start_windows orvanta orvanta.exe
    fi
  done
  wineserver -k
  windows_report=("$work/startup-windows.txt")
else
  echo "== Start-up on Windows skipped: it needs wine, mingw-w64 and the ja_JP.UTF-8 locale (scripts/windows-test.sh sets them up)" >&2
fi

echo >&2
status=0
python3 bench/report.py "$work/handlers.json" "$work/startup.txt" "${windows_report[@]}" || status=$?
if [ "$status" -eq 1 ]; then
  echo "FAIL: the start-up goal (≤ 1.10× the yardstick, median and fastest start) was missed: see the FAIL lines above." >&2
  echo "      Check the load average above; on a busy machine, run again when it is quiet." >&2
fi
exit "$status"
