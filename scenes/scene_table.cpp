#include "scenes/scene_table.h"

#include "scenes/challenge_scene.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "scenes/world_map_scene.h"

namespace {

std::unique_ptr<cScene> MakeGamePlay()
{
    return std::make_unique<cGamePlay>();
}

std::unique_ptr<cScene> MakeWorldMap()
{
    return std::make_unique<cWorldMapScene>();
}

std::unique_ptr<cScene> MakeChallenge()
{
    return std::make_unique<cChallengeScene>();
}

} // namespace

std::array<SceneFactory, kSceneCount> g_SceneFactories = {
    nullptr,       // title menu
    MakeWorldMap,  // world map
    nullptr,       // save menu
    MakeChallenge, // challenge select
    MakeGamePlay,  // game play
    nullptr,       // options
};

void PublishGamePlay(cScene* scene)
{
    g_GamePlay = dynamic_cast<cGamePlay*>(scene);
}
