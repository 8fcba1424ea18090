// The movement commands: the speeds they give by direction, angle or point,
// and their executors.

#include "world/command_move.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int ResolveDirection(cCharaObj&, int code)
{
    WORLD_PLACEHOLDER(12, "ResolveDirection");
    return code;
}

void SpeedByDirection(cCharaObj&, double&, double&, int&, double, int)
{
    WORLD_PLACEHOLDER(12, "SpeedByDirection");
}

void SpeedByAngle(cCharaObj&, double&, double&, int&, double, int, int)
{
    WORLD_PLACEHOLDER(12, "SpeedByAngle");
}

void SpeedTowardPoint(cCharaObj&, double&, double&, int&, double, int, int, const cEdMove&, int&)
{
    WORLD_PLACEHOLDER(12, "SpeedTowardPoint");
}

int ApplyMoveSpeeds(cCharaObj&, double, double, int, cCommandRun&, const cEdMove&, int)
{
    WORLD_PLACEHOLDER(12, "ApplyMoveSpeeds");
    return 0;
}

int ExecStraightMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecStraightMove");
    return 0;
}

int ExecGroundTurnBack(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecGroundTurnBack");
    return 0;
}

int ExecCircleMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecCircleMove");
    return 0;
}

int ExecChargeMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecChargeMove");
    return 0;
}

int ExecHomingMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecHomingMove");
    return 0;
}

int ExecAvoidMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecAvoidMove");
    return 0;
}

int ExecDisableMove(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecDisableMove");
    return 0;
}

int ExecTurn(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecTurn");
    return 0;
}

int ExecJump(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecJump");
    return 0;
}
