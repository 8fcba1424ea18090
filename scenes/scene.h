#pragma once
// The base of every screen of the game (title menu, world map, save menu,
// challenge select, game play, options). A scene runs as a table of phases:
// entry 0 is its FadeIn, the last entry its FadeOut, its own phases lie
// between. m_Phase is -1 until Init has run. Game thread only.

#include <cstdint>
#include <vector>

// Ids of the scenes: the values of g_CurScene, g_ReqScene and g_PrevScene.
enum SceneId : std::int32_t {
    SCENE_TITLE = 0,
    SCENE_WORLD_MAP = 1,
    SCENE_SAVE_MENU = 2,
    SCENE_CHALLENGE = 3,
    SCENE_GAME_PLAY = 4,
    SCENE_OPTION = 5,
};
inline constexpr int kSceneCount = 6;

// The title-menu item that started the current play.
enum PlayMode : std::int32_t {
    PLAYMODE_NEW_GAME = 0,
    PLAYMODE_CONTINUE = 1,
    PLAYMODE_CHALLENGE = 2,
    PLAYMODE_FREE = 3, // also the direct start of a stage given at start-up
    PLAYMODE_REPLAY = 4,
};

// The kind of the current play: indexes the system data's per-kind flags and
// chooses the rankings folder (the replay has none).
enum PlayKind : std::int32_t {
    PLAYKIND_STORY = 0,
    PLAYKIND_CHALLENGE = 1,
    PLAYKIND_FREE = 2,
    PLAYKIND_REPLAY = 3,
};

class cScene {
public:
    // A phase: a member function of the scene taking no argument. Derived
    // scenes store their own with static_cast<Phase>(&Derived::Phase...).
    using Phase = void (cScene::*)();

    cScene();
    virtual ~cScene();

    // Once per frame while the scene is current.
    virtual void Run();
    // Once before the first phase, and again when the scene asks for itself.
    virtual void Init();
    virtual void FadeIn();
    virtual void FadeOut();

    // What every Run does after its own input filtering: Init when the phase
    // is -1 (a text it throws goes to FatalErrF and the phase becomes 0
    // anyway), then the current phase.
    void RunPhases();

    std::int32_t m_Phase = -1;
    std::int32_t m_SubState = 0;
    std::vector<Phase> m_Phases;
};
