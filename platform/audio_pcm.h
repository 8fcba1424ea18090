#pragma once
// Sample data in the mixer's own format. Sounds are converted once, when they
// are loaded, to interleaved stereo float frames at the mixer's rate, so that
// playing them is only a scaled add.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace plat {

// The mixer's rate and channel count; the audio device is opened with them.
inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

// Interleaved stereo frames at kMixRate.
struct PcmData {
    std::vector<float> samples;
    std::size_t frames() const { return samples.size() / kMixChannels; }
};

// The layout of integer PCM samples as a WAV file describes them.
struct PcmFormat {
    int channels = 0;      // 1 or 2
    int rate = 0;          // frames per second
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed, little-endian)
};

// The rates a sound may have, and the longest sound (in mixer frames) that
// is converted: a damaged header must not turn a small file into gigabytes.
inline constexpr int kMinPcmRate = 100;
inline constexpr int kMaxPcmRate = 200000;
inline constexpr std::size_t kMaxPcmFrames = std::size_t{kMixRate} * 600;

// Whether the mixer can take samples of this layout; anything else is
// refused rather than guessed.
bool isSupportedPcm(const PcmFormat& format);

// Converts integer PCM to the mixer's format (mono is copied to both sides,
// other rates are resampled linearly). A trailing partial frame is dropped.
// Null when the layout is not supported or the result would be longer than
// kMaxPcmFrames.
std::shared_ptr<const PcmData> convertPcm(const PcmFormat& format,
                                          std::span<const std::uint8_t> bytes);

// Resamples interleaved stereo frames from one rate to another by linear
// interpolation. The position carries across calls so a stream can be
// resampled block by block without clicks.
class LinearResampler {
public:
    void setRates(int fromRate, int toRate);
    void reset();
    // Appends the output frames that the given input frames yield to out.
    void process(std::span<const float> inStereo, std::vector<float>& out);

private:
    std::uint64_t step_ = 1ull << 32; // input frames per output frame, 32.32 fixed point
    std::uint64_t pos_ = 0;           // position after the held frame, 32.32
    float last_[2] = {0.0f, 0.0f};    // the input frame before the current block
    bool haveLast_ = false;
};

} // namespace plat
