#include "scenes/scene_table.h"

#include "scenes/scene_mgr.h"

std::array<SceneFactory, kSceneCount> g_SceneFactories = {
    nullptr, // title menu
    nullptr, // world map
    nullptr, // save menu
    nullptr, // challenge select
    nullptr, // game play
    nullptr, // options
};

void PublishGamePlay(cScene*)
{
    g_GamePlay = nullptr;
}
