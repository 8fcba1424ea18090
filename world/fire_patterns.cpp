// Firing shot parts: volleys, the six formations, the summons they lay out.

#include "world/fire_patterns.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"
#include "world/shot_obj.h"

void FireShot(std::list<cShotObj>&, cCharaObj&, cCommandRun&, const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "FireShot");
}

void FireCharaSummon(cCharaObj&, cCommandRun&, const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "FireCharaSummon");
}

void FireItemSummon(cCharaObj&, cCommandRun&, const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "FireItemSummon");
}

void FireBlockSummon(cCharaObj&, cCommandRun&, const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "FireBlockSummon");
}

void SpawnShotElement(std::list<cShotObj>&, ShotFireRequest&, cCharaObj&, cCommandRun&,
                      const cEdShot&)
{
    WORLD_PLACEHOLDER(13, "SpawnShotElement");
}

int AimAngle(double, double, cCharaObj&, const cEdShot&, ShotFireRequest&)
{
    WORLD_PLACEHOLDER(13, "AimAngle");
    return 0;
}

void RotatePlacement(ShotFireRequest&, cCharaObj&, int)
{
    WORLD_PLACEHOLDER(13, "RotatePlacement");
}

namespace {

void NoPattern(std::list<cShotObj>&, cCharaObj&, cCommandRun&, const cEdShot&, ShotFireRequest&)
{
    WORLD_PLACEHOLDER(13, "g_ShotPatternProc");
}

} // namespace

const ShotPatternProc g_ShotPatternProc[kFirePatterns] = {NoPattern, NoPattern, NoPattern,
                                                          NoPattern, NoPattern, NoPattern};
