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
# The game opens at its title menu. An argument names a stage file (or a
# replay file) to play at once instead.
exec "../quenholt" "$@"
