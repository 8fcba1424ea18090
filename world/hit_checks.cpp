// The hit checks of a sub-step.

#include "world/hit_checks.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

int CheckHits()
{
    WORLD_PLACEHOLDER(13, "CheckHits");
    return 0;
}
