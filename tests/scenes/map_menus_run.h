#pragma once
// The world map and the challenge select run the way MenuRun runs the
// menus, with a game play that does nothing (a test sees it asked for
// without playing it), a new story's progress, and input scripts played
// frame by frame.

#include <array>
#include <memory>

#include "scenes/menu_run.h"
#include "scenes/scene_table.h"

namespace test {

class MapMenusRun : public MenuRun {
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
        MenuRun::SetUp();
        g_SceneFactories[SCENE_GAME_PLAY] = [] { return std::make_unique<cScene>(); };
        NewStory();
    }
    void TearDown() override
    {
        MenuRun::TearDown();
        g_SceneFactories = savedFactories_;
    }

    // The display of another back end, once the scenes are gone.
    void UseDisplay(const gfxtest::Mode& other)
    {
        DestroyScenes();
        TearDownGameDisplay();
        ASSERT_NO_FATAL_FAILURE(SetUpGameDisplay(other));
    }

    // Frames with the script's input from its first frame on.
    void Frames(const cInputScript& script, int count)
    {
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            SwitchScene(g_SceneMgr.g_CurScene);
            if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
        }
    }
    void Frames(int count) { Frames(cInputScript(), count); }
    // Frames without input until the current scene is in the phase; false
    // after `limit`.
    bool RunUntilPhase(int phase, int limit = 60)
    {
        return RunUntil(g_SceneMgr.g_CurScene, phase, limit);
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

private:
    std::array<SceneFactory, kSceneCount> savedFactories_ = g_SceneFactories;
};

} // namespace test
