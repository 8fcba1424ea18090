#pragma once
// Firing a shot part: volleys, their formations (the six fire patterns)
// and the summons laid out by the same patterns.

#include <list>

class cCharaObj;
class cCommandRun;
class cEdShot;
class cShotObj;
struct ShotFireRequest;

void FireShot(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run, const cEdShot& def);
void FireCharaSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def);
void FireItemSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def);
void FireBlockSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def);

inline constexpr int kFirePatterns = 6;
using ShotPatternProc = void (*)(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                                 const cEdShot& def, ShotFireRequest& request);
extern const ShotPatternProc g_ShotPatternProc[kFirePatterns];

void SpawnShotElement(std::list<cShotObj>& shots, ShotFireRequest& request, cCharaObj& shooter,
                      cCommandRun& run, const cEdShot& def);
// Whole degrees from (x, y) toward the shooter's target.
int AimAngle(double x, double y, cCharaObj& shooter, const cEdShot& def, ShotFireRequest& request);
void RotatePlacement(ShotFireRequest& request, cCharaObj& shooter, int angle);
