#!/bin/bash
# Builds the game in Release and plays the bundled default game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
game_dir="$build/game"
mkdir -p "$game_dir"
cd "$game_dir"
# Until the title menu exists, the game starts at its first story stage, as
# a test play of that stage does. Arguments name another stage file.
if [[ $# -eq 0 ]]; then
  set -- 'data\stg4\Stage1.stg4'
fi
exec "../quenholt" "$@"
