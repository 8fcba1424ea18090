#!/bin/bash
# Records again the demos of the bundled game that the demo-sync check
# plays (tests/demos): the whole program plays each of them from the
# keyboard, saves the replay with its state summary, and each must play
# back in sync before the new set replaces the stored one. The session of
# the play-through test (tests/demos/playthrough.session) is recorded the
# same way, by the program itself, and must play back to the same end.
# Run it on purpose, when a change of the game's behaviour or of the
# bundled game's stages is meant, and commit the demos it writes with that
# change.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build/test
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DRT_TESTS=ON -DRT_SANITIZE=ON -DRT_FUZZ=ON
cmake --build "$build" --target record_demos record_session
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt
recorded=$(mktemp -d)
trap 'rm -rf "$recorded"' EXIT
"$build/tests/record_demos" "$build/game" "$recorded"
"$build/tests/record_session" "$build/game" "$recorded"
rm -f tests/demos/*.rpl4_511 tests/demos/*.sync tests/demos/*.session
cp "$recorded"/* tests/demos/
echo "The demos in tests/demos were recorded again: commit them with the change."
