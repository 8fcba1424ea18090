#!/bin/bash
# Builds the benchmarks in Release and runs them all (or those named).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRT_TESTS=ON
cmake --build "$build"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for b in "$build"/bench/bench_*; do
  name=$(basename "$b")
  if [[ $# -eq 0 ]] || [[ " $* " == *" ${name#bench_} "* ]]; then
    echo "== $name"
    if [[ $name == bench_running_game ]]; then
      # The whole program in a window, as a player runs it.
      xvfb-run -a -s "-screen 0 1024x768x24" env SDL_VIDEODRIVER=x11 "$b"
    else
      "$b"
    fi
  fi
done
