// The Ogg Vorbis player: decoding to the mix, looping, stopping, and damaged
// files refused or cut short without a hang.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/audio_ogg.h"
#include "support/ogg_pages.h"
#include "support/test_data.h"

namespace {

using plat::OggPlayer;

// The tones are 441 Hz sines of amplitude 0.5 (the right channel of the
// stereo one at 0.25), one second long.
struct Tone {
    const char* file;
    float leftAmplitude;
    float rightAmplitude;
};

const Tone kTones[] = {{"tone_mono_22050.ogg", 0.5f, 0.5f}, {"tone_stereo_44100.ogg", 0.5f, 0.25f}};

std::vector<std::uint8_t> toneBytes(const char* file)
{
    auto bytes = test::readBytes(test::buildDataPath(file));
    EXPECT_FALSE(bytes.empty()) << "the build writes " << file;
    return bytes;
}

std::vector<float> render(OggPlayer& player, std::size_t frames)
{
    std::vector<float> out(frames * 2, 0.0f);
    player.mix(out.data(), frames);
    return out;
}

float rms(const std::vector<float>& stereo, int channel, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t f = from; f < to; ++f) {
        sum += stereo[f * 2 + channel] * stereo[f * 2 + channel];
    }
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

int zeroCrossings(const std::vector<float>& stereo, std::size_t from, std::size_t to)
{
    int n = 0;
    for (std::size_t f = from + 1; f < to; ++f) {
        n += (stereo[(f - 1) * 2] < 0) != (stereo[f * 2] < 0);
    }
    return n;
}

TEST(OggPlayer, DecodesTheToneAtTheMixRate)
{
    for (const Tone& tone : kTones) {
        OggPlayer player;
        ASSERT_TRUE(player.load(toneBytes(tone.file))) << tone.file;
        player.play();
        auto out = render(player, 44100 + 4410);
        // A sine's RMS is its amplitude over root 2; a second of 441 Hz
        // crosses zero 882 times.
        EXPECT_NEAR(rms(out, 0, 4410, 39690), tone.leftAmplitude / std::sqrt(2.0f), 0.02f)
            << tone.file;
        EXPECT_NEAR(rms(out, 1, 4410, 39690), tone.rightAmplitude / std::sqrt(2.0f), 0.02f)
            << tone.file;
        EXPECT_NEAR(zeroCrossings(out, 0, 44100), 882, 4) << tone.file;
        // Played once: silence after the end, and stopped.
        EXPECT_LT(rms(out, 0, 44100, 44100 + 4410), 0.01f) << tone.file;
        EXPECT_FALSE(player.isPlaying()) << tone.file;
    }
}

TEST(OggPlayer, LoopsTheGivenNumberOfTimes)
{
    for (const Tone& tone : kTones) {
        OggPlayer player;
        ASSERT_TRUE(player.load(toneBytes(tone.file)));
        player.setLoop(1);
        player.play();
        auto out = render(player, 3 * 44100);
        EXPECT_GT(rms(out, 0, 44100 + 2205, 2 * 44100 - 2205), 0.3f) << tone.file;
        EXPECT_LT(rms(out, 0, 2 * 44100 + 2205, 3 * 44100), 0.01f) << tone.file;

        player.setLoop(plat::kOggLoopForever);
        player.play();
        out = render(player, 5 * 44100);
        EXPECT_GT(rms(out, 0, 4 * 44100 + 2205, 5 * 44100 - 2205), 0.3f) << tone.file;
        EXPECT_TRUE(player.isPlaying());
    }
}

TEST(OggPlayer, StopSilencesAndRewinds)
{
    OggPlayer player;
    ASSERT_TRUE(player.load(toneBytes("tone_stereo_44100.ogg")));
    player.play();
    auto first = render(player, 1000);
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    auto silent = render(player, 1000);
    EXPECT_EQ(rms(silent, 0, 0, 1000), 0.0f);
    player.play();
    auto again = render(player, 1000);
    for (std::size_t i = 0; i < 2000; ++i) {
        ASSERT_FLOAT_EQ(again[i], first[i]) << i;
    }
    player.close();
    EXPECT_FALSE(player.isLoaded());
    player.play();
    EXPECT_FALSE(player.isPlaying());
}

TEST(OggPlayer, RefusesWhatIsNotOggVorbis)
{
    auto good = toneBytes("tone_stereo_44100.ogg");
    std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {'O', 'g', 'g', 'S'},
        std::vector<std::uint8_t>(4096, 0xAB),
        std::vector<std::uint8_t>(good.begin(), good.begin() + 100), // the headers cut short
    };
    auto wrongMagic = good;
    wrongMagic[0] = 'X';
    bad.push_back(wrongMagic);
    for (const auto& bytes : bad) {
        OggPlayer player;
        EXPECT_FALSE(player.load(bytes)) << bytes.size() << " bytes";
        EXPECT_FALSE(player.isLoaded());
    }
}

// A file cut short or damaged after its headers plays what it can, then
// ends, even when looping for ever.
TEST(OggPlayer, DamagedAudioEndsWithoutAHang)
{
    auto good = toneBytes("tone_stereo_44100.ogg");
    auto cut = std::vector<std::uint8_t>(
        good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    auto scrambled = good;
    for (std::size_t i = scrambled.size() / 3; i < scrambled.size(); i += 7) {
        scrambled[i] ^= 0x5A;
    }
    for (const auto& bytes : {cut, scrambled}) {
        OggPlayer player;
        if (!player.load(bytes)) {
            continue; // refusing is as good
        }
        player.setLoop(plat::kOggLoopForever);
        player.play();
        render(player, 3 * 44100);
    }
}

// The pages of a tone: 0 and 1 carry the headers, the rest the sound.
std::vector<test::OggPage> tonePages(const char* file)
{
    auto pages = test::oggPages(toneBytes(file));
    EXPECT_GE(pages.size(), 3u) << file;
    return pages;
}

// Looping never seeks within a stream: a stream with another stream's page
// and a broken page among its own, which makes the libraries write outside
// their buffers when they seek in it, loops by being opened again.
TEST(OggPlayer, ALoopOfADamagedStreamOpensItAgain)
{
    const auto tone = tonePages("tone_stereo_44100_10s.ogg");
    ASSERT_GE(tone.size(), 6u);
    const auto damaged = test::joinOgg(
        {tone[0], tone[1], test::changedOggPage(tone[5], {.serial = 2, .sequence = 33}),
         test::oggPageHeaderOnly(tone[3]), tone[2]});
    OggPlayer player;
    ASSERT_TRUE(player.load(damaged));
    player.setLoop(plat::kOggLoopForever);
    player.play();
    // The stream holds the first page of sound, about 1.6 seconds.
    auto out = render(player, 5 * 44100);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_GT(rms(out, 0, 4 * 44100, 5 * 44100 - 4410), 0.3f);
}

// A decode error ends the pass through a stream; the damaged stream is not
// read again, but a loop or the next play opens the file again.
TEST(OggPlayer, ADecodeErrorEndsThePass)
{
    const auto tone = tonePages("tone_stereo_44100.ogg");
    const auto other = tonePages("tone_mono_22050.ogg");
    // The tone, then a second stream whose first header is damaged.
    const auto chained =
        test::joinOgg({tone[0], tone[1], tone[2],
                       test::scrambledOggPage(test::changedOggPage(other[0], {.serial = 2}), 7),
                       test::changedOggPage(other[1], {.serial = 2}),
                       test::changedOggPage(other[2], {.serial = 2})});
    OggPlayer player;
    ASSERT_TRUE(player.load(chained));
    player.play();
    auto out = render(player, 2 * 44100);
    EXPECT_GT(rms(out, 0, 4410, 39690), 0.3f) << "the tone";
    EXPECT_LT(rms(out, 0, 44100 + 2205, 2 * 44100), 0.01f) << "then the end";
    EXPECT_FALSE(player.isPlaying());

    player.play();
    out = render(player, 22050);
    EXPECT_GT(rms(out, 0, 4410, 22050), 0.3f) << "played again from the start";

    player.stop();
    player.setLoop(plat::kOggLoopForever);
    player.play();
    out = render(player, 3 * 44100);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_GT(rms(out, 0, 2 * 44100 + 2205, 3 * 44100 - 2205), 0.3f) << "looping";
}

} // namespace
