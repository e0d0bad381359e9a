#!/usr/bin/env bash
# Builds Orvanta with every test and runs them all: the core and window tests (the window also with the
# screen reader Orca) and clang-tidy, then the core again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then short runs of the fuzzers, the Windows core under Wine, and last the
# packages: the .deb built, validated, installed, started and removed, and the Windows installer
# installed, started and removed under Wine.
# Usage: bash scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# Orca and what it runs on, for the window's screen-reader test (tests/view/qt/screen_reader_test.sh).
bash scripts/setup.sh clang libclang-rt-14-dev clang-format clang-tidy \
  orca at-spi2-core dbus-daemon xvfb xdotool x11-utils

jobs=$(nproc)

echo "== Format check"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== Build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DORVANTA_BUILD_TESTS=ON -DORVANTA_BUILD_BENCH=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/test -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== clang-tidy over every source, with the compile database of that build"
bash scripts/check.sh --all build/test

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer, with the C++ library's checks"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DORVANTA_SANITIZE=ON -DORVANTA_LIBRARY_CHECKS=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DORVANTA_BUILD_VIEW=OFF -DORVANTA_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The crash-safety suite runs whole, so that it prints what it measured.
ctest --test-dir build/asan --output-on-failure -j"$jobs" -E '^crash_safety_test\.'
build/asan/tests/safety/crash_safety_test --gtest_brief=1

echo "== Short fuzzing runs"
bash scripts/fuzz.sh 5

echo "== The core on Windows, under Wine"
bash scripts/windows-test.sh

echo "== The packages: the .deb validated, installed, started from the menu and removed; the MSI under Wine"
# The test suites ran above: the Debian build leaves them out.
DEB_BUILD_OPTIONS=nocheck bash scripts/package-test.sh
