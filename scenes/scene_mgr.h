#pragma once
// The scene manager and the frame step. The game thread's loop calls
// StepFrame once per pass while the application is active: it paces the
// frame, restores lost surfaces, reads player 1's input, switches to the
// current scene (creating it when missing, deleting every other one), runs
// it, and presents. The pause and ranking threads reuse WaitFrame,
// RestoreLostSurfaces, PollInput and PresentFrame while the game thread
// waits for them, so none of this ever runs on two threads at once.

#include "scenes/scene.h"

#include <cstdint>
#include <memory>
#include <vector>

class cGamePlay;
struct InputState;

struct cSceneMgr {
    // The scene objects, owned, in the order DestroyScenes deletes them (the
    // option scene's slot comes before the game play's although its id is 5).
    std::unique_ptr<cScene> m_TitleScene;
    std::unique_ptr<cScene> m_WorldMapScene;
    std::unique_ptr<cScene> m_SaveMenuScene;
    std::unique_ptr<cScene> m_ChallengeScene;
    std::unique_ptr<cScene> m_OptionScene;
    std::unique_ptr<cScene> m_GamePlayScene;

    std::int32_t g_CurScene = SCENE_TITLE;  // switched to and run each frame
    std::int32_t g_ReqScene = SCENE_TITLE;  // asked for by a phase before its fade-out
    std::int32_t g_PrevScene = SCENE_TITLE; // the scene that faded out last
    std::int32_t g_PlayMode = PLAYMODE_NEW_GAME;
    std::int32_t m_PlayKind = PLAYKIND_STORY;
    std::int32_t m_ChallengeCursor = 0; // challenge list's cursor row, kept across scenes
    std::int32_t m_ChallengeScroll = 0; // its first shown row
    std::int32_t m_ResultsOn = 0;       // results panel and ranking entry for this play kind
    std::int32_t m_FrameRate = 0;       // 60, or the running stage's own rate
    std::int32_t m_FadeStep = 0;        // degrees per fade frame

    // The object of a scene id, or null (also for an id outside 0 to 5).
    cScene* Scene(std::int32_t id) const;
};

extern cSceneMgr g_SceneMgr;

// The running game-play scene: set when the scene manager creates it; used
// only while that scene exists.
extern cGamePlay* g_GamePlay;

// One frame: 1, or 0 when lost DirectDraw surfaces cannot be restored (the
// game thread then closes the window).
int StepFrame();

// Deletes every scene object but the one of id and creates that one when it
// is missing.
void SwitchScene(std::int32_t id);

// Deletes all six scene objects in member order.
void DestroyScenes();

// Frame pacing at the scene manager's frame rate.
void WaitFrame();

// DirectDraw surface recovery; true when nothing was lost or all came back.
bool RestoreLostSurfaces();

// Reads this frame's input of player 1 into element 0.
void PollInput(std::vector<InputState>& input);

// Shows the back buffer.
void PresentFrame();
