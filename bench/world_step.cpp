// The world stepped without a window on a generated stage of 500 x 100
// blocks (ground, platforms, pillars, blocks that appear by a condition).
// Reports the stage set-up's time, and for the play step the frames and
// sub-steps per second, with the frames as a multiple of real time at 60
// frames per second ("x_realtime"). Until computer characters walk by
// their flows, the hero is kept walking right by the benchmark itself.
#include <benchmark/benchmark.h>

#include <memory>

#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/world_services.h"

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 100;

cEdBlock Block(int x, int y, int hitMode)
{
    cEdBlock block = NoneBlock();
    block.nX = static_cast<std::int16_t>(x);
    block.nY = static_cast<std::int16_t>(y);
    block.nGraphicNo = static_cast<std::int16_t>(1 + (x + y) % 9);
    block.nHitMode = static_cast<std::int8_t>(hitMode);
    return block;
}

// Ground from row 80 down, a platform every 12 columns, a pillar every 40,
// and on every 7th platform block an appearance condition on a stage variable.
void MakeLiveStage(int speedLevel)
{
    cEdStage stage;
    stage.nWidth = kWidth;
    stage.nHeight = kHeight;
    stage.nOuterX = (kWidth + 10) * 32;
    stage.nOuterY = (kHeight + 10) * 32;
    stage.nSpeedLevel = speedLevel;
    stage.dGravity = 0.5;
    stage.bShowStartSign = 0;
    stage.bTimeLimit = 0;
    for (int y = 80; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            stage.PlacedBlocks.push_back(Block(x, y, 1));
    cEdCond cond;
    cond.m_Kind = 2;
    cond.m_Index = 3;
    cond.m_Op = 1;
    for (int x = 0; x < kWidth; ++x) {
        if (x % 12 < 5) {
            cEdBlock platform = Block(x, 60 + x % 17, 1);
            if (x % 7 == 0) platform.Conds.push_back(cond);
            stage.PlacedBlocks.push_back(platform);
        }
        if (x % 40 == 20)
            for (int y = 74; y < 80; ++y)
                stage.PlacedBlocks.push_back(Block(x, y, 1));
    }
    cEdChara hero = NoneChara();
    hero.nOperator = 0;
    hero.nGraphicNo = 1;
    hero.nX = 3;
    hero.nY = 76;
    stage.PlacedCharas.push_back(hero);
    g_Stage = stage;
    g_StageAtStart.CopySettingsFrom(g_Stage);
}

class BenchWorld {
public:
    explicit BenchWorld(int speedLevel) : m_Scoped(m_Services)
    {
        g_Database.SetDefaults();
        g_System.bRecordReplay = 1;
        g_Progress.nInitialLives = kUnlimitedLives;
        g_InputState.assign(1, InputState());
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
        g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
        MakeLiveStage(speedLevel);
        m_Scene = std::make_unique<cGamePlay>();
        m_Scene->Init();
        m_Scene->m_Phase = PHASE_PLAY;
    }
    cGamePlay& Scene() { return *m_Scene; }

private:
    cRecordingServices m_Services;
    cScopedServices m_Scoped;
    std::unique_ptr<cGamePlay> m_Scene;
};

void BM_SetStage(benchmark::State& state)
{
    BenchWorld world(10);
    for (auto _ : state) {
        world.Scene().SetStage(1, 0);
        benchmark::DoNotOptimize(world.Scene().m_BlockMap.data());
    }
    state.counters["cells"] = static_cast<double>(world.Scene().m_BlockMap.size());
}
BENCHMARK(BM_SetStage)->Unit(benchmark::kMillisecond);

void BM_WorldStep(benchmark::State& state)
{
    const int level = static_cast<int>(state.range(0));
    BenchWorld world(level);
    cGamePlay& scene = world.Scene();
    std::int64_t frames = 0;
    for (auto _ : state) {
        cPlayerObj& hero = scene.Player.front();
        if (hero.m_Dying || scene.m_Phase != PHASE_PLAY) {
            state.PauseTiming();
            scene.SetStage(1, 0);
            scene.m_Phase = PHASE_PLAY;
            state.ResumeTiming();
        }
        // Walking right, jumping now and then off the ground.
        hero.m_SpeedX = 3;
        if (frames % 90 == 0 && hero.IsOnGround()) hero.m_SpeedY = hero.JumpSpeed(80);
        g_InputState[0].m_DirBits = kDirRight;
        scene.Run();
        ++frames;
    }
    const double subSteps = g_Stage.nSubSteps;
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["sub_steps_per_s"] =
        benchmark::Counter(static_cast<double>(frames) * subSteps, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(frames) / 60.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WorldStep)->Arg(1)->Arg(10)->Arg(19);

} // namespace
