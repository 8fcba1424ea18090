// The shot movement kinds: once a shot flies, its kind may turn it toward
// someone once (aim), steer it toward someone for a stretch (homing), wave
// it across its flight line, or let it fall. They work on the shot's own
// velocity per sub-step, before StepShot adds it to the speed.

#include "world/shot_moves.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "data/ed_stage.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"
#include "world/steering.h"
#include "world/trunc.h"

namespace {

double SubStepsF()
{
    return g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
}

// The first sub-step of kinds 1 to 7 and 9: the steering speed per sub-step.
void CommonStart(cShotObj& shot)
{
    shot.m_MoveSpeed =
        (shot.m_Def.m_Speed + shot.m_Def.m_SpeedStep * shot.m_CopyNo) * 0.1 / SubStepsF();
}

// A distance in hbl as the sub-step the shot reaches it; 0 keeps the tick.
void DistanceTick(const cShotObj& shot, int hbl, std::int32_t& tick)
{
    if (hbl == 0) return;
    tick = shot.m_MoveSpeed == 0 ? 0 : TruncToInt(HblToPixels(hbl) / shot.m_MoveSpeed);
}

// The centre of an object's screen box.
void ScreenCentre(const cGameObj& obj, double& x, double& y)
{
    x = obj.m_ScrLeft + (obj.m_PicWidth >> 1);
    y = obj.m_ScrTop + (obj.m_PicHeight >> 1);
}

// The velocity from the shot toward a character at the steering speed.
void SolveToward(cShotObj& shot, cCharaObj& target, double& vx, double& vy)
{
    shot.UpdateScreenBox();
    double x = 0, y = 0, tx = 0, ty = 0;
    ScreenCentre(shot, x, y);
    ScreenCentre(target, tx, ty);
    int direction = 0;
    vx = vy = 0;
    SteerSolve(vx, vy, direction, &target, x, y, tx, ty, shot.m_MoveSpeed, shot.m_ScrollFollow, 0,
               0);
}

cCharaObj* Hero()
{
    cRunningStage& stage = RunStage();
    return stage.Player.empty() ? nullptr : &stage.Player.front();
}

// The character of a group nearest to the shot; none for an empty group or
// a group outside 0 to 7.
cCharaObj* NearestOfGroup(cShotObj& shot, int group)
{
    cRunningStage& stage = RunStage();
    if (group < 0 || group >= kGroupCount) return nullptr;
    const cGroupList<cCharaObj>& list = stage.m_CharaGroups[static_cast<std::size_t>(group)];
    if (list.empty()) return nullptr;
    shot.UpdateScreenBox();
    return NearestCharaToMe(shot, list.Slots());
}

// The shot's own target while it lives.
cCharaObj* LiveTarget(const cShotObj& shot)
{
    cCharaObj* target = RunStage().FindCharaByNumber(shot.m_TargetNo);
    return target && !target->m_Dying ? target : nullptr;
}

// Kinds 1 to 3 and 4 to 7 pick their character alike.
cCharaObj* Chosen(cShotObj& shot, int kind)
{
    switch (kind) {
    case 1:
    case 4:
        return Hero();
    case 2:
        return NearestOfGroup(shot, shot.m_Def.m_MoveParams[1]);
    case 5:
    case 7:
        return NearestOfGroup(shot, shot.m_Def.m_MoveParams[2]);
    default:
        return LiveTarget(shot);
    }
}

// Kinds 1 to 3: one turn toward a character once the shot has flown the
// distance of parameter 1.
void AimOnce(cShotObj& shot)
{
    if (shot.m_MoveDone) return;
    if (shot.m_Tick == 0) {
        CommonStart(shot);
        DistanceTick(shot, shot.m_Def.m_MoveParams[0], shot.m_ChangeTick);
    }
    if (shot.m_Tick == shot.m_ChangeTick) {
        if (cCharaObj* target = Chosen(shot, shot.m_Def.m_MoveKind)) {
            SolveToward(shot, *target, shot.m_OwnSpeedX, shot.m_OwnSpeedY);
            if (shot.m_Accelerate)
                shot.SplitSpeed(shot.m_InertiaX, shot.m_InertiaY, shot.m_OwnSpeedX,
                                shot.m_OwnSpeedY);
        }
        shot.m_MoveDone = 1;
    }
    ++shot.m_Tick;
}

// Kinds 4 to 7: steering between the distances of parameters 1 and 2. With
// acceleration the new course is taken on the first steering sub-step only
// and the acceleration follows the target.
void Home(cShotObj& shot)
{
    if (shot.m_MoveDone) return;
    if (shot.m_Tick == 0) {
        CommonStart(shot);
        DistanceTick(shot, shot.m_Def.m_MoveParams[0], shot.m_ChangeTick);
        DistanceTick(shot, shot.m_Def.m_MoveParams[1], shot.m_EndTick);
    }
    if (shot.m_Tick >= shot.m_EndTick) {
        shot.m_MoveDone = 1;
        ++shot.m_Tick;
        return;
    }
    if (shot.m_Tick >= shot.m_ChangeTick) {
        if (cCharaObj* target = Chosen(shot, shot.m_Def.m_MoveKind)) {
            double vx = 0, vy = 0;
            SolveToward(shot, *target, vx, vy);
            if (!shot.m_Accelerate || shot.m_Tick == shot.m_ChangeTick) {
                shot.m_OwnSpeedX = vx;
                shot.m_OwnSpeedY = vy;
            }
            if (shot.m_Accelerate) shot.SplitSpeed(shot.m_InertiaX, shot.m_InertiaY, vx, vy);
        }
    }
    ++shot.m_Tick;
}

// 0 when a component changed sign in this step.
double KeepSign(double before, double after)
{
    return (before < 0 && after > 0) || (before > 0 && after < 0) ? 0.0 : after;
}

// Kind 8: a sine wave across the flight line, amplitude parameter 1 (hbl),
// speed parameter 2 (degrees per frame), start angle parameter 3.
void Wave(cShotObj& shot)
{
    std::int16_t* params = shot.m_Def.m_MoveParams;
    const double b = SubStepsF();
    const double q = params[1];
    if (shot.m_Tick == 0) {
        params[0] = static_cast<std::int16_t>(
            std::clamp(HblToPixels(params[0]), INT16_MIN, static_cast<int>(INT16_MAX)));
        shot.m_Tick = 1;
        // A wave of speed 0 never moves the shot.
        if (q == 0) return;
        shot.m_WavePhase = b * (shot.m_Facing ? params[2] : params[2] + 180) / q;
        const double d = CircleSpeedX(params[0], q, shot.m_WavePhase, 1, 0);
        double f = std::atan2(shot.m_OwnSpeedY, shot.m_OwnSpeedX);
        if (f < 0) f += 2 * std::numbers::pi;
        const double p = (f * (180 / std::numbers::pi) - 90) * (std::numbers::pi / 180);
        shot.m_WaveCos = std::cos(p);
        shot.m_WaveSin = std::sin(p);
        shot.m_OwnSpeedX += d * shot.m_WaveCos;
        shot.m_OwnSpeedY += d * shot.m_WaveSin;
    } else {
        if (q == 0) return;
        const double c = CircleAccelY(params[0], q, shot.m_WavePhase, 1, 0);
        shot.m_OwnSpeedX = KeepSign(shot.m_OwnSpeedX, shot.m_OwnSpeedX + c * shot.m_WaveCos);
        shot.m_OwnSpeedY = KeepSign(shot.m_OwnSpeedY, shot.m_OwnSpeedY + c * shot.m_WaveSin);
    }
    if (shot.m_Accelerate)
        shot.SplitSpeed(shot.m_InertiaX, shot.m_InertiaY, shot.m_OwnSpeedX, shot.m_OwnSpeedY);
}

// Kind 9: after the distance of parameter 1 the shot stops flying and falls.
void Fall(cShotObj& shot)
{
    if (shot.m_MoveDone) return;
    if (shot.m_Tick == 0) {
        CommonStart(shot);
        DistanceTick(shot, shot.m_Def.m_MoveParams[0], shot.m_ChangeTick);
    }
    if (shot.m_Tick >= shot.m_ChangeTick) {
        shot.m_SpeedY = shot.m_OwnSpeedY;
        shot.m_Flying = 0;
        shot.m_MoveDone = 1;
    }
    ++shot.m_Tick;
}

} // namespace

const ShotMoveProc g_ShotMoveProc[kShotMoves] = {nullptr, AimOnce, AimOnce, AimOnce, Home,
                                                 Home,    Home,    Home,    Wave,    Fall};
