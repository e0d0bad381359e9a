#!/usr/bin/env bash
# Reproduces the README's "Speed and memory" tables in one go:
#   1. builds Orvanta, its benchmarks, the minimal Qt window and the X listener (Release, build/bench);
#   2. runs every file handler beside its floor (orvanta_bench, 5 repetitions, medians);
#   3. starts Orvanta and the minimal Qt window in turns on a virtual display (Xvfb), RUNS times each,
#      timing exec to the window's MapNotify and reading VmRSS after a second of idling;
#   4. prints the tables (bench/report.py).
#
# Usage: bash scripts/bench.sh [RUNS]      (RUNS defaults to 10)
# Measure on a quiet machine: the script shows the load average before it starts.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
bash scripts/setup.sh libx11-dev xvfb

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

echo >&2
python3 bench/report.py "$work/handlers.json" "$work/startup.txt"
