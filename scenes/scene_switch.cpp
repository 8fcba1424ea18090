#include "core/message_box.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"

#include <new>

namespace {

// The slot of a scene id in the manager.
std::unique_ptr<cScene>* Slot(std::int32_t id)
{
    switch (id) {
    case SCENE_TITLE:
        return &g_SceneMgr.m_TitleScene;
    case SCENE_WORLD_MAP:
        return &g_SceneMgr.m_WorldMapScene;
    case SCENE_SAVE_MENU:
        return &g_SceneMgr.m_SaveMenuScene;
    case SCENE_CHALLENGE:
        return &g_SceneMgr.m_ChallengeScene;
    case SCENE_GAME_PLAY:
        return &g_SceneMgr.m_GamePlayScene;
    case SCENE_OPTION:
        return &g_SceneMgr.m_OptionScene;
    default:
        return nullptr;
    }
}

void Delete(std::int32_t id)
{
    Slot(id)->reset();
    // Nothing may reach the game-play scene through its published pointer
    // once it is gone.
    if (id == SCENE_GAME_PLAY) g_GamePlay = nullptr;
}

} // namespace

void SwitchScene(std::int32_t id)
{
    // The deletion order of the scenes that are not the current one.
    constexpr std::int32_t kOrder[] = {SCENE_TITLE,     SCENE_SAVE_MENU, SCENE_WORLD_MAP,
                                       SCENE_CHALLENGE, SCENE_GAME_PLAY, SCENE_OPTION};
    for (std::int32_t other : kOrder)
        if (other != id) Delete(other);
    std::unique_ptr<cScene>* slot = Slot(id);
    if (!slot || *slot) return;
    const SceneFactory make = g_SceneFactories[static_cast<std::size_t>(id)];
    if (!make) return;
    try {
        *slot = make();
    } catch (const std::bad_alloc&) {
        OutOfMemory();
        return;
    }
    if (id == SCENE_GAME_PLAY) PublishGamePlay(slot->get());
}

void DestroyScenes()
{
    g_SceneMgr.m_TitleScene.reset();
    g_SceneMgr.m_WorldMapScene.reset();
    g_SceneMgr.m_SaveMenuScene.reset();
    g_SceneMgr.m_ChallengeScene.reset();
    g_SceneMgr.m_OptionScene.reset();
    g_SceneMgr.m_GamePlayScene.reset();
    g_GamePlay = nullptr;
}
