// Blocks, characters and items summoned during play.

#include "world/summons.h"

#include "world/npc_obj.h"
#include "world/placeholder.h"

void SummonChara(std::list<cNpcObj>&, double, double, int, int, const cEdShot&, cEdChara&, int&)
{
    WORLD_PLACEHOLDER(13, "SummonChara");
}

void SummonItem(std::list<cItemObj>&, double, double, const cEdShot&, cEdItem&, int&)
{
    WORLD_PLACEHOLDER(13, "SummonItem");
}

void SummonBlock(double, double, const cEdShot&, const cEdBlock&)
{
    WORLD_PLACEHOLDER(13, "SummonBlock");
}

int CharasInCell(int, int, int, const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "CharasInCell");
    return 0;
}
