#!/usr/bin/env bash
# Builds Orvanta with every test and runs them all: the core and window tests, then the core again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then short runs of the fuzzers.
# Usage: bash scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh clang libclang-rt-14-dev clang-format

jobs=$(nproc)

echo "== Format check"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== Build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_BUILD_BENCH=ON >/dev/null
cmake --build build/test -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j"$jobs"
