#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer, the C++
# library's checks) into build/fuzz and runs each for the given number of seconds over its seed corpus
# in fuzz/corpus/.
# New inputs go to build/fuzz/corpus/<name>; an input that crashes is kept as
# build/fuzz/crashes/<name>-crash-... and fails the run.
# Usage: bash scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
targets=(rows restore hive stored_text mail_key help)

cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DORVANTA_BUILD_FUZZ=ON -DORVANTA_SANITIZE=ON -DORVANTA_LIBRARY_CHECKS=ON \
  -DORVANTA_BUILD_TESTS=OFF -DORVANTA_BUILD_VIEW=OFF -DORVANTA_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build/fuzz/crashes
summary=()
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  log=build/fuzz/$target.log
  echo "== Fuzzing $target for ${seconds} s"
  if ! build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
       -print_final_stats=1 -artifact_prefix=build/fuzz/crashes/"$target"- \
       "$corpus" fuzz/corpus/"$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$target found a fault; the input is in build/fuzz/crashes/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  summary+=("fuzz_$target: ${runs:-?} executions in ${seconds} s, nothing found")
done
printf '%s\n' "${summary[@]}"
