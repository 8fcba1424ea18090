// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

void UpdateOtherActivity()
{
    WORLD_PLACEHOLDER(12, "UpdateOtherActivity");
}
