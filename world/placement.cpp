// The characters and items the author placed on the stage, created at the
// stage set-up, and the flows that run before the stage starts.

#include "world/placement.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

void PlaceChara(std::list<cNpcObj>&, int, int, int&, cEdChara&, const cItemObj*)
{
    WORLD_PLACEHOLDER(12, "PlaceChara");
}

void PlaceItem(std::list<cItemObj>&, int, int, int&, cEdItem&)
{
    WORLD_PLACEHOLDER(12, "PlaceItem");
}

void PlaceStageObjects()
{
    WORLD_PLACEHOLDER(12, "PlaceStageObjects");
}

void FireStageStartFlows()
{
    WORLD_PLACEHOLDER(12, "FireStageStartFlows");
}
