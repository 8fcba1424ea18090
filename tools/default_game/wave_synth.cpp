#include "tools/default_game/wave_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "data/byte_writer.h"

namespace defgame {
namespace {

// The attack, in seconds: long enough that a tone starts without a click.
constexpr double kAttack = 0.004;

// The wave at a phase (in cycles); noise holds its last random value.
double waveAt(Wave wave, double phase, double held)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Square:
        return p < 0.5 ? 1.0 : -1.0;
    case Wave::Triangle:
        return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Sine:
        return std::sin(2 * std::numbers::pi * p);
    case Wave::Noise:
        return held;
    }
    return 0;
}

} // namespace

std::vector<double> synthesise(const std::vector<Tone>& tones)
{
    double end = 0;
    for (const Tone& t : tones)
        end = std::max(end, t.at + t.length);
    std::vector<double> mix(static_cast<std::size_t>(std::ceil(end * kSampleRate)) + 1, 0.0);
    std::uint32_t noise = 22222;
    for (const Tone& t : tones) {
        const auto first = static_cast<std::size_t>(t.at * kSampleRate);
        const auto count = static_cast<std::size_t>(t.length * kSampleRate);
        double phase = 0;
        double held = 0;
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double s = static_cast<double>(i) / kSampleRate;
            const double f = t.from + (t.to - t.from) * s / t.length;
            const double before = phase;
            phase += f / kSampleRate;
            if (t.wave == Wave::Noise && std::floor(phase) != std::floor(before)) {
                noise = noise * 1103515245u + 12345u;
                held = ((noise >> 16) & 0x7FFF) / 16383.5 - 1.0;
            }
            const double attack = std::min(1.0, s / kAttack);
            const double fade = 1.0 - s / t.length;
            mix[first + i] += waveAt(t.wave, phase, held) * t.volume * attack * fade;
        }
    }
    for (double& v : mix)
        v = std::clamp(v, -1.0, 1.0);
    return mix;
}

std::vector<std::uint8_t> encodeWav(const std::vector<double>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size());
    ByteWriter out;
    out.writeBytes("RIFF", 4);
    out.writeU32(36 + dataBytes + (dataBytes & 1));
    out.writeBytes("WAVEfmt ", 8);
    out.writeU32(16);
    out.writeU16(1);           // PCM
    out.writeU16(1);           // mono
    out.writeU32(kSampleRate); // samples per second
    out.writeU32(kSampleRate); // bytes per second
    out.writeU16(1);           // block align
    out.writeU16(8);           // bits per sample
    out.writeBytes("data", 4);
    out.writeU32(dataBytes);
    for (double v : samples)
        out.writeU8(static_cast<std::uint8_t>(std::lround(128 + v * 127)));
    if (dataBytes & 1) out.writeU8(0); // chunks are padded to an even length
    return out.take();
}

} // namespace defgame
