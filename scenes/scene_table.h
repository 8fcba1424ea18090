#pragma once
// How each scene is made: a table of constructors indexed by scene id. A
// scene without one (a screen this build does not have) is simply never
// made, and a frame whose current scene is missing runs nothing.

#include "scenes/scene.h"

#include <array>
#include <memory>

using SceneFactory = std::unique_ptr<cScene> (*)();

extern std::array<SceneFactory, kSceneCount> g_SceneFactories;

// Publishes a newly made game-play scene as g_GamePlay.
void PublishGamePlay(cScene* scene);
