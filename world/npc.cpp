// Computer characters: set-up, hit boxes, activity, moves, flows and jump.

#include "world/npc_obj.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

cNpcObj::cNpcObj() = default;
cNpcObj::~cNpcObj() = default;

cItemObj* cNpcObj::GetCarriedItem()
{
    return &m_CarriedItem;
}

int cNpcObj::ScaleHitBox(int scale)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::ScaleHitBox");
    return scale;
}

void cNpcObj::UpdateHitBoxX()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::UpdateHitBoxX");
}

void cNpcObj::UpdateHitBoxY()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::UpdateHitBoxY");
}

int cNpcObj::OnMovedX()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::OnMovedX");
    return 0;
}

int cNpcObj::OnMovedY()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::OnMovedY");
    return 0;
}

int cNpcObj::MoveX()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::MoveX");
    return 0;
}

int cNpcObj::MoveY()
{
    WORLD_PLACEHOLDER(12, "cNpcObj::MoveY");
    return 0;
}

int cNpcObj::RunFlows(int)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::RunFlows");
    return 0;
}

int cNpcObj::Jump(cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::Jump");
    return 0;
}

void cNpcObj::SetupNpc(int, cEdChara&, const cItemObj*, double, double, int)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::SetupNpc");
}

void cNpcObj::PlaceAtCell(int, int)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::PlaceAtCell");
}

int cNpcObj::TestInRange(std::vector<std::uint8_t>&)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::TestInRange");
    return 0;
}

int cNpcObj::TestActivation(const std::vector<std::uint8_t>&)
{
    WORLD_PLACEHOLDER(12, "cNpcObj::TestActivation");
    return 0;
}
