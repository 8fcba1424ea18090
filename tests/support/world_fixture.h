#pragma once
// A running stage of the test's own, built from a stage made in code: the
// globals the world reads put back to a new run's state, the recording
// services (sounds, music, boxes, close requests, a clock that stands
// still), and helpers that write a stage through the stage record's own
// save code and read it back as a stage file would be read.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/timer.h"
#include "data/byte_writer.h"
#include "data/ed_data.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/replay_log.h"
#include "data/test_flows.h"
#include "platform/byte_reader.h"
#include "world/input_state.h"
#include "world/running_stage.h"
#include "world/trace.h"
#include "world/world_services.h"

namespace test {

inline void ResetWorldGlobals()
{
    g_DataVersion = kDataVersion;
    g_Database.SetDefaults();
    g_CommonPalette = cEdPalette();
    g_Stage = cEdStage();
    g_StageAtStart = cEdStage();
    g_System = cEdSystem();
    g_Progress = cSaveData();
    g_ProgressAtStart = cSaveData();
    g_ProgressAtStart2 = cSaveData();
    g_ReplayLog.Clear();
    g_ReplayLog2.Clear();
    g_InputState.assign(1, InputState());
    g_StartedByTool = 0;
    CountEvery(0, 0);
}

// A character the stage takes for its hero: player-operated, with a graphic.
inline cEdChara HeroAt(int x, int y)
{
    cEdChara hero;
    hero.Clear();
    hero.nOperator = 0;
    hero.nGraphicNo = 1;
    hero.nX = static_cast<std::int16_t>(x);
    hero.nY = static_cast<std::int16_t>(y);
    return hero;
}

// A placed block with a picture and a hit mode.
inline cEdBlock BlockAt(int x, int y, int hitMode = 1, int graphic = 1)
{
    cEdBlock block;
    block.Clear();
    block.nX = static_cast<std::int16_t>(x);
    block.nY = static_cast<std::int16_t>(y);
    block.nGraphicNo = static_cast<std::int16_t>(graphic);
    block.nHitMode = static_cast<std::int8_t>(hitMode);
    block.nPassGroup = -1;
    return block;
}

// A stage of w x h blocks with its hero at block (hx, hy): level 1 (one
// sub-step a frame) unless set, gravity 0.5, no time limit, no music.
inline cEdStage MakeStage(int w, int h, int hx, int hy)
{
    cEdStage stage;
    stage.nWidth = w;
    stage.nHeight = h;
    stage.nOuterX = (w + 10) * 32;
    stage.nOuterY = (h + 10) * 32;
    stage.nSpeedLevel = 1;
    stage.dGravity = 0.5;
    stage.bTimeLimit = 0;
    stage.nBgm = 0;
    stage.PlacedCharas.push_back(HeroAt(hx, hy));
    return stage;
}

// Writes a stage through its own save code and reads it back as a stage
// file is read into the live stage and its settings copy; 1 when it loaded.
inline int LoadAsLiveStage(cEdStage& stage)
{
    ByteWriter out;
    stage.Save(out);
    const std::vector<std::uint8_t> bytes = out.take();
    g_FileVersion = kDataVersion;
    plat::ByteReader in(bytes);
    if (!LoadStageRecord(g_Stage, in)) return 0;
    g_StageAtStart.CopySettingsFrom(g_Stage);
    return 1;
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWorldGlobals();
        services.m_Clock = 4242;
    }
    void TearDown() override { ResetWorldGlobals(); }

    // Loads the stage and sets the running stage up from it (a first start
    // with its music).
    void Start(cEdStage stageData, int refill = 0, int newMusic = 1)
    {
        ASSERT_EQ(LoadAsLiveStage(stageData), 1);
        stage->SetStage(refill, newMusic);
    }
    cPlayerObj& player() { return stage->Player.front(); }

    cRecordingServices services;
    cScopedServices scopedServices{services};
    std::unique_ptr<cRunningStage> stage = std::make_unique<cRunningStage>();
    cCurrentStage current{*stage};
};

} // namespace test
