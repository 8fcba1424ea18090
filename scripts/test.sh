#!/bin/bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (and libFuzzer coverage), then runs every test: unit tests, the brief fuzz
# runs and the benchmark smoke runs. Tests that need a real X server get one
# from Xvfb; the rest run with SDL's dummy drivers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build/test
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DRT_TESTS=ON -DRT_SANITIZE=ON -DRT_FUZZ=ON
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$(nproc)" "$@"
