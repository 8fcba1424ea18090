// Conversion of WAV sample data to the mixer's stereo float frames.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/audio_pcm.h"

namespace {

using plat::convertPcm;
using plat::PcmFormat;

struct ConvertCase {
    const char* name;
    PcmFormat format;
    std::vector<std::uint8_t> bytes;
    std::vector<float> stereo; // expected interleaved output
};

void PrintTo(const ConvertCase& c, std::ostream* os)
{
    *os << c.name;
}

class PcmConversion : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(PcmConversion, DecodesSamplesAtTheMixRate)
{
    const auto& c = GetParam();
    auto data = convertPcm(c.format, c.bytes);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->samples.size(), c.stereo.size());
    for (std::size_t i = 0; i < c.stereo.size(); ++i) {
        EXPECT_FLOAT_EQ(data->samples[i], c.stereo[i]) << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PcmConversion,
    ::testing::Values(
        // 8-bit samples are unsigned around 128; mono goes to both sides.
        ConvertCase{
            "mono8", {1, 44100, 8}, {128, 255, 0}, {0, 0, 127 / 128.f, 127 / 128.f, -1, -1}},
        // 16-bit samples are signed little-endian.
        ConvertCase{"stereo16",
                    {2, 44100, 16},
                    {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x00, 0x80},
                    {0.5f, -0.5f, 32767 / 32768.f, -1.0f}},
        // A trailing partial frame is dropped.
        ConvertCase{"partial", {2, 44100, 16}, {0x00, 0x40, 0x00, 0xC0, 0x11}, {0.5f, -0.5f}},
        // Half the rate doubles the frames, the new ones interpolated.
        ConvertCase{"upsample",
                    {1, 22050, 16},
                    {0x00, 0x00, 0x00, 0x40},
                    {0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f, 0.5f}},
        // Double the rate keeps every other frame.
        ConvertCase{"downsample", {1, 88200, 8}, {128, 192, 64, 0}, {0, 0, -0.5f, -0.5f}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PcmConversionRefuses, LayoutsItCannotPlay)
{
    const std::vector<std::uint8_t> bytes(16, 0);
    for (PcmFormat format :
         {PcmFormat{3, 44100, 16}, PcmFormat{0, 44100, 16}, PcmFormat{1, 44100, 24},
          PcmFormat{1, 44100, 4}, PcmFormat{1, 0, 16}, PcmFormat{2, -8000, 8}, PcmFormat{1, 99, 16},
          PcmFormat{1, 200001, 16}}) {
        EXPECT_EQ(convertPcm(format, bytes), nullptr)
            << format.channels << " ch " << format.rate << " Hz " << format.bitsPerSample;
    }
}

// A low rate stretches a sound; past ten minutes in the mixer it is refused
// rather than allocated.
TEST(PcmConversionRefuses, SoundsThatWouldGrowPastTheLimit)
{
    const std::vector<std::uint8_t> bytes(600 * 100 + 100, 0x80);
    EXPECT_EQ(convertPcm({1, 100, 8}, bytes), nullptr);
    auto limit = convertPcm({1, 100, 8}, std::span(bytes).first(600 * 100));
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->frames(), plat::kMaxPcmFrames);
}

TEST(PcmConversionRefuses, NothingForAnEmptySoundButAnEmptyResult)
{
    auto data = convertPcm({1, 22050, 8}, {});
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->frames(), 0u);
}

// The streaming resampler gives the same frames whether the input comes in
// whole or in blocks of any size.
TEST(LinearResampler, BlockSizeDoesNotChangeTheOutput)
{
    std::vector<float> input;
    for (int i = 0; i < 500; ++i) {
        input.push_back(std::sin(i * 0.1f));
        input.push_back(std::cos(i * 0.07f));
    }
    for (int fromRate : {22050, 32000, 48000}) {
        plat::LinearResampler whole;
        whole.setRates(fromRate, plat::kMixRate);
        std::vector<float> expected;
        whole.process(input, expected);

        for (std::size_t block : {1u, 7u, 64u}) {
            plat::LinearResampler pieces;
            pieces.setRates(fromRate, plat::kMixRate);
            std::vector<float> got;
            for (std::size_t i = 0; i < input.size() / 2; i += block) {
                const std::size_t n = std::min(block, input.size() / 2 - i);
                pieces.process(std::span<const float>(input).subspan(i * 2, n * 2), got);
            }
            ASSERT_EQ(got.size(), expected.size()) << fromRate << " Hz, blocks of " << block;
            for (std::size_t i = 0; i < got.size(); ++i) {
                ASSERT_FLOAT_EQ(got[i], expected[i]) << fromRate << " Hz, blocks of " << block;
            }
        }
        // About rate ratio times the input frames come out.
        const double ratio = static_cast<double>(plat::kMixRate) / fromRate;
        EXPECT_NEAR(expected.size() / 2.0, 500 * ratio, ratio + 1);
    }
}

} // namespace
