// Effect instances and the players of character and screen effects.

#include "world/effect_obj.h"

#include "world/placeholder.h"

cEffectObj::cEffectObj(int, double, double, int, int, int)
{
    WORLD_PLACEHOLDER(13, "cEffectObj::cEffectObj");
}

cEffectObj::cEffectObj(int, const DRect&, const DRect&, int)
{
    WORLD_PLACEHOLDER(13, "cEffectObj::cEffectObj(overlap)");
}

void cEffectObj::SetAnimation(int)
{
    WORLD_PLACEHOLDER(13, "cEffectObj::SetAnimation");
}

void cCharaEffectPlayer::Start(int, int, int)
{
    WORLD_PLACEHOLDER(13, "cCharaEffectPlayer::Start");
}

void cCharaEffectPlayer::Restart()
{
    WORLD_PLACEHOLDER(13, "cCharaEffectPlayer::Restart");
}

int cCharaEffectPlayer::Step()
{
    WORLD_PLACEHOLDER(13, "cCharaEffectPlayer::Step");
    return 0;
}

void cScrEffectPlayer::Start(int, int, int)
{
    WORLD_PLACEHOLDER(13, "cScrEffectPlayer::Start");
}

void cScrEffectPlayer::Restart()
{
    WORLD_PLACEHOLDER(13, "cScrEffectPlayer::Restart");
}

int cScrEffectPlayer::Step(double, double, double)
{
    WORLD_PLACEHOLDER(13, "cScrEffectPlayer::Step");
    return 0;
}
