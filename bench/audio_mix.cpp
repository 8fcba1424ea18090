// The CPU cost of the game's audio: one second of the mix with eight sound
// effects playing and a MIDI song through FluidSynth, rendered the way the
// audio device asks for it (blocks of 1024 frames). One iteration is one
// second of audio, so the time per iteration over a second is the share of
// one core that the audio takes; the counter "realtime_fraction" says it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "media/ds_sound.h"
#include "media/midi_player.h"
#include "platform/audio_device.h"
#include "platform/audio_mixer.h"
#include "platform/audio_synth.h"
#include "tests/support/sound_fixtures.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const test::Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A busy General MIDI song: piano chords, a bass line, strings and drums in
// eighth notes at 120 beats a minute, eight bars that loop.
test::Bytes song()
{
    test::SmfTrack conductor;
    conductor.tempo(0, 500000).end(8 * 4 * 96);
    std::vector<test::SmfTrack> tracks{conductor};
    struct Part {
        std::uint8_t channel, program;
        std::vector<int> keys;
    };
    const Part parts[] = {
        {0, 0, {60, 64, 67}}, {1, 33, {36}}, {2, 48, {72, 76}}, {3, 24, {55, 59}}};
    for (const Part& part : parts) {
        test::SmfTrack t;
        t.event(0, {static_cast<std::uint8_t>(0xC0 | part.channel), part.program});
        for (int step = 0; step < 8 * 8; ++step) {
            const int shift = (step / 8) % 4 * 2;
            for (std::size_t k = 0; k < part.keys.size(); ++k) {
                t.event(0, {static_cast<std::uint8_t>(0x90 | part.channel),
                            static_cast<std::uint8_t>(part.keys[k] + shift), 90});
            }
            for (std::size_t k = 0; k < part.keys.size(); ++k) {
                t.event(k == 0 ? 48 : 0, {static_cast<std::uint8_t>(0x80 | part.channel),
                                          static_cast<std::uint8_t>(part.keys[k] + shift), 0});
            }
        }
        tracks.push_back(t.end(0));
    }
    test::SmfTrack drums;
    for (int step = 0; step < 8 * 8; ++step) {
        drums.event(0, {0x99, static_cast<std::uint8_t>(step % 2 ? 42 : 36), 100});
        drums.event(48, {0x89, static_cast<std::uint8_t>(step % 2 ? 42 : 36), 0});
    }
    tracks.push_back(drums.end(0));
    return test::smfFile(1, 96, tracks);
}

// A sound effect as the games have them: 22050 Hz, 8 bits, mono, a decaying
// tone of about a second.
test::Bytes effect(int index)
{
    test::Bytes samples;
    const double frequency = 220.0 * (1 + index);
    for (int i = 0; i < 22050; ++i) {
        const double t = i / 22050.0;
        const double v = std::sin(2 * 3.141592653589793 * frequency * t) * std::exp(-3 * t);
        samples.push_back(static_cast<std::uint8_t>(128 + 100 * v));
    }
    return test::wavFile(test::WavLayout{1, 1, 22050, 8, 16}, samples);
}

void BM_OneSecondOfMixedAudio(benchmark::State& state)
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path folder =
        fs::temp_directory_path() / ("bench_audio_mix_" + std::to_string(stamp));
    fs::create_directories(folder);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);

    plat::setManualAudioRendering(true);
    if (plat::sharedMidiSoundFont().empty()) {
        state.SkipWithError("no soundfont: the MIDI music would be silent");
    }
    std::vector<DSSOUNDDATA> sounds(8);
    std::vector<DSSOUNDINFO> table;
    for (int i = 0; i < 8; ++i) {
        const std::string name = "se" + std::to_string(i) + ".wav";
        writeFile(folder / name, effect(i));
        table.push_back({name, 2, 0, 1});
    }
    DS_Init(0, 22050, 8, 1);
    DSLoadSounds(sounds, table, -300);
    writeFile(folder / "song.mid", song());
    auto music = std::make_shared<cMidi>("song.mid");
    music->Play(1);

    constexpr std::size_t kBlock = 1024;
    std::vector<float> out(kBlock * 2);
    std::size_t frame = 0;
    for (auto _ : state) {
        for (std::size_t done = 0; done < static_cast<std::size_t>(plat::kMixRate);
             done += kBlock) {
            // Eight effects keep playing: each one starts again every half second.
            if (frame % 22050 < kBlock) {
                for (auto& slot : sounds) {
                    DSPlay(slot, 0);
                }
            }
            plat::audioMixer().render(out.data(), kBlock);
            music->WaitCallbacks();
            frame += kBlock;
        }
        benchmark::DoNotOptimize(out.data());
    }
    // One iteration is one second of audio.
    state.counters["realtime_fraction"] = benchmark::Counter(
        1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);

    music.reset();
    DSUninit();
    fs::current_path(previous);
    fs::remove_all(folder);
}

BENCHMARK(BM_OneSecondOfMixedAudio)->Unit(benchmark::kMillisecond);

} // namespace
