#pragma once
// The game's random generator: a linear congruential generator kept per
// thread (state x 214013 + 2531011, result bits 16 to 30 of the new state).
// Each stage start seeds the game thread's generator, so a replay that
// plays back the same input from the same seed unfolds the same game.

#include <cstdint>

// Sets the calling thread's state.
void SeedRandom(std::uint32_t seed);

// Advances the calling thread's state and gives 0 to 32767.
int Random();

// The calling thread's state, for the per-frame state hash.
std::uint32_t RandomState();
