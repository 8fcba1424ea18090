// Shot objects and sword swings: set-up, their sub-step, blocks, the hit box.

#include "world/shot_obj.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

cShotObj::cShotObj() = default;
cShotObj::~cShotObj() = default;

int cShotObj::ScaleHitBox(int scale)
{
    WORLD_PLACEHOLDER(13, "cShotObj::ScaleHitBox");
    return scale;
}

void cShotObj::AdjustPosOnScale(int, int)
{
    WORLD_PLACEHOLDER(13, "cShotObj::AdjustPosOnScale");
}

void cShotObj::UpdateHitBoxX()
{
    WORLD_PLACEHOLDER(13, "cShotObj::UpdateHitBoxX");
}

void cShotObj::UpdateHitBoxY()
{
    WORLD_PLACEHOLDER(13, "cShotObj::UpdateHitBoxY");
}

void cShotObj::SetupShot(cCharaObj&, int, const cEdShot&, ShotFireRequest&)
{
    WORLD_PLACEHOLDER(13, "cShotObj::SetupShot");
}

int cShotObj::StepShot()
{
    WORLD_PLACEHOLDER(13, "cShotObj::StepShot");
    return 0;
}

int cShotObj::MoveShotX()
{
    WORLD_PLACEHOLDER(13, "cShotObj::MoveShotX");
    return 0;
}

int cShotObj::MoveShotY()
{
    WORLD_PLACEHOLDER(13, "cShotObj::MoveShotY");
    return 0;
}

int cShotObj::UpdateShotX()
{
    WORLD_PLACEHOLDER(13, "cShotObj::UpdateShotX");
    return 0;
}

int cShotObj::ShotHitsBlock()
{
    WORLD_PLACEHOLDER(13, "cShotObj::ShotHitsBlock");
    return 0;
}

int cShotObj::StepSword()
{
    WORLD_PLACEHOLDER(13, "cShotObj::StepSword");
    return 0;
}

void cShotObj::SplitSpeed(double&, double&, double, double) const
{
    WORLD_PLACEHOLDER(13, "cShotObj::SplitSpeed");
}
