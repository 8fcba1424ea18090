#include "scenes/scene_mgr.h"

cSceneMgr g_SceneMgr;
cGamePlay* g_GamePlay = nullptr;

cScene* cSceneMgr::Scene(std::int32_t id) const
{
    switch (id) {
    case SCENE_TITLE:
        return m_TitleScene.get();
    case SCENE_WORLD_MAP:
        return m_WorldMapScene.get();
    case SCENE_SAVE_MENU:
        return m_SaveMenuScene.get();
    case SCENE_CHALLENGE:
        return m_ChallengeScene.get();
    case SCENE_GAME_PLAY:
        return m_GamePlayScene.get();
    case SCENE_OPTION:
        return m_OptionScene.get();
    default:
        return nullptr;
    }
}
