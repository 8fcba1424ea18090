// Solid characters against the other characters.

#include "world/solid_charas.h"

#include "world/npc_obj.h"
#include "world/placeholder.h"

int CollideSolidCharas(cCharaObj&, std::list<cNpcObj>&)
{
    WORLD_PLACEHOLDER(13, "CollideSolidCharas");
    return 0;
}

void PushOutOfSolidCharas(cCharaObj&, std::list<cNpcObj>&, int)
{
    WORLD_PLACEHOLDER(13, "PushOutOfSolidCharas");
}

int OverlapsSolidCharaExcept(cCharaObj&, std::list<cNpcObj>&, int)
{
    WORLD_PLACEHOLDER(13, "OverlapsSolidCharaExcept");
    return 0;
}

int IsOnCarrier(cCharaObj&)
{
    WORLD_PLACEHOLDER(13, "IsOnCarrier");
    return 0;
}

int IsOnAnySolidChara(cCharaObj&)
{
    WORLD_PLACEHOLDER(13, "IsOnAnySolidChara");
    return 0;
}

int CornersInSolidCharas(cCharaObj&, const DRect&)
{
    WORLD_PLACEHOLDER(13, "CornersInSolidCharas");
    return 0;
}

int CarryRider(cCharaObj&, std::list<cNpcObj>&)
{
    WORLD_PLACEHOLDER(13, "CarryRider");
    return 0;
}

int OverlapsSolidChara(cCharaObj&, std::list<cNpcObj>&)
{
    WORLD_PLACEHOLDER(13, "OverlapsSolidChara");
    return 0;
}
