#include "scenes/scene_table.h"

#include "scenes/challenge_scene.h"
#include "scenes/game_play.h"
#include "scenes/option_scene.h"
#include "scenes/save_menu_scene.h"
#include "scenes/scene_mgr.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_scene.h"

namespace {

std::unique_ptr<cScene> MakeGamePlay()
{
    return std::make_unique<cGamePlay>();
}

std::unique_ptr<cScene> MakeTitle()
{
    return std::make_unique<cTitleScene>();
}

std::unique_ptr<cScene> MakeWorldMap()
{
    return std::make_unique<cWorldMapScene>();
}

std::unique_ptr<cScene> MakeSaveMenu()
{
    return std::make_unique<cSaveMenuScene>();
}

std::unique_ptr<cScene> MakeChallenge()
{
    return std::make_unique<cChallengeScene>();
}

std::unique_ptr<cScene> MakeOption()
{
    return std::make_unique<cOptionScene>();
}

} // namespace

std::array<SceneFactory, kSceneCount> g_SceneFactories = {
    MakeTitle,     // title menu
    MakeWorldMap,  // world map
    MakeSaveMenu,  // save menu
    MakeChallenge, // challenge select
    MakeGamePlay,  // game play
    MakeOption,    // options
};

void PublishGamePlay(cScene* scene)
{
    g_GamePlay = dynamic_cast<cGamePlay*>(scene);
}
