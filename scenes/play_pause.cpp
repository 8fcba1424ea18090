// The pause and continue menus and the threads that take the frame loop
// over while the game waits: the pause thread and the ranking thread.

#include "scenes/game_play.h"

#include "world/placeholder.h"

void cGamePlay::PhasePause()
{
    WORLD_PLACEHOLDER(15, "cGamePlay::PhasePause");
}

void cGamePlay::PhaseContinue()
{
    WORLD_PLACEHOLDER(15, "cGamePlay::PhaseContinue");
}

int PauseThreadMain(cGamePlay*)
{
    WORLD_PLACEHOLDER(15, "PauseThreadMain");
    return 1;
}

int RankingThreadMain(cGamePlay*)
{
    WORLD_PLACEHOLDER(15, "RankingThreadMain");
    return 1;
}
