// Reading WAV files: which layouts load, and damaged files refused.
#include <gtest/gtest.h>

#include "media/ds_wave.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace {

using test::Bytes;
using test::riffChunk;
using test::wavFile;
using test::wavFormat;
using test::WavLayout;

const Bytes kSamples{1, 2, 3, 4, 5, 6};

struct LoadCase {
    const char* name;
    Bytes file;
    DSWAVEFORMAT expected;
    Bytes samples;
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

class WaveLoads : public ::testing::TestWithParam<LoadCase> {};

TEST_P(WaveLoads, KeepsFormatAndSamples)
{
    const auto& c = GetParam();
    DSWAVE wave;
    ASSERT_TRUE(DSParseWave(c.file, wave));
    EXPECT_EQ(wave.fmt.wFormatTag, c.expected.wFormatTag);
    EXPECT_EQ(wave.fmt.nChannels, c.expected.nChannels);
    EXPECT_EQ(wave.fmt.nSamplesPerSec, c.expected.nSamplesPerSec);
    EXPECT_EQ(wave.fmt.nAvgBytesPerSec, c.expected.nAvgBytesPerSec);
    EXPECT_EQ(wave.fmt.nBlockAlign, c.expected.nBlockAlign);
    EXPECT_EQ(wave.fmt.wBitsPerSample, c.expected.wBitsPerSample);
    EXPECT_EQ(wave.fmt.cbSize, c.expected.cbSize);
    EXPECT_EQ(wave.data, c.samples);
}

Bytes withExtraSize(WavLayout layout, std::size_t fmtBytes, std::uint16_t extra)
{
    layout.fmtBytes = fmtBytes;
    Bytes fmt = wavFormat(layout);
    fmt[16] = static_cast<std::uint8_t>(extra);
    fmt[17] = static_cast<std::uint8_t>(extra >> 8);
    return wavFile({riffChunk("fmt ", fmt), riffChunk("data", kSamples)});
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WaveLoads,
    ::testing::Values(
        LoadCase{"Fmt16",
                 wavFile(WavLayout{1, 1, 22050, 8, 16}, kSamples),
                 {1, 1, 22050, 22050, 1, 8, 0},
                 kSamples},
        LoadCase{"Fmt18",
                 withExtraSize({1, 2, 44100, 16, 18}, 18, 0),
                 {1, 2, 44100, 176400, 4, 16, 0},
                 kSamples},
        // Only the first 20 bytes of a longer format are read.
        LoadCase{"Fmt40",
                 withExtraSize({1, 1, 8000, 16, 18}, 40, 22),
                 {1, 1, 8000, 16000, 2, 16, 22},
                 kSamples},
        // Other chunks before and between are passed over.
        LoadCase{"OtherChunks",
                 wavFile({riffChunk("LIST", Bytes(7, 'x')), riffChunk("fmt ", wavFormat({})),
                          riffChunk("fact", Bytes(4, 0)), riffChunk("data", {9, 8, 7})}),
                 {1, 1, 22050, 22050, 1, 8, 0},
                 Bytes{9, 8, 7}},
        LoadCase{"EmptyData", wavFile(WavLayout{}, {}), {1, 1, 22050, 22050, 1, 8, 0}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A RIFF size that claims more than the file holds is taken to the end.
TEST(WaveLoad, RiffSizePastTheEndIsTakenToTheEnd)
{
    Bytes file = wavFile(WavLayout{}, kSamples);
    file[4] = file[5] = file[6] = file[7] = 0xFF;
    DSWAVE wave;
    ASSERT_TRUE(DSParseWave(file, wave));
    EXPECT_EQ(wave.data, kSamples);
}

TEST(WaveLoad, RefusesDamagedAndForeignFiles)
{
    const Bytes good = wavFile(WavLayout{}, kSamples);
    Bytes notRiff = good;
    notRiff[0] = 'X';
    Bytes notWave = good;
    notWave[8] = 'A';
    Bytes dataSizeTooLarge = good;
    dataSizeTooLarge[good.size() - kSamples.size() - 4] = 0x40; // the data chunk's size
    std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 12)},
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"not PCM", wavFile(WavLayout{3, 1, 22050, 32, 16}, kSamples)},
        {"ADPCM", wavFile(WavLayout{2, 1, 22050, 4, 20}, kSamples)},
        {"no fmt", wavFile({riffChunk("data", kSamples)})},
        {"fmt too short", wavFile({riffChunk("fmt ", Bytes(14, 1)), riffChunk("data", kSamples)})},
        {"no data", wavFile({riffChunk("fmt ", wavFormat({}))})},
        {"data before fmt",
         wavFile({riffChunk("data", kSamples), riffChunk("fmt ", wavFormat({}))})},
        {"data cut short", Bytes(good.begin(), good.end() - 2)},
        {"data size too large", dataSizeTooLarge},
    };
    for (const auto& [name, bytes] : cases) {
        DSWAVE wave;
        wave.data = {1};
        EXPECT_FALSE(DSParseWave(bytes, wave)) << name;
        EXPECT_TRUE(wave.data.empty()) << name;
    }
}

TEST(WaveLoad, ReadsGamePathsAndFreesTheSamples)
{
    test::TempDir dir;
    test::ScopedCurrentDir here(dir.path());
    const Bytes file = wavFile(WavLayout{}, kSamples);
    dir.write("se/Jump.wav", std::string(file.begin(), file.end()));
    DSWAVE wave;
    ASSERT_TRUE(DSLoadWave("se\\JUMP.WAV", wave));
    EXPECT_EQ(wave.data, kSamples);
    DSFreeWave(wave);
    EXPECT_TRUE(wave.data.empty());
    EXPECT_FALSE(DSLoadWave("se\\missing.wav", wave));
    EXPECT_FALSE(DSLoadWave("", wave));
    EXPECT_FALSE(DSLoadWave(nullptr, wave));
}

} // namespace
