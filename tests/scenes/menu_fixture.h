#pragma once
// The menu scenes of the generated game run by the scene manager as the
// frame step runs them (switch, then run the current scene; no pacing and
// no present), on a display of one back end, from input scripts. The main
// window is a stand-in that keeps the sounds and music asked of it; the
// message boxes are answered and kept; the game play is a scene that does
// nothing, so that a test sees it asked for without playing it.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/main_window_handle.h"
#include "core/request_messages.h"
#include "data/ed_save_data.h"
#include "data/ed_world_map.h"
#include "data/path_table.h"
#include "data/story_slots.h"
#include "media/ds_sound.h"
#include "media/graphics_fixture.h"
#include "platform/message_loop.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_scene.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "tools/default_game_fixture.h"
#include "world/input_script.h"
#include "world/input_state.h"

#include "game_display.h"

namespace test {

class MenuGame : public DefaultGame {
public:
    // The progress of a new story, standing on the map's start, as the
    // title menu leaves it; the scene manager in story play.
    static void NewStory()
    {
        g_Progress.ResetStoryData();
        g_Progress.nMapX = g_WorldMap.m_StartX;
        g_Progress.nMapY = g_WorldMap.m_StartY;
        g_SceneMgr.m_PlayKind = PLAYKIND_STORY;
        g_SceneMgr.g_PlayMode = PLAYMODE_NEW_GAME;
        g_SceneMgr.m_ResultsOn = 1;
    }

    // Starts the frames on a scene, as a scene that fades out to it does.
    static void Open(int scene, int previous = SCENE_TITLE)
    {
        g_SceneMgr.g_PrevScene = previous;
        g_SceneMgr.g_CurScene = scene;
        g_SceneMgr.g_ReqScene = scene;
    }

protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        LoadAuthorsData();
        CreateGameFolders();
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = plat::createWindow(
            [this](plat::WindowId, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t) {
                if (msg == UM_SE) sounds.push_back(static_cast<int>(wParam));
                if (msg == UM_BGM) music.push_back(static_cast<int>(wParam));
                return std::intptr_t{0};
            });
        g_SceneFactories[SCENE_GAME_PLAY] = [] { return std::make_unique<cScene>(); };
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_FadeStep = 10;
        g_SceneMgr.m_FrameRate = 60;
        g_InputState.assign(1, InputState());
        SetAutoRepeat(g_InputState[0], 18, 6);
        g_Sounds.resize(17);
        g_StorySlots = InitStorySlots(kStorySlots);
        ResetMenuCursor();
        NewStory();
        boxes.clear(); // the start-up's question before it made the data folder
    }
    void TearDown() override
    {
        DestroyScenes();
        ReleaseScenePictures();
        if (displayUp_) TearDownGameDisplay();
        g_SceneFactories = savedFactories_;
        g_SceneMgr = cSceneMgr();
        g_Sounds.clear();
        g_Progress = cSaveData();
        g_StorySlots = InitStorySlots(kStorySlots);
        ResetMenuCursor();
        DefaultGame::TearDown();
    }

    // The display of one back end (the texture one unless a test asks).
    void UseDisplay(const gfxtest::Mode& mode = gfxtest::AllModes()[0])
    {
        if (displayUp_) TearDownGameDisplay();
        SetUpGameDisplay(mode);
        displayUp_ = true;
    }

    // Frames with the script's input from its first frame on.
    void Frames(const cInputScript& script, int count)
    {
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            Step();
        }
    }
    void Frames(int count) { Frames(cInputScript(), count); }
    // Frames without input until the scene's phase is reached; false after `limit`.
    bool RunUntilPhase(int phase, int limit = 60)
    {
        for (int i = 0; i < limit; ++i) {
            const cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene);
            if (scene && scene->m_Phase == phase) return true;
            Frames(1);
        }
        const cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene);
        return scene && scene->m_Phase == phase;
    }
    // Frames without input until another scene is current, and the frame
    // that makes it; false after `limit`.
    bool RunUntilScene(int id, int limit = 60)
    {
        for (int i = 0; i < limit && g_SceneMgr.g_CurScene != id; ++i)
            Frames(1);
        if (g_SceneMgr.g_CurScene != id) return false;
        Frames(1);
        return true;
    }

    template <typename Scene> Scene* Current() const
    {
        return dynamic_cast<Scene*>(g_SceneMgr.Scene(g_SceneMgr.g_CurScene));
    }

    std::vector<int> sounds; // the slots of the sounds asked of the main window
    std::vector<int> music;  // the music slots asked of it

private:
    static void Step()
    {
        SwitchScene(g_SceneMgr.g_CurScene);
        if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
    }

    bool displayUp_ = false;
    std::array<SceneFactory, kSceneCount> savedFactories_ = g_SceneFactories;
};

} // namespace test
