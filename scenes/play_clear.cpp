// The stage-clear phase.

#include "scenes/game_play.h"

#include "world/placeholder.h"

void cGamePlay::PhaseClear()
{
    WORLD_PLACEHOLDER(12, "cGamePlay::PhaseClear");
}
