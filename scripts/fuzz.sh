#!/bin/bash
# Runs one fuzz target for a long time: scripts/fuzz.sh <name> [seconds]
# (default 600). Uses the test build; findings are written to build/fuzz-findings.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh <target name> [seconds]}
seconds=${2:-600}
build=build/test
if [[ ! -x "$build/fuzz/fuzz_$name" ]]; then
  bash scripts/install-deps.sh
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DRT_TESTS=ON -DRT_SANITIZE=ON -DRT_FUZZ=ON
fi
cmake --build "$build" --target "fuzz_$name"
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan-suppressions.txt
mkdir -p build/fuzz-findings "build/fuzz-corpus/$name"
dict=()
if [[ -f "fuzz/$name.dict" ]]; then
  dict=(-dict="fuzz/$name.dict")
fi
exec "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=2048 "${dict[@]}" \
  -artifact_prefix="build/fuzz-findings/${name}-" \
  "build/fuzz-corpus/$name" "$build/fuzz/corpus/$name"
