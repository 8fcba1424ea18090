// The mixer: sound buffers at their volume, overlapping copies, stopping,
// streaming sources and calls from several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/audio_mixer.h"

namespace {

using plat::Mixer;
using plat::PcmData;

// A sound of constant level, `frames` long.
std::shared_ptr<const PcmData> constantSound(float level, std::size_t frames)
{
    auto data = std::make_shared<PcmData>();
    data->samples.assign(frames * 2, level);
    return data;
}

std::vector<float> render(Mixer& mixer, std::size_t frames)
{
    std::vector<float> out(frames * 2, 99.0f);
    mixer.render(out.data(), frames);
    return out;
}

TEST(Mixer, RendersSilenceWithNothingPlaying)
{
    Mixer mixer;
    for (float v : render(mixer, 64)) {
        EXPECT_EQ(v, 0.0f);
    }
}

// Volumes are hundredths of a decibel: the gain is 10^(volume / 2000).
TEST(Mixer, PlaysAtTheVolumeAsked)
{
    const int volumes[] = {0, -30, -80, -150, -300, -500, -800, -1300, -2000, -3000, -10000};
    for (int volume : volumes) {
        Mixer mixer;
        auto buffer = mixer.createBuffer(constantSound(0.5f, 100));
        mixer.setVolume(*buffer, volume);
        EXPECT_EQ(mixer.volume(*buffer), volume);
        mixer.play(buffer);
        auto out = render(mixer, 10);
        const float expected = 0.5f * static_cast<float>(std::pow(10.0, volume / 2000.0));
        EXPECT_NEAR(out[0], expected, 1e-6f) << volume;
        EXPECT_NEAR(out[19], expected, 1e-6f) << volume;
    }
}

TEST(Mixer, SoundEndsAfterItsLastFrame)
{
    Mixer mixer;
    auto buffer = mixer.createBuffer(constantSound(0.25f, 5));
    mixer.play(buffer);
    auto out = render(mixer, 8);
    for (std::size_t f = 0; f < 8; ++f) {
        EXPECT_EQ(out[f * 2], f < 5 ? 0.25f : 0.0f) << f;
    }
    EXPECT_FALSE(mixer.isPlaying(*buffer));
    EXPECT_EQ(render(mixer, 4)[0], 0.0f);
}

TEST(Mixer, CopiesOverlapAndAdd)
{
    Mixer mixer;
    auto first = mixer.createBuffer(constantSound(0.25f, 10));
    mixer.setVolume(*first, -600);
    auto second = mixer.duplicate(*first);
    EXPECT_EQ(second->data(), first->data()); // the samples are shared
    EXPECT_EQ(mixer.volume(*second), -600);   // and the volume copied
    mixer.play(first);
    render(mixer, 4);
    mixer.play(second);
    auto out = render(mixer, 8);
    const float one = 0.25f * plat::volumeToGain(-600);
    // Frames 4..9 of the first overlap frames 0..5 of the second.
    EXPECT_NEAR(out[0], 2 * one, 1e-6f);
    EXPECT_NEAR(out[5 * 2], 2 * one, 1e-6f);
    EXPECT_NEAR(out[6 * 2], one, 1e-6f);
}

TEST(Mixer, PlayingAgainRestartsFromTheBeginning)
{
    Mixer mixer;
    auto data = std::make_shared<PcmData>();
    for (int i = 0; i < 6; ++i) {
        data->samples.push_back(i * 0.1f);
        data->samples.push_back(i * 0.1f);
    }
    auto buffer = mixer.createBuffer(data);
    mixer.play(buffer);
    render(mixer, 3);
    mixer.play(buffer);
    auto out = render(mixer, 2);
    EXPECT_FLOAT_EQ(out[0], 0.0f);
    EXPECT_FLOAT_EQ(out[2], 0.1f);
}

TEST(Mixer, StopSilencesAtOnce)
{
    Mixer mixer;
    auto a = mixer.createBuffer(constantSound(0.25f, 100));
    auto b = mixer.createBuffer(constantSound(0.5f, 100));
    mixer.play(a);
    mixer.play(b);
    render(mixer, 4);
    mixer.stop(*a);
    EXPECT_FALSE(mixer.isPlaying(*a));
    EXPECT_TRUE(mixer.isPlaying(*b));
    EXPECT_FLOAT_EQ(render(mixer, 4)[0], 0.5f);
    mixer.stopAll();
    EXPECT_FALSE(mixer.isPlaying(*b));
    EXPECT_EQ(render(mixer, 4)[0], 0.0f);
}

TEST(Mixer, OutputIsClippedTo16Bits)
{
    Mixer mixer;
    for (int i = 0; i < 4; ++i) {
        mixer.play(mixer.createBuffer(constantSound(0.5f, 10)));
    }
    auto quiet = mixer.createBuffer(constantSound(-0.25f, 10));
    std::vector<std::int16_t> out(4);
    mixer.renderS16(out.data(), 2);
    EXPECT_EQ(out[0], 32767);
    mixer.stopAll();
    mixer.play(quiet);
    mixer.renderS16(out.data(), 2);
    EXPECT_EQ(out[0], -8192);
}

class CountingSource : public plat::AudioSource {
public:
    void mix(float* out, std::size_t frames) override
    {
        for (std::size_t i = 0; i < frames * 2; ++i) {
            out[i] += 0.125f;
        }
        calls++;
    }
    std::atomic<int> calls{0};
};

TEST(Mixer, SourcesAddToTheMixUntilRemoved)
{
    Mixer mixer;
    auto source = std::make_shared<CountingSource>();
    mixer.addSource(source);
    mixer.play(mixer.createBuffer(constantSound(0.25f, 10)));
    EXPECT_FLOAT_EQ(render(mixer, 4)[0], 0.375f);
    mixer.removeSource(source.get());
    render(mixer, 4);
    EXPECT_EQ(source->calls, 1);
}

// Sounds are started from two threads while a third renders; every start
// must be taken and nothing may break.
TEST(Mixer, StartsFromSeveralThreadsAtOnce)
{
    Mixer mixer;
    auto data = constantSound(0.001f, 64);
    std::vector<std::shared_ptr<plat::SoundBuffer>> buffers;
    for (int i = 0; i < 8; ++i) {
        buffers.push_back(mixer.createBuffer(data));
    }
    std::atomic<bool> done{false};
    std::thread renderer([&] {
        std::vector<float> out(256 * 2);
        while (!done) {
            mixer.render(out.data(), 256);
        }
    });
    auto starter = [&](int offset) {
        for (int i = 0; i < 5000; ++i) {
            auto& b = buffers[static_cast<std::size_t>((i + offset) % 8)];
            mixer.play(b);
            mixer.setVolume(*b, -(i % 100));
            if (i % 7 == 0) {
                mixer.stop(*b);
            }
        }
    };
    std::thread a(starter, 0), b(starter, 3);
    a.join();
    b.join();
    done = true;
    renderer.join();
    // Left alone, every sound runs out.
    std::vector<float> out(128 * 2);
    mixer.render(out.data(), 128);
    for (auto& buffer : buffers) {
        EXPECT_FALSE(mixer.isPlaying(*buffer));
    }
}

} // namespace
