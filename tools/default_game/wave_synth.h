#pragma once
// A tiny synthesiser for the default game's sound effects: tones of a few
// wave shapes whose pitch slides from one frequency to another, each with a
// short attack and a straight fade, mixed and written as a PCM WAV file of
// 22050 Hz, 8 bits, mono (the format the sound layer is set up with).

#include <cstdint>
#include <vector>

namespace defgame {

enum class Wave { Square, Triangle, Sine, Noise };

// One tone of a sound: it starts at `at` seconds and lasts `length`
// seconds; its pitch slides from `from` to `to` Hz (for noise: the rate at
// which the noise changes); volume 0 to 1.
struct Tone {
    double at;
    double length;
    double from;
    double to;
    Wave wave;
    double volume;
};

inline constexpr int kSampleRate = 22050;

// The samples of the mixed tones, -1 to 1.
std::vector<double> synthesise(const std::vector<Tone>& tones);

// A WAV file of 8-bit unsigned PCM, mono, 22050 Hz.
std::vector<std::uint8_t> encodeWav(const std::vector<double>& samples);

} // namespace defgame
