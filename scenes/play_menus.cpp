// The pieces of the play scene's displays, the menu cursor, and the
// results and rankings of a cleared stage.

#include "scenes/game_play.h"

#include "world/placeholder.h"

void cGamePlay::DrawPlayPiece(int)
{
    WORLD_PLACEHOLDER(15, "cGamePlay::DrawPlayPiece");
}

void cGamePlay::SceneResetMenuCursor()
{
    WORLD_PLACEHOLDER(15, "cGamePlay::SceneResetMenuCursor");
}

void cGamePlay::ScenePrepareResults()
{
    WORLD_PLACEHOLDER(menus, "cGamePlay::ScenePrepareResults");
}

void cGamePlay::SceneLoadRankings()
{
    WORLD_PLACEHOLDER(menus, "cGamePlay::SceneLoadRankings");
}

int cGamePlay::DecideNextScene()
{
    WORLD_PLACEHOLDER(menus, "cGamePlay::DecideNextScene");
    return SCENE_TITLE;
}

void cGamePlay::RegisterRanking()
{
    WORLD_PLACEHOLDER(menus, "cGamePlay::RegisterRanking");
}

void cGamePlay::DrawResults(int, int)
{
    WORLD_PLACEHOLDER(menus, "cGamePlay::DrawResults");
}
