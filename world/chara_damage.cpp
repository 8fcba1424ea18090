// Damage and hit protection of characters.

#include "world/chara_obj.h"

#include "world/placeholder.h"
#include "world/shot_obj.h"

void cCharaObj::StartHitProtection()
{
    WORLD_PLACEHOLDER(13, "cCharaObj::StartHitProtection");
}

void cCharaObj::StartHitProtectionFrom(int)
{
    WORLD_PLACEHOLDER(13, "cCharaObj::StartHitProtectionFrom");
}

void cCharaObj::UpdateHitProtection()
{
    WORLD_PLACEHOLDER(13, "cCharaObj::UpdateHitProtection");
}

int cCharaObj::IsHitProtected() const
{
    WORLD_PLACEHOLDER(13, "cCharaObj::IsHitProtected");
    return 0;
}

int cCharaObj::IsHitProtectedFrom(int) const
{
    WORLD_PLACEHOLDER(13, "cCharaObj::IsHitProtectedFrom");
    return 0;
}

int cCharaObj::DamageFromChara(cCharaObj&)
{
    WORLD_PLACEHOLDER(13, "cCharaObj::DamageFromChara");
    return 0;
}

int cCharaObj::DamageFromShot(cShotObj&)
{
    WORLD_PLACEHOLDER(13, "cCharaObj::DamageFromShot");
    return 0;
}
