#pragma once
// A game-play scene on a stage of the test's own, stepped headless with the
// recording services: the globals put back to a new run's state, the
// scene manager set to a play kind, a floor under the hero and no start
// display.

#include <gtest/gtest.h>

#include <memory>

#include "media/ds_sound.h"
#include "scenes/game_play.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_mgr.h"
#include "support/world_fixture.h"
#include "world/input_script.h"

namespace test {

// A stage of 40 x 20 blocks, hero at (5, 5), a floor on row 12.
inline cEdStage FloorStage()
{
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    data.bShowStageNo = 0;
    for (int x = 0; x < 40; ++x)
        data.PlacedBlocks.push_back(BlockAt(x, 12));
    return data;
}

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWorldGlobals();
        g_SceneMgr = cSceneMgr();
        SetPlay(PLAYKIND_FREE, PLAYMODE_FREE);
        g_SceneMgr.g_PrevScene = SCENE_TITLE;
        // The menus' cursor sound plays slot 0 directly (silent here).
        g_Sounds.resize(17);
        ResetMenuCursor();
        services.m_Clock = 5000;
    }
    void TearDown() override
    {
        g_GamePlay = nullptr;
        scene.reset();
        g_SceneMgr = cSceneMgr();
        g_Sounds.clear();
        ResetWorldGlobals();
    }

    void SetPlay(int kind, int mode)
    {
        g_SceneMgr.m_PlayKind = kind;
        g_SceneMgr.g_PlayMode = mode;
    }
    // The scene's set-up on the stage as a new play (without the play
    // pictures, which need the game's files), then the play phase.
    void Begin(cEdStage data)
    {
        ASSERT_EQ(LoadAsLiveStage(data), 1);
        scene = std::make_unique<cGamePlay>();
        g_GamePlay = scene.get();
        scene->m_PlayMode = g_SceneMgr.g_PlayMode;
        scene->m_PlayKind = g_SceneMgr.m_PlayKind;
        scene->m_RankPos.assign(kRankKinds, -1);
        scene->m_Results.assign(kRankKinds, 0);
        scene->ResetSessionTotals();
        scene->UseLife();
        scene->SetStage(0, 1);
        scene->SceneResetMenuCursor();
        scene->m_SubState = 0;
        scene->m_Phase = PHASE_PLAY;
    }
    // Frames of the scene with the script's input from its first frame.
    void Frames(const cInputScript& script, int count)
    {
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            scene->Run();
        }
    }
    void Frames(int count) { Frames(cInputScript(), count); }
    // Runs frames until the phase is reached; false after `limit` frames.
    bool RunUntilPhase(int phase, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (scene->m_Phase == phase) return true;
            Frames(1);
        }
        return scene->m_Phase == phase;
    }

    cRecordingServices services;
    cScopedServices scopedServices{services};
    std::unique_ptr<cGamePlay> scene;
};

} // namespace test
