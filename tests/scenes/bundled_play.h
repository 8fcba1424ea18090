#pragma once
// The bundled default game played by its own game-play scene from the
// scene's set-up, headless on a display of one back end: the palette, the
// transparent colour and the fonts as the start-up sets them up, a play
// started the way the menus start one (the play kind and mode, the lives,
// the stage's name and file), and frames run from an input script.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/ed_save_data.h"
#include "data/path_table.h"
#include "data/stage_load.h"
#include "game_display.h"
#include "media/graphics_fixture.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "tools/default_game_fixture.h"
#include "world/input_script.h"
#include "world/input_state.h"
#include "world/world_services.h"

namespace test {

struct BackEnd {
    const char* name;
    gfxtest::Mode mode;
};

// The texture back end and the surface back end, both at 32 bits.
inline const std::vector<BackEnd>& BundledBackEnds()
{
    static const std::vector<BackEnd> backEnds = {
        {"texture", {"Texture32", 1, 32, 1}},
        {"surface", {"Surface32", 0, 32, 1}},
    };
    return backEnds;
}

class BundledPlay : public DefaultGame {
protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        LoadAuthorsData();
        CreateGameFolders();
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_FadeStep = 10;
        g_SceneMgr.m_FrameRate = 60;
        g_InputState.assign(1, InputState());
        services.m_Clock = 1234;
    }
    void TearDown() override
    {
        EndPlay();
        g_SceneMgr = cSceneMgr();
        g_Progress = cSaveData();
        DefaultGame::TearDown();
    }

    // The game's look on a display of one back end, as the start-up sets it up.
    void SetUpDisplay(const gfxtest::Mode& mode)
    {
        displayUp = true;
        SetUpGameDisplay(mode);
    }
    void TearDownDisplay()
    {
        if (!displayUp) return;
        displayUp = false;
        TearDownGameDisplay();
    }

    // A play of a stage file begun the way the menus begin one: a new
    // progress with the play kind's lives, the stage's name, the stage
    // loaded; the scene is made and runs its set-up on its first frame.
    void StartPlay(int kind, int mode, const std::string& file, int stageIndex = 1)
    {
        g_SceneMgr.m_PlayKind = kind;
        g_SceneMgr.g_PlayMode = mode;
        g_SceneMgr.m_ResultsOn = g_System.vModeFlags[static_cast<std::size_t>(kind)].bRanking;
        g_SceneMgr.g_PrevScene = SCENE_TITLE;
        g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
        g_Progress = cSaveData();
        g_Progress.nInitialLives = g_System.vInitialLives[static_cast<std::size_t>(kind)];
        g_Progress.nLives = g_Progress.nInitialLives;
        g_Progress.ApplyLivesRule(kind);
        g_Progress.Check();
        g_Progress.nStageIndex = stageIndex;
        g_Progress.nChainNo = 1;
        g_Progress.SetStageName(file.c_str());
        ASSERT_EQ(LoadStage(file, 1, &g_StageAtStart), 1) << file;
        scene = std::make_unique<cGamePlay>();
        g_GamePlay = scene.get();
    }
    void EndPlay()
    {
        g_GamePlay = nullptr;
        scene.reset();
        TearDownDisplay();
    }

    // Frames of the scene with the script's input from its first frame.
    void Frames(const cInputScript& script, int count)
    {
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            scene->Run();
        }
    }
    // Frames until the scene reaches the phase, the script applied from the
    // first of them; false after `limit` frames.
    bool PlayUntilPhase(const cInputScript& script, int phase, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (scene->m_Phase == phase) return true;
            script.Apply(i, g_InputState[0]);
            scene->Run();
        }
        return scene->m_Phase == phase;
    }

    cRecordingServices services;
    cScopedServices scopedServices{services};
    std::unique_ptr<cGamePlay> scene;
    bool displayUp = false;
};

} // namespace test
