#include "scenes/scene_table.h"

#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"

namespace {

std::unique_ptr<cScene> MakeGamePlay()
{
    return std::make_unique<cGamePlay>();
}

} // namespace

std::array<SceneFactory, kSceneCount> g_SceneFactories = {
    nullptr,      // title menu
    nullptr,      // world map
    nullptr,      // save menu
    nullptr,      // challenge select
    MakeGamePlay, // game play
    nullptr,      // options
};

void PublishGamePlay(cScene* scene)
{
    g_GamePlay = dynamic_cast<cGamePlay*>(scene);
}
