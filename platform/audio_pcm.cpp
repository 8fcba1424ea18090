#include "platform/audio_pcm.h"

#include <algorithm>

#include "platform/byte_reader.h"

namespace plat {

namespace {

// One sample of integer PCM as a float in [-1, 1).
float sampleAt(const std::uint8_t* p, int bits)
{
    if (bits == 8) {
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    }
    return static_cast<std::int16_t>(loadLittleEndian<std::uint16_t>(p)) / 32768.0f;
}

} // namespace

bool isSupportedPcm(const PcmFormat& format)
{
    return (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           format.rate >= kMinPcmRate && format.rate <= kMaxPcmRate;
}

std::shared_ptr<const PcmData> convertPcm(const PcmFormat& format,
                                          std::span<const std::uint8_t> bytes)
{
    if (!isSupportedPcm(format)) {
        return nullptr;
    }
    const std::size_t sampleBytes = static_cast<std::size_t>(format.bitsPerSample / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(format.channels);
    const std::size_t inFrames = bytes.size() / frameBytes;
    const auto outFrameCount =
        static_cast<std::uint64_t>(inFrames) * kMixRate / static_cast<std::uint64_t>(format.rate);
    if (outFrameCount > kMaxPcmFrames) {
        return nullptr;
    }

    // Decode to stereo at the file's own rate first.
    std::vector<float> stereo(inFrames * 2);
    for (std::size_t i = 0; i < inFrames; ++i) {
        const std::uint8_t* frame = bytes.data() + i * frameBytes;
        float left = sampleAt(frame, format.bitsPerSample);
        float right =
            format.channels == 2 ? sampleAt(frame + sampleBytes, format.bitsPerSample) : left;
        stereo[i * 2] = left;
        stereo[i * 2 + 1] = right;
    }

    auto data = std::make_shared<PcmData>();
    if (format.rate == kMixRate || inFrames == 0) {
        data->samples = std::move(stereo);
        return data;
    }

    // Linear interpolation; output frame k sits at input position k * rate / kMixRate.
    const auto from = static_cast<std::uint64_t>(format.rate);
    const auto to = static_cast<std::uint64_t>(kMixRate);
    const std::uint64_t outFrames = std::max<std::uint64_t>(1, inFrames * to / from);
    data->samples.resize(outFrames * 2);
    for (std::uint64_t k = 0; k < outFrames; ++k) {
        const std::uint64_t scaled = k * from;
        const std::uint64_t i = std::min<std::uint64_t>(scaled / to, inFrames - 1);
        const std::uint64_t j = std::min<std::uint64_t>(i + 1, inFrames - 1);
        const float frac = static_cast<float>(scaled % to) / static_cast<float>(to);
        for (int c = 0; c < 2; ++c) {
            const float a = stereo[i * 2 + c];
            const float b = stereo[j * 2 + c];
            data->samples[k * 2 + c] = a + (b - a) * frac;
        }
    }
    return data;
}

void LinearResampler::setRates(int fromRate, int toRate)
{
    const auto from = static_cast<std::uint64_t>(std::max(fromRate, 1));
    const auto to = static_cast<std::uint64_t>(std::max(toRate, 1));
    step_ = (from << 32) / to;
    if (step_ == 0) {
        step_ = 1;
    }
    reset();
}

void LinearResampler::reset()
{
    pos_ = 1ull << 32;
    haveLast_ = false;
    last_[0] = last_[1] = 0.0f;
}

void LinearResampler::process(std::span<const float> inStereo, std::vector<float>& out)
{
    const std::size_t n = inStereo.size() / 2;
    if (n == 0) {
        return;
    }
    if (step_ == (1ull << 32)) {
        out.insert(out.end(), inStereo.begin(),
                   inStereo.begin() + static_cast<std::ptrdiff_t>(n * 2));
        return;
    }
    if (!haveLast_) {
        last_[0] = inStereo[0];
        last_[1] = inStereo[1];
        haveLast_ = true;
    }
    // Frame z[0] is the held frame of the previous block, z[i + 1] is input frame i.
    auto z = [&](std::uint64_t i, int c) { return i == 0 ? last_[c] : inStereo[(i - 1) * 2 + c]; };
    while ((pos_ >> 32) + 1 <= n) {
        const std::uint64_t i = pos_ >> 32;
        const float frac = static_cast<float>(pos_ & 0xFFFFFFFFu) / 4294967296.0f;
        for (int c = 0; c < 2; ++c) {
            const float a = z(i, c);
            const float b = z(i + 1, c);
            out.push_back(a + (b - a) * frac);
        }
        pos_ += step_;
    }
    pos_ -= static_cast<std::uint64_t>(n) << 32;
    last_[0] = inStereo[(n - 1) * 2];
    last_[1] = inStereo[(n - 1) * 2 + 1];
}

} // namespace plat
