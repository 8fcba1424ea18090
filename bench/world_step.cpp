// The world stepped without a window on a generated stage of 500 x 100
// blocks (ground, platforms, pillars, blocks that appear by a condition).
// Reports the stage set-up's time, and for the play step the frames and
// sub-steps per second, with the frames as a multiple of real time at 60
// frames per second ("x_realtime"). The hero, without flows of its own, is
// kept walking right by the benchmark itself. A second stage adds 300
// computer characters of 10 flows each, all active wherever they are,
// patrolling, turning and jumping by their flows.
//
// The contact stress stage (bench/contact_stress.h: 300 characters firing
// about 1,000 shots) is stepped without drawing, and reports the same rates
// with the shots and characters it holds on average; and its state hash,
// which every frame recorded into a replay takes, is timed on its own.
//
// The whole frame of the stress stage (the world step, then the field
// drawn as the play phase draws it: layers, blocks, objects, effects,
// messages, status bar, time, and a tint held at half strength) in each
// back end at 32 bits, with
// pictures made in code in every bitmap slot: a 1 x 1 sky tiled over the
// screen, a keyed hill layer behind the blocks and an auto-scrolling
// cloud layer in front, and the view filled with blocks (some in front,
// some shown by a condition). Reported as a multiple of real time on one
// core (x_realtime). The field's drawing alone on a standing frame, the
// layers alone and the block map alone are measured too.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "bench/contact_stress.h"
#include "core/timer.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/play_screen.h"
#include "world/state_hash.h"
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

cEdCommand BenchCommand(int kind, int time, std::initializer_list<int> params = {})
{
    cEdCommand command;
    command.Clear();
    command.m_Kind = static_cast<std::int8_t>(kind);
    command.m_Time = static_cast<std::int16_t>(time);
    command.m_Params.assign(params.begin(), params.end());
    return command;
}

cEdCommand BenchMove(int kind, int time, int dir)
{
    cEdCommand command = BenchCommand(kind, time);
    MakeMovePart(command.m_Move);
    command.m_Move->m_Dir = static_cast<std::uint8_t>(dir);
    command.m_Move->m_Speed = 15;
    return command;
}

cEdFlow BenchFlow(int trigger, int group, std::vector<cEdCommand> commands)
{
    cEdFlow flow;
    flow.Clear();
    flow.m_Trigger = static_cast<std::int8_t>(trigger);
    flow.m_Group = static_cast<std::int8_t>(group);
    flow.m_Commands = std::move(commands);
    return flow;
}

// A walker that patrols and turns at ledges, jumps now and then, turns at
// walls, charges the player when near, and has flows for hits and death.
cEdChara Patroller(int x)
{
    cEdChara chara = NoneChara();
    chara.nOperator = 1;
    chara.nGraphicNo = 2;
    chara.nGroup = 1;
    chara.nX = static_cast<std::int16_t>(x);
    chara.nY = 79;
    chara.nCarriedItem = -1;
    chara.nCharaOption8 = 3; // always in its activity range
    chara.bFixedFacing = 0;
    cEdCond near;
    near.m_Kind = 7;
    near.m_Value = 6;
    cEdFlow charge = BenchFlow(0, 3, {BenchMove(5, 10, 0)});
    charge.m_Conds.push_back(near);
    chara.Flows = {
        BenchFlow(0, 1, {BenchMove(3, 20, 0)}),
        BenchFlow(0, 2, {BenchCommand(1, 15), BenchCommand(10, 0, {0, 0, 2, 0, 0})}),
        charge,
        BenchFlow(0, 4, {BenchMove(2, 5, 0), BenchCommand(1, 5)}),
        BenchFlow(11, 0, {BenchCommand(9, 0, {1})}),
        BenchFlow(12, 0, {BenchCommand(9, 0, {0})}),
        BenchFlow(15, 0, {BenchCommand(1, 1)}),
        BenchFlow(1, 0, {BenchCommand(8, 2)}),
        BenchFlow(2, 0, {BenchCommand(1, 2)}),
        BenchFlow(3, 0, {BenchCommand(1, 0)}),
    };
    return chara;
}

class BenchWorld {
public:
    explicit BenchWorld(int speedLevel, int charas = 0) : m_Scoped(m_Services)
    {
        g_Database.SetDefaults();
        g_System.bRecordReplay = 1;
        g_Progress.nInitialLives = kUnlimitedLives;
        g_InputState.assign(1, InputState());
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
        g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
        MakeLiveStage(speedLevel);
        for (int i = 0; i < charas; ++i)
            g_Stage.PlacedCharas.push_back(Patroller(10 + i * (kWidth - 20) / charas));
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
        // Walking right (the walking speed the movement commands keep),
        // jumping now and then off the ground.
        hero.m_InertiaX = 3.0 / g_Stage.nSubSteps;
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

// 300 computer characters of 10 flows each, all acting, at b = 10.
void BM_WorldStepCharas(benchmark::State& state)
{
    BenchWorld world(10, 300);
    cGamePlay& scene = world.Scene();
    std::int64_t frames = 0;
    for (auto _ : state) {
        if (scene.Player.front().m_Dying || scene.m_Phase != PHASE_PLAY) {
            state.PauseTiming();
            scene.SetStage(1, 0);
            scene.m_Phase = PHASE_PLAY;
            state.ResumeTiming();
        }
        scene.Run();
        ++frames;
    }
    state.counters["charas"] = static_cast<double>(scene.m_CharaList.size());
    state.counters["sub_steps_per_s"] = benchmark::Counter(
        static_cast<double>(frames) * g_Stage.nSubSteps, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(frames) / 60.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WorldStepCharas)->Unit(benchmark::kMillisecond);

void BM_ContactStress(benchmark::State& state)
{
    const int level = static_cast<int>(state.range(0));
    cRecordingServices services;
    cScopedServices scoped(services);
    g_Database.SetDefaults();
    g_System.bRecordReplay = 0;
    g_InputState.assign(1, InputState());
    stress::MakeStage(level);
    auto scene = std::make_unique<cGamePlay>();
    scene->SetStage(0, 1);
    scene->m_Phase = PHASE_PLAY;
    // Two seconds to fill the stage with shots.
    for (int frame = 0; frame < 120; ++frame)
        scene->StepPlayFrame();
    std::int64_t frames = 0;
    double shots = 0;
    double charas = 0;
    for (auto _ : state) {
        if (!scene->StepPlayFrame() && scene->m_Phase != PHASE_PLAY) {
            state.SkipWithError("the stress stage ended");
            break;
        }
        shots += static_cast<double>(scene->m_ShotList.size());
        charas += static_cast<double>(scene->m_CharaList.size());
        ++frames;
    }
    const double n = frames > 0 ? static_cast<double>(frames) : 1.0;
    state.counters["shots"] = shots / n;
    state.counters["charas"] = charas / n;
    state.counters["sub_steps_per_s"] = benchmark::Counter(
        static_cast<double>(frames) * g_Stage.nSubSteps, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(frames) / 60.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ContactStress)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMicrosecond);

// The world's state hash of the stress stage, which a frame being recorded
// into a replay notes after its step.
void BM_StateHash(benchmark::State& state)
{
    cRecordingServices services;
    cScopedServices scoped(services);
    g_Database.SetDefaults();
    g_System.bRecordReplay = 0;
    g_InputState.assign(1, InputState());
    stress::MakeStage(4);
    auto scene = std::make_unique<cGamePlay>();
    scene->SetStage(0, 1);
    scene->m_Phase = PHASE_PLAY;
    for (int frame = 0; frame < 120; ++frame)
        scene->StepPlayFrame();
    for (auto _ : state)
        benchmark::DoNotOptimize(HashStageState(*scene));
    state.counters["shots"] = static_cast<double>(scene->m_ShotList.size());
    state.counters["charas"] = static_cast<double>(scene->m_CharaList.size());
}
BENCHMARK(BM_StateHash)->Unit(benchmark::kMicrosecond);

// --- the whole frame

// A plain surface for bitmap n with the table's flags, painted in stripes
// of colours with transparent runs where the bitmap is keyed.
void BenchPicture(int n, int w, int h)
{
    const DDBMPDATA& d = g_BitmapTable[static_cast<std::size_t>(n)];
    DDSURFACEDATA& sd = g_BitmapSD[static_cast<std::size_t>(n)];
    DDCreateSurface(&sd, w, h, d.colourKey, d.ddMemory, d.d3dSystemTexture, d.noTexture, 0);
    DDClearPal(&sd, 20 + n);
    if (!d.colourKey) return;
    for (int x = 0; x < w; x += 8)
        if ((x / 8) % 3 == 0) DDBoxFillPal(&sd, x, 0, 4, h, 0);
}

void SetUpBenchGraphics(int d3d)
{
    InitBitmapTable();
    DDInit(d3d, 0, 640, 480, 32, 0, 1, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
           BITMAP_COUNT, 0);
    for (int n = 0; n < 256; ++n)
        g_Palette[n] = DDPALENTRY{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                                  static_cast<std::uint8_t>(n * 7), PC_RESERVED};
    g_ScreenPalette = g_Palette;
    DDSetTransmit(g_Palette[0].red, g_Palette[0].green, g_Palette[0].blue);
    for (int n = 1; n < BITMAP_COUNT; ++n) {
        const DDBMPDATA& d = g_BitmapTable[static_cast<std::size_t>(n)];
        if (d.name == "E")
            BenchPicture(n, d.width, d.height);
        else
            BenchPicture(n, 512, 512);
    }
    BenchPicture(46, 640, 20);
    BenchPicture(55, 1, 1);
    BenchPicture(56, 320, 160);
    BenchPicture(57, 256, 96);
}

// The stress stage with layers and the view full of blocks that collide
// with nothing.
void MakeSceneryStage(int level)
{
    stress::MakeStage(level);
    cEdLayer sky;
    sky.SetDefaults();
    cEdLayer hills = sky;
    hills.dFactorX = 0.5;
    hills.dFactorY = 0.25;
    cEdLayer clouds = sky;
    clouds.nFront = 1;
    clouds.bAutoX = 1;
    clouds.dFactorX = 1.5;
    g_Stage.Layers = {sky, hills, clouds};
    cEdCond cond;
    cond.m_Kind = 2;
    cond.m_Index = 3;
    cond.m_Op = 1;
    for (int y = 0; y < stress::kHeight - 2; ++y)
        for (int x = 0; x < 24; ++x) {
            if ((x + y) % 4 == 3) continue;
            cEdBlock block = NoneBlock();
            block.nX = static_cast<std::int16_t>(x);
            block.nY = static_cast<std::int16_t>(y);
            block.nGraphicNo = static_cast<std::int16_t>(1 + (x * 7 + y) % 40);
            block.nHitMode = 0;
            block.nLayer = static_cast<std::int8_t>((x + y) % 5 == 0 ? 1 : 0);
            if ((x * y) % 6 == 1) block.Conds.push_back(cond);
            g_Stage.PlacedBlocks.push_back(block);
        }
    g_StageAtStart.CopySettingsFrom(g_Stage);
}

class BenchField {
public:
    // warmUp: frames played first (shots fill the stage in about two seconds).
    BenchField(int d3d, int level, int warmUp) : m_Scoped(m_Services)
    {
        SetUpBenchGraphics(d3d);
        g_Database.SetDefaults();
        g_System = cEdSystem();
        g_System.bRecordReplay = 0;
        g_System.vStatusItem.assign(5, cEdStatusItem());
        for (cEdStatusItem& item : g_System.vStatusItem) {
            item.bShow = 1;
            item.bIcon = 1;
            item.nDigits = 6;
        }
        g_InputState.assign(1, InputState());
        MakeSceneryStage(level);
        g_Stage.bTimeLimit = 1;
        g_Stage.nTimeLimit = 300;
        m_Scene = std::make_unique<cGamePlay>();
        m_Scene->SetStage(0, 1);
        m_Scene->m_Phase = PHASE_PLAY;
        // A half-strength tint over every frame (the texture back end blends
        // the whole frame; the surface back end at 32 bits has none).
        cEdCommand tint;
        tint.Clear();
        tint.m_Params = {40, 0, 80, 50, 0, 0, 0, 0};
        StartTint(tint);
        for (int frame = 0; frame < warmUp; ++frame)
            Frame();
    }
    ~BenchField()
    {
        m_Scene.reset();
        for (DDSURFACEDATA& sd : g_BitmapSD)
            DDReleaseSurface(&sd);
        DDUninit();
    }
    BenchField(const BenchField&) = delete;
    BenchField& operator=(const BenchField&) = delete;

    // One frame of the play phase; false when the stage ended.
    bool Frame()
    {
        if (!m_Scene->StepPlayFrame() && m_Scene->m_Phase != PHASE_PLAY) return false;
        DrawPlayScreen(1, 0, 1, 1);
        return true;
    }
    cGamePlay& Scene() { return *m_Scene; }

private:
    cRecordingServices m_Services;
    cScopedServices m_Scoped;
    std::unique_ptr<cGamePlay> m_Scene;
};

void RealTime(benchmark::State& state, std::int64_t frames)
{
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(frames) / 60.0, benchmark::Counter::kIsRate);
}

// Arguments: the back end (1 texture, 0 surface) and the speed level.
void BM_WholeFrame(benchmark::State& state)
{
    BenchField field(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 120);
    std::int64_t frames = 0;
    double shots = 0;
    for (auto _ : state) {
        if (!field.Frame()) {
            state.SkipWithError("the stress stage ended");
            break;
        }
        shots += static_cast<double>(field.Scene().m_ShotList.size());
        ++frames;
    }
    state.counters["shots"] = shots / static_cast<double>(std::max<std::int64_t>(frames, 1));
    RealTime(state, frames);
}
BENCHMARK(BM_WholeFrame)
    ->ArgNames({"texture", "level"})
    ->Args({1, 4})
    ->Args({0, 4})
    ->Args({1, 10})
    ->Unit(benchmark::kMillisecond);

// The field's drawing alone, the world standing (a frozen frame).
void BM_FieldDrawing(benchmark::State& state)
{
    BenchField field(static_cast<int>(state.range(0)), 4, 120);
    std::int64_t frames = 0;
    for (auto _ : state) {
        DrawPlayScreen(0, 1, 0, 1);
        ++frames;
    }
    RealTime(state, frames);
}
BENCHMARK(BM_FieldDrawing)->ArgName("texture")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_DrawLayers(benchmark::State& state)
{
    BenchField field(static_cast<int>(state.range(0)), 4, 0);
    std::int64_t frames = 0;
    for (auto _ : state) {
        DrawLayers(&BackBuffer, 0);
        DrawLayers(&BackBuffer, 1);
        ++frames;
    }
    RealTime(state, frames);
}
BENCHMARK(BM_DrawLayers)->ArgName("texture")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_DrawBlockMap(benchmark::State& state)
{
    BenchField field(static_cast<int>(state.range(0)), 4, 0);
    std::int64_t frames = 0;
    for (auto _ : state) {
        DrawBlockMap(&BackBuffer, 0, 0);
        DrawBlockMap(&BackBuffer, 1, 0);
        ++frames;
    }
    RealTime(state, frames);
}
BENCHMARK(BM_DrawBlockMap)->ArgName("texture")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
