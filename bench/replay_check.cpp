// A replay of five minutes of the bundled game checked without a window and
// without pacing: the replay is read as the main window reads it, played
// back frame by frame with its drawing into memory (texture back end), and
// compared with its state summary at every checkpoint. Reported as a
// multiple of real time at 60 frames per second on one core (x_realtime),
// with the frames played and whether every checkpoint held (in_sync).
//
// The replay is recorded first, by the game itself, from five minutes of
// play of the first stage: the hero walks back and forth, jumps and shoots,
// until the stage's time runs out. The sanitized build records a short
// replay instead: there the program only has to work.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "support/generated_game.h"
#include "support/headless_game.h"
#include "support/sanitized_build.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "world/input_state.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPlayFrames = test::kSanitizedBuild ? 600 : 5 * 60 * 60;

constexpr const char* kReplay = "user_data\\rpl4\\FiveMinutes.rpl4_511";

// Back and forth over the first screen, a jump every 45 frames, a shot
// every 8.
InputFrame Wander(int frame)
{
    const std::uint16_t dir = (frame / 150) % 2 ? kDirLeft : kDirRight;
    std::uint16_t buttons = frame % 45 < 16 ? 1 : 0;
    if (frame % 8 == 0) buttons |= 2;
    return {dir, buttons};
}

// The bundled game in a folder of its own, with the replay recorded.
class Fixture {
public:
    Fixture()
    {
        test::copyGeneratedGame(m_Dir.path());
        fs::copy(m_Dir / "default", m_Dir / "data", fs::copy_options::recursive);
        fs::create_directories(m_Dir / "user_data" / "rpl4");
        test::HeadlessGame game;
        if (!game.Error().empty() || !game.StartStage("data\\stg4\\Stage1.stg4", PLAYKIND_FREE)) {
            m_Error = "the bundled game cannot be played: " + game.Error();
            return;
        }
        // Until the time is up (or the play ends otherwise).
        int played = 0;
        for (int frame = 0; frame < 4 * kPlayFrames && played < kPlayFrames; ++frame) {
            const cGamePlay* play = game.Play();
            if (play && play->m_Phase == PHASE_PLAY) {
                if (play->m_SetStageCount > 1) break; // the attempt was lost
                ++played;
            }
            game.Frame(Wander(frame));
        }
        cReplayLog& log = g_ReplayLog.FrameCount() > 0 ? g_ReplayLog : g_ReplayLog2;
        cSaveData& progress = &log == &g_ReplayLog ? g_ProgressAtStart : g_ProgressAtStart2;
        if (log.SaveReplay(kReplay, g_Stage, g_StageAtStart, progress) != 1)
            m_Error = "the replay cannot be saved";
    }

    test::TempDir m_Dir;
    test::ScopedCurrentDir m_Cwd{m_Dir.path()};
    std::string m_Error;
};

void BM_ReplayCheck(benchmark::State& state)
{
    test::ScopedEnv binary("RT_BINARY_DIR", RT_BINARY_DIR);
    Fixture fixture;
    if (!fixture.m_Error.empty()) {
        state.SkipWithError(fixture.m_Error.c_str());
        return;
    }
    std::int64_t frames = 0;
    bool inSync = true;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const test::ReplayPlayback back = test::PlayBackReplay(kReplay);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        frames += back.frames;
        inSync = inSync && back.read && back.completed == 1 && back.outOfSyncAt == 0 &&
                 back.matched == back.checkpoints;
    }
    state.counters["frames"] = static_cast<double>(frames) /
                               static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    state.counters["in_sync"] = inSync ? 1 : 0;
    state.counters["x_realtime"] = seconds > 0 ? static_cast<double>(frames) / 60.0 / seconds : 0;
}
BENCHMARK(BM_ReplayCheck)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
