// Steering toward points and characters, circle terms, knock-back speeds,
// the span test and the searches for a character.

#include "world/steering.h"

#include "data/ed_stage.h"
#include "world/chara_obj.h"
#include "world/command_move.h"
#include "world/placeholder.h"
#include <cmath>
#include <cstdlib>

int SteerSolve(double&, double&, int&, cCharaObj*, double, double, double, double, double, int, int,
               int)
{
    WORLD_PLACEHOLDER(12, "SteerSolve");
    return 0;
}

int SteerSolveX(double&, double&, int&, cCharaObj*, double, double, double, int, int)
{
    WORLD_PLACEHOLDER(12, "SteerSolveX");
    return 0;
}

int SteerSolveY(double&, double&, int&, cCharaObj*, double, double, double, int, int)
{
    WORLD_PLACEHOLDER(12, "SteerSolveY");
    return 0;
}

int cCharaObj::SteerToward(cCommandRun&, cCharaObj*, double, double, int, int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::SteerToward");
    return 0;
}

int cCharaObj::SteerTowardX(cCommandRun&, cCharaObj*, double, int, int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::SteerTowardX");
    return 0;
}

int cCharaObj::SteerTowardY(cCommandRun&, cCharaObj*, double, int, int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::SteerTowardY");
    return 0;
}

void cCharaObj::TargetPoint(double&, double&, const cCommandRun&) const
{
    WORLD_PLACEHOLDER(12, "cCharaObj::TargetPoint");
}

double CircleSpeedX(double, double, double&, double, double)
{
    WORLD_PLACEHOLDER(12, "CircleSpeedX");
    return 0.0;
}

double CircleAccelY(double, double, double&, double, double)
{
    WORLD_PLACEHOLDER(12, "CircleAccelY");
    return 0.0;
}

void KnockbackSpeed(double& vx, double& vy, int strength, double dx, double dy)
{
    if (strength == 0) return;
    const double f = std::fabs(dx) + std::fabs(dy);
    if (!(f > 0.0)) {
        vx = vy = 0.0;
        return;
    }
    const double h = g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
    // The start speed that a decay of 1/h per sub-step brings to 0 after
    // 16 x |p| pixels.
    auto speed = [h](double p) {
        if (p > 0.0) return (std::sqrt(128.0 * h * p + 1.0) - 1.0) / (2.0 * h);
        if (p < 0.0) return -(std::sqrt(1.0 - 128.0 * h * p) - 1.0) / (2.0 * h);
        return 0.0;
    };
    vx = speed(dx * strength / f);
    vy = speed(dy * strength / f);
}

int SpanOverlap(int start, int size, int c, int e, int margin, int back, int front, int whole)
{
    const int h = size >> 1;
    const int mid = start + h;
    int lo = mid;
    int hi = mid;
    if (whole && back == 0 && front == 0) {
        lo = mid - h;
        hi = mid + h;
    } else {
        if (back > 0) lo = mid - h;
        if (front > 0) hi = mid + h;
        lo -= back;
        hi += front;
    }
    return lo <= e - margin && c + margin <= hi ? 1 : 0;
}

cCharaObj* FindNearestChara(double, double, const std::list<cCharaObj*>&, int, int, int, int, int,
                            int, int, int)
{
    WORLD_PLACEHOLDER(12, "FindNearestChara");
    return nullptr;
}

cCharaObj* NearestChara(double, double, const std::list<cCharaObj*>&)
{
    WORLD_PLACEHOLDER(12, "NearestChara");
    return nullptr;
}

cCharaObj* NearestCharaToMe(const cCharaObj&, const std::list<cCharaObj*>&)
{
    WORLD_PLACEHOLDER(12, "NearestCharaToMe");
    return nullptr;
}

cCharaObj* FirstChara(const std::list<cCharaObj*>&, int, int, int, int, int, int, int)
{
    WORLD_PLACEHOLDER(12, "FirstChara");
    return nullptr;
}
