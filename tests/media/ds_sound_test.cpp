// Sound effects heard in the mix: loading slots, volumes, copies played in
// turn, stopping, calls from two threads, and the layer without a device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "core/report.h"
#include "media/ds_sound.h"
#include "platform/audio_device.h"
#include "support/scoped_env.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace {

using test::Bytes;
using test::wavFile;
using test::WavLayout;

const int kStepVolumes[] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};

// A 16-bit mono sound at the mix rate holding one level for `frames` frames.
Bytes levelWav(std::int16_t level, std::size_t frames)
{
    Bytes samples;
    for (std::size_t i = 0; i < frames; ++i) {
        test::putLe16(samples, static_cast<std::uint16_t>(level));
    }
    return wavFile(WavLayout{1, 1, 44100, 16, 16}, samples);
}

float gainOf(int volume)
{
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

struct SoundFixture : ::testing::Test {
    test::TempDir dir;
    test::ScopedCurrentDir here{dir.path()};
    std::vector<DSSOUNDDATA> sounds;
    std::vector<DSSOUNDINFO> table;

    SoundFixture()
    {
        plat::setManualAudioRendering(true);
        plat::audioMixer().stopAll();
    }
    ~SoundFixture() override { DSUninit(); }

    void addSlot(const std::string& file, const Bytes& bytes, int copies = 1, int volume = 0)
    {
        dir.write(file, std::string(bytes.begin(), bytes.end()));
        table.push_back({file, copies, volume, 1});
        sounds.emplace_back();
    }

    // Left channel of the next frames of the mix.
    std::vector<float> render(std::size_t frames)
    {
        std::vector<float> out(frames * 2);
        plat::audioMixer().render(out.data(), frames);
        std::vector<float> left(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = out[i * 2];
        }
        return left;
    }
};

constexpr float kLevel = 8192 / 32768.0f;

TEST_F(SoundFixture, PlaysAtTheVolumeOfEachOptionStep)
{
    addSlot("se/level.wav", levelWav(8192, 1000));
    ASSERT_TRUE(DS_Init(0, 22050, 8, 1));
    for (int volume : kStepVolumes) {
        DSReleaseSound(sounds[0]);
        ASSERT_EQ(DSLoadSounds(sounds, table, volume), 1);
        ASSERT_EQ(sounds[0].nCount, 1);
        EXPECT_EQ(DSGetVolume(sounds[0], 0), volume);
        DSPlay(sounds[0], 0);
        EXPECT_NEAR(render(10)[5], kLevel * gainOf(volume), 1e-6f) << volume;
        plat::audioMixer().stopAll();
    }
}

// Volume 0 (step 10) leaves every slot at its table entry's own volume.
TEST_F(SoundFixture, VolumeZeroKeepsTheTablesOwnVolume)
{
    addSlot("a.wav", levelWav(8192, 100), 1, -600);
    addSlot("b.wav", levelWav(8192, 100), 2, 0);
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    EXPECT_EQ(DSGetVolume(sounds[0], 0), -600);
    EXPECT_EQ(DSGetVolume(sounds[1], 0), 0);
    EXPECT_EQ(DSGetVolume(sounds[1], 1), 0);
    DSPlay(sounds[0], 0);
    EXPECT_NEAR(render(4)[0], kLevel * gainOf(-600), 1e-6f);
}

TEST_F(SoundFixture, SetVolumeClampsAbsoluteAndRelativeChanges)
{
    addSlot("a.wav", levelWav(8192, 100), 2);
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, -1000);
    struct Case {
        int volume;
        bool relative;
        int applied;
    };
    const Case cases[] = {{-500, false, -500}, {-9000, true, -9500}, {-1000, true, -10000},
                          {5000, true, -5000}, {6000, true, 0},      {-20000, false, -10000},
                          {300, false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(DSSetVolume(sounds[0], 0, c.volume, c.relative), c.applied)
            << c.volume << (c.relative ? " relative" : "");
        EXPECT_EQ(DSGetVolume(sounds[0], 0), c.applied);
    }
    EXPECT_EQ(DSGetVolume(sounds[0], 1), -1000) << "the other copy keeps its volume";
    EXPECT_EQ(DSSetVolume(sounds[0], 2, -100, false), 0) << "no copy 2";
    EXPECT_EQ(DSSetVolume(sounds[0], -1, -100, false), 0);
    EXPECT_EQ(DSGetVolume(sounds[0], 5), 0);
}

// With two copies, three plays in a row use copies 0, 1, 0: the first two
// overlap, the third restarts copy 0.
TEST_F(SoundFixture, CopiesPlayInTurnAndOverlap)
{
    addSlot("a.wav", levelWav(8192, 100), 2);
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    ASSERT_EQ(sounds[0].nCount, 2);
    EXPECT_EQ(sounds[0].lpBuffers[0]->data(), sounds[0].lpBuffers[1]->data()) << "shared samples";

    DSPlay(sounds[0], 0);
    EXPECT_EQ(sounds[0].nNext, 1);
    render(60);
    DSPlay(sounds[0], 0);
    EXPECT_EQ(sounds[0].nNext, 0);
    auto both = render(50);
    EXPECT_FLOAT_EQ(both[0], 2 * kLevel) << "copies overlap";
    EXPECT_FLOAT_EQ(both[45], kLevel) << "the first copy has ended";
    DSPlay(sounds[0], 0);
    EXPECT_EQ(sounds[0].nNext, 1);
    auto third = render(60);
    EXPECT_FLOAT_EQ(third[0], 2 * kLevel) << "copy 0 again beside copy 1";
    EXPECT_FLOAT_EQ(third[55], kLevel) << "copy 0 restarted from its beginning";
}

TEST_F(SoundFixture, OneCopyRestartsInsteadOfOverlapping)
{
    addSlot("a.wav", levelWav(8192, 100));
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    DSPlay(sounds[0], 0);
    render(60);
    DSPlay(sounds[0], 0);
    auto out = render(120);
    EXPECT_FLOAT_EQ(out[0], kLevel);
    EXPECT_FLOAT_EQ(out[99], kLevel);
    EXPECT_EQ(out[100], 0.0f);
}

TEST_F(SoundFixture, ReleaseAndUninitStopWhatPlays)
{
    addSlot("a.wav", levelWav(8192, 10000));
    addSlot("b.wav", levelWav(4096, 10000));
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    DSPlay(sounds[0], 0);
    DSPlay(sounds[1], 0);
    EXPECT_FLOAT_EQ(render(10)[0], kLevel * 1.5f);
    DSReleaseSound(sounds[0]);
    EXPECT_FLOAT_EQ(render(10)[0], kLevel * 0.5f);
    EXPECT_EQ(sounds[0].nCount, 0);
    DSPlay(sounds[0], 0); // a released slot plays nothing
    DSUninit();
    EXPECT_EQ(render(10)[0], 0.0f);
    EXPECT_TRUE(sounds[1].lpBuffers.empty());
}

TEST_F(SoundFixture, BrokenFilesLeaveTheirSlotsSilentAndTheRestLoads)
{
    Bytes notPcm = wavFile(WavLayout{3, 1, 44100, 32, 16}, Bytes(40, 0));
    Bytes badBlock = levelWav(8192, 10);
    badBlock[32] = 3; // block align that fits no frame
    addSlot("missing.wav", {});
    std::filesystem::remove(dir / "missing.wav");
    addSlot("notpcm.wav", notPcm);
    addSlot("bits24.wav", wavFile(WavLayout{1, 1, 44100, 24, 16}, Bytes(30, 0)));
    addSlot("block.wav", badBlock);
    addSlot("text.wav", Bytes{'h', 'e', 'l', 'l', 'o'});
    addSlot("good.wav", levelWav(8192, 100));
    DS_Init(0, 22050, 8, 1);
    EXPECT_EQ(DSLoadSounds(sounds, table, 0), 1);
    for (std::size_t i = 0; i + 1 < sounds.size(); ++i) {
        EXPECT_TRUE(sounds[i].lpBuffers.empty()) << table[i].strFile;
        DSPlay(sounds[i], 0);
        EXPECT_EQ(DSSetVolume(sounds[i], 0, -100, false), 0);
    }
    EXPECT_EQ(sounds.back().nCount, 1);
    EXPECT_EQ(render(4)[0], 0.0f);
}

TEST_F(SoundFixture, LoadingAgainSkipsLoadedSlots)
{
    addSlot("a.wav", levelWav(8192, 100));
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, -500);
    auto first = sounds[0].lpBuffers[0];
    DSLoadSounds(sounds, table, -900);
    EXPECT_EQ(sounds[0].lpBuffers[0], first);
    EXPECT_EQ(DSGetVolume(sounds[0], 0), -500);
}

TEST_F(SoundFixture, CopyCountsOutsideTheRangeTakeTheNearest)
{
    addSlot("a.wav", levelWav(8192, 100), 0);
    addSlot("b.wav", levelWav(8192, 100), -5);
    addSlot("c.wav", levelWav(8192, 100), 100000);
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    EXPECT_EQ(sounds[0].nCount, 1);
    EXPECT_EQ(sounds[1].nCount, 1);
    EXPECT_EQ(sounds[2].nCount, kDSMaxCopies);
}

TEST_F(SoundFixture, NothingHappensBeforeInitOrAfterUninit)
{
    addSlot("a.wav", levelWav(8192, 100), 2);
    EXPECT_EQ(DSLoadSounds(sounds, table, 0), 1);
    EXPECT_TRUE(sounds[0].lpBuffers.empty());
    EXPECT_FALSE(DSCreateSound(sounds[0], "a.wav", 1, 0));
    DSPlay(sounds[0], 0);
    EXPECT_EQ(DSGetVolume(sounds[0], 0), 0);

    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, -700);
    DSUninit();
    EXPECT_EQ(DSSetVolume(sounds[0], 0, -100, false), 0);
    EXPECT_EQ(DSGetVolume(sounds[0], 0), 0);
    DSPlay(sounds[0], 0);
    EXPECT_EQ(render(4)[0], 0.0f);
}

// The menu cursor and the volume option act from the game thread while the
// main thread plays requested sounds: every play is taken in turn.
TEST_F(SoundFixture, PlaysFromTwoThreadsAtOnce)
{
    addSlot("a.wav", levelWav(100, 64), 3);
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, 0);
    std::atomic<bool> done{false};
    std::thread mixer([&] {
        std::vector<float> out(256 * 2);
        while (!done) {
            plat::audioMixer().render(out.data(), 256);
        }
    });
    constexpr int kPlays = 3000;
    auto player = [&](bool changeVolume) {
        for (int i = 0; i < kPlays; ++i) {
            DSPlay(sounds[0], 0);
            if (changeVolume) {
                DSSetVolume(sounds[0], i % 3, -(i % 50), false);
            }
        }
    };
    std::thread gameThread(player, true);
    player(false);
    gameThread.join();
    done = true;
    mixer.join();
    EXPECT_EQ(sounds[0].nNext, (2 * kPlays) % 3) << "no play was lost";
}

// The real device with SDL's dummy driver: the mixer is rendered by the
// device's thread, so a short sound runs out by itself.
TEST(SoundDevice, TheDeviceRendersTheMix)
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat::setManualAudioRendering(false);
    test::TempDir dir;
    test::ScopedCurrentDir here(dir.path());
    const Bytes wav = levelWav(8192, 441);
    dir.write("a.wav", std::string(wav.begin(), wav.end()));
    std::vector<DSSOUNDDATA> sounds(1);
    std::vector<DSSOUNDINFO> table{{"a.wav", 1, 0, 1}};
    ASSERT_TRUE(DS_Init(0, 22050, 8, 1));
    EXPECT_EQ(plat::audioDeviceState(), plat::AudioDeviceState::Open);
    DSLoadSounds(sounds, table, 0);
    DSPlay(sounds[0], 0);
    for (int i = 0; i < 200 && plat::audioMixer().isPlaying(*sounds[0].lpBuffers[0]); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(plat::audioMixer().isPlaying(*sounds[0].lpBuffers[0]));
    DSUninit();
    EXPECT_EQ(plat::audioDeviceState(), plat::AudioDeviceState::Closed);
    plat::setManualAudioRendering(true);
}

// Captures what the process writes to stderr while it lives.
class StderrCapture {
public:
    explicit StderrCapture(const std::filesystem::path& file)
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int out = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDERR_FILENO);
        ::close(out);
    }
    ~StderrCapture()
    {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }

private:
    int saved_ = -1;
};

// No device at all: the layer starts anyway, the game goes on in silence,
// the run report says so once and nothing reaches the terminal, whether SDL
// has no driver or its sound library fails and complains (ALSA without the
// card it is told to use).
TEST(SoundDevice, WithoutADeviceTheGameGoesOnSilentlyAndQuietly)
{
    struct Case {
        const char* driver;
        const char* card;
    };
    for (const Case c : {Case{"no-such-driver", nullptr}, Case{"alsa", "NoSuchCard"}}) {
        SCOPED_TRACE(c.driver);
        test::ScopedEnv driver("SDL_AUDIODRIVER", c.driver);
        test::ScopedEnv card("ALSA_CARD",
                             c.card ? std::optional<std::string>(c.card) : std::nullopt);
        plat::setManualAudioRendering(false);
        test::TempDir dir;
        test::ScopedCurrentDir here(dir.path());
        ASSERT_EQ(ReportCreate("report.txt"), 1);
        const Bytes wav = levelWav(8192, 441);
        dir.write("a.wav", std::string(wav.begin(), wav.end()));
        std::vector<DSSOUNDDATA> sounds(1);
        std::vector<DSSOUNDINFO> table{{"a.wav", 2, 0, 1}};
        {
            StderrCapture capture(dir / "stderr.txt");
            ASSERT_TRUE(DS_Init(0, 22050, 8, 1));
        }
        const auto state = plat::audioDeviceState();
        if (state == plat::AudioDeviceState::Silent) {
            EXPECT_EQ(dir.read("stderr.txt"), "");
            EXPECT_EQ(dir.read("report.txt"),
                      "no sound device could be opened: the game runs without sound\n");
        } else {
            // This machine's sound library reached a device all the same.
            EXPECT_EQ(state, plat::AudioDeviceState::Open);
        }
        DSLoadSounds(sounds, table, -300);
        EXPECT_EQ(sounds[0].nCount, 2);
        DSPlay(sounds[0], 0);
        EXPECT_EQ(DSSetVolume(sounds[0], 1, -100, true), -400);
        DSUninit();
        plat::setManualAudioRendering(true);
    }
}

} // namespace
