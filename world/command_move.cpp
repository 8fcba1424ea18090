// The movement commands: the speeds they give by direction, angle or point,
// and their executors.

#include "world/command_move.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "data/ed_command.h"
#include "data/ed_key_cond.h"
#include "world/chara_obj.h"
#include "world/commands.h"
#include "world/running_stage.h"
#include "world/steering.h"
#include "world/sub_steps.h"
#include "world/trunc.h"

namespace {

constexpr double kInvSqrt2 = 0.7071067811865476;
constexpr double kDegToRad = 0.017453292519943295;

enum DirCode : int {
    DIR_FRONT = 0,
    DIR_BACK = 1,
    DIR_LEFT = 2,
    DIR_RIGHT = 3,
    DIR_FRONT_Y = 4,
    DIR_BACK_Y = 5,
    DIR_UP = 6,
    DIR_DOWN = 7,
    DIR_UP_LEFT = 8,
    DIR_DOWN_LEFT = 9,
    DIR_UP_RIGHT = 10,
    DIR_DOWN_RIGHT = 11,
    DIR_INPUT = 12,
};

// Per absolute direction code 2 to 11: the unit speeds of a direction
// (y only for flyers), the base angle of an angled move and the facing asked for.
struct DirInfo {
    int code;
    double ux;
    double uy;
    int baseAngle;
    int request;
};
constexpr DirInfo kDirs[] = {
    {DIR_LEFT, -1, 0, 0, 1},
    {DIR_RIGHT, 1, 0, 180, 2},
    {DIR_UP, 0, -1, 90, 0},
    {DIR_DOWN, 0, 1, 270, 0},
    {DIR_UP_LEFT, -kInvSqrt2, -kInvSqrt2, 45, 1},
    {DIR_DOWN_LEFT, -kInvSqrt2, kInvSqrt2, 315, 1},
    {DIR_UP_RIGHT, kInvSqrt2, -kInvSqrt2, 135, 2},
    {DIR_DOWN_RIGHT, kInvSqrt2, kInvSqrt2, 225, 2},
};

const DirInfo* FindDir(int code)
{
    for (const DirInfo& info : kDirs)
        if (info.code == code) return &info;
    return nullptr;
}

bool HasLeft(int code)
{
    return code == DIR_LEFT || code == DIR_UP_LEFT || code == DIR_DOWN_LEFT;
}
bool HasRight(int code)
{
    return code == DIR_RIGHT || code == DIR_UP_RIGHT || code == DIR_DOWN_RIGHT;
}
bool HasUp(int code)
{
    return code == DIR_UP || code == DIR_UP_LEFT || code == DIR_UP_RIGHT;
}
bool HasDown(int code)
{
    return code == DIR_DOWN || code == DIR_DOWN_LEFT || code == DIR_DOWN_RIGHT;
}

// The centre of a character's screen box.
double ScreenCentreX(const cCharaObj& c)
{
    return c.m_ScrLeft + (c.m_PicWidth >> 1);
}
double ScreenCentreY(const cCharaObj& c)
{
    return c.m_ScrTop + (c.m_PicHeight >> 1);
}

cCharaObj* TargetOf(const cCharaObj& chara)
{
    return RunStage().FindCharaByNumber(chara.m_TargetNo);
}

// The chase toward a point by the part's axis switches: y alone, both
// axes, or x alone (which wins when both are switched off).
void ChaseTarget(cCharaObj& chara, cCommandRun& run, const cEdMove& move, cCharaObj* target,
                 double x, double y)
{
    if (move.m_NoSpeedX && !move.m_NoSpeedY)
        chara.SteerTowardY(run, target, y, chara.m_ScrollFollow, move.m_Flag61);
    else if (!move.m_NoSpeedX && !move.m_NoSpeedY)
        chara.SteerToward(run, target, x, y, chara.m_ScrollFollow, move.m_Flag61);
    else
        chara.SteerTowardX(run, target, x, chara.m_ScrollFollow, move.m_Flag61);
}

// A move with inertia accelerates the character's inertia by the speeds,
// within the command's limit. Out of line: the common moves stay small.
[[gnu::noinline]] void Accelerate(cCharaObj& chara, double vx, double vy, const cCommandRun& run,
                                  const cEdMove& move)
{
    const double limit = std::fabs(run.m_MaxSpeed);
    const double turn = FiniteOr(move.m_TurnFactor, 1.0);
    auto accelerate = [limit, turn](double& speed, std::int32_t& decelerate, double v) {
        double amount = cGameObj::FrameToSubStep(v);
        if ((speed < 0 && v > 0) || (speed > 0 && v < 0))
            amount *= turn;
        else
            decelerate = 0;
        speed = std::clamp(speed + amount, -limit, limit);
    };
    accelerate(chara.m_InertiaX, chara.m_DecelX, vx);
    accelerate(chara.m_InertiaY, chara.m_DecelY, vy);
}

// The speeds of a straight move, set on its first sub-step: toward its
// target point, at its angle, or in its direction.
[[gnu::noinline]] void StartStraightSpeeds(cCharaObj& chara, cCommandRun& run, const cEdMove& move)
{
    if (move.m_TargetMode == 1)
        SpeedTowardPoint(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run.m_Speed,
                         run.m_OffsetX, run.m_OffsetY, move, run.m_Remaining);
    else if (run.m_Angle != 0)
        SpeedByAngle(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run.m_Speed, run.m_Dir,
                     run.m_Angle);
    else
        SpeedByDirection(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run.m_Speed,
                         run.m_Dir);
}

// A counter of sub-steps that never runs past the int range.
void CountOn(std::int32_t& counter)
{
    if (counter < INT_MAX) ++counter;
}

} // namespace

int ResolveDirection(cCharaObj& chara, int code)
{
    const bool right = chara.m_Facing == 1;
    switch (code) {
    case DIR_FRONT:
        return right ? DIR_RIGHT : DIR_LEFT;
    case DIR_BACK:
        return right ? DIR_LEFT : DIR_RIGHT;
    case DIR_FRONT_Y:
        return right ? DIR_DOWN : DIR_UP;
    case DIR_BACK_Y:
        return right ? DIR_UP : DIR_DOWN;
    case DIR_INPUT: {
        const cFlowRun* flow = RunStage().m_CurFlowRun;
        int resolved = DirectionCode(flow ? flow->m_FireDir : 0, chara.m_Facing);
        // A walker does not take the vertical half of a diagonal.
        if (!chara.m_Flying) {
            if (resolved == DIR_UP_LEFT || resolved == DIR_DOWN_LEFT) resolved = DIR_LEFT;
            if (resolved == DIR_UP_RIGHT || resolved == DIR_DOWN_RIGHT) resolved = DIR_RIGHT;
        }
        return resolved;
    }
    default:
        return code;
    }
}

void SpeedByDirection(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                      int code)
{
    vx = vy = 0;
    const DirInfo* info = FindDir(ResolveDirection(chara, code));
    if (!info) return;
    vx = info->ux * speed;
    if (chara.m_Flying) vy = info->uy * speed;
    if (!chara.m_Def.bFixedFacing) facingRequest = info->request;
}

void SpeedByAngle(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                  int code, int angle)
{
    const DirInfo* info = FindDir(ResolveDirection(chara, code));
    const int base = info ? info->baseAngle : 0;
    if (info && !chara.m_Def.bFixedFacing) facingRequest = info->request;
    const double a = (static_cast<double>(angle) + base) * kDegToRad;
    vx = -std::cos(a) * speed;
    vy = chara.m_Flying ? -std::sin(a) * speed : 0.0;
}

void SpeedTowardPoint(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                      int x, int y, const cEdMove& move, int& remaining)
{
    const cRunningStage& stage = RunStage();
    const double cx = ScreenCentreX(chara) + stage.m_ScrollX.m_Pos;
    const double cy = ScreenCentreY(chara) + stage.m_ScrollY.m_Pos;
    double dx;
    double dy;
    switch (move.m_CoordMode) {
    case 0:
        dx = chara.m_StartX + x - cx;
        dy = chara.m_StartY + y - cy;
        break;
    case 1:
        dx = x;
        dy = y;
        break;
    case 2:
        dx = stage.m_ScrollX.m_AreaFirst * 32.0 + x + 16 - cx;
        dy = stage.m_ScrollY.m_AreaFirst * 32.0 + y + 16 - cy;
        break;
    default:
        dx = stage.m_ScrollX.m_Pos + x + 16 - cx;
        dy = stage.m_ScrollY.m_Pos + y + 16 - cy;
        break;
    }
    if (!move.m_UseX) dx = 0;
    if (!move.m_UseY) dy = 0;
    vx = vy = 0;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > 0) {
        if (!move.m_NoSpeedX) vx = dx / r * speed;
        if (!move.m_NoSpeedY) vy = dy / r * speed;
    }
    if (!chara.m_Def.bFixedFacing) facingRequest = vx < -1e-8 ? 1 : vx > 1e-8 ? 2 : 0;
    if (move.m_StopOnArrival && speed != 0) remaining = TruncToInt(std::fabs(r) / std::fabs(speed));
}

namespace {

// The facing a move asks for, unless the character or the move keeps it.
void ApplyMoveFacing(cCharaObj& chara, int facingRequest, const cEdMove& move, int force)
{
    if ((!chara.m_Def.bFixedFacing || force) && !move.m_KeepFacing) {
        if (facingRequest == 1) chara.m_Facing = 0;
        if (facingRequest == 2) chara.m_Facing = 1;
    }
}

// The end of a move's sub-step: its animation, unless the move keeps the
// one playing.
int MoveAnime(cCharaObj& chara, const cEdMove& move)
{
    if (move.m_KeepAnime) return move.m_KeepAnime;
    chara.m_MovedByCommand = 1;
    return chara.m_Anime.Change(chara.m_Flying ? 3 : 1, 1);
}

// A straight move's speeds after its first sub-step: a walker's y speed is
// 0, and a character that turns only by command reverses with its facing.
void ContinueStraightSpeeds(const cCharaObj& chara, cCommandRun& run, const cEdMove& move)
{
    if (!chara.m_Flying) run.m_SpeedY = 0;
    if (move.m_TurnReverse && chara.m_Def.bFixedFacing && chara.m_Facing != run.m_PrevFacing) {
        run.m_SpeedX = -run.m_SpeedX;
        run.m_SpeedY = -run.m_SpeedY;
    }
}

// The straight move's first sub-step, and every sub-step of one with
// inertia. Out of line: the plain sub-steps make no call before their end.
[[gnu::noinline]] int StraightMoveStep(cCharaObj& chara, cCommandRun& run, const cEdMove& move)
{
    if (!run.m_Started) {
        run.m_Started = 1;
        StartStraightSpeeds(chara, run, move);
    } else {
        ContinueStraightSpeeds(chara, run, move);
    }
    const int r =
        ApplyMoveSpeeds(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run, move, 0);
    run.m_PrevFacing = chara.m_Facing;
    return r;
}

} // namespace

int ApplyMoveSpeeds(cCharaObj& chara, double vx, double vy, int facingRequest, cCommandRun& run,
                    const cEdMove& move, int force)
{
    ApplyMoveFacing(chara, facingRequest, move, force);
    if (move.m_Inertia) {
        Accelerate(chara, vx, vy, run, move);
    } else {
        chara.m_SpeedX += vx;
        chara.m_SpeedY += vy;
    }
    return MoveAnime(chara, move);
}

int ExecStraightMove(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    if (!run.m_Started || move.m_Inertia) return StraightMoveStep(chara, run, move);
    // ApplyMoveSpeeds without inertia; the animation, which changes neither
    // facing nor speeds, comes last.
    ContinueStraightSpeeds(chara, run, move);
    ApplyMoveFacing(chara, run.m_FacingRequest, move, 0);
    chara.m_SpeedX += run.m_SpeedX;
    chara.m_SpeedY += run.m_SpeedY;
    run.m_PrevFacing = chara.m_Facing;
    return MoveAnime(chara, move);
}

int ExecGroundTurnBack(cCharaObj& chara, cCommandRun& run)
{
    if (chara.m_Flying || !run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    cRunningStage& stage = RunStage();
    double vx = chara.FacingSign() * run.m_Speed;
    int request = 0;
    if (chara.m_KnockX == 0 && chara.m_KnockY == 0) {
        if (chara.m_Rider) {
            // Pushed by a solid character: turn back, and move as it moved.
            request = chara.m_Facing == 1 ? 1 : 2;
            vx = -vx;
            if (const cCharaObj* carrier = stage.FindCharaByNumber(chara.m_CarrierNo);
                carrier && !carrier->m_IsPlayer) {
                const double d = carrier->m_X - chara.m_CarrierBox.x1;
                const bool against =
                    (chara.m_Facing == 1 && d < 0) || (chara.m_Facing == 0 && d > 0);
                vx += against ? 2 * d : d;
            }
            chara.m_Rider = 0;
        } else {
            // The cells under the left and right foot: a ledge on one side
            // turns the walker toward the other.
            const int lastRow = stage.m_ScrollY.m_MapSize - 1;
            const int row = std::min(TruncToInt((chara.m_Bottom + 1.1) / 32), lastRow);
            const bool left =
                stage.HitMode(stage.CellAt(chara.m_CellLeft, row), chara.m_Group) != 0;
            const bool right =
                stage.HitMode(stage.CellAt(chara.m_CellRight, row), chara.m_Group) != 0;
            if (left && !right) request = 1;
            if (!left && right) request = 2;
        }
    }
    return ApplyMoveSpeeds(chara, vx, 0, request, run, move, 1);
}

int ExecCircleMove(cCharaObj& chara, cCommandRun& run)
{
    if (run.m_Radius == 0 || !run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    if (!run.m_Started) {
        run.m_Started = 1;
        run.m_Phase1 = run.m_Phase2 = run.m_Start;
    }
    int sense = run.m_Dir;
    if (sense == 2) sense = chara.m_Facing == 1 ? 1 : 0;
    if (sense == 3) sense = chara.m_Facing == 1 ? 0 : 1;
    const double s = run.m_Speed;
    const double w = StageSubStepsF() * s;
    double vx = 0;
    double vy = 0;
    if (!move.m_NoSpeedX) vx = -s * CircleSpeedX(run.m_Radius, 1, run.m_Phase1, w, 0);
    if (chara.m_Flying && !move.m_NoSpeedY)
        vy = -s * CircleSpeedX(run.m_Radius, 1, run.m_Phase2, w, sense == 0 ? 270 : 90);
    return ApplyMoveSpeeds(chara, vx, vy, 0, run, move, 0);
}

int ExecChargeMove(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    if (!run.m_Started) {
        cCharaObj* target = TargetOf(chara);
        if (!target) {
            run.m_SpeedX = run.m_SpeedY = 0;
            return 0;
        }
        if (target->m_Dying) return 0;
        run.m_Started = 1;
        if (chara.m_Flying) {
            double x = 0;
            double y = 0;
            target->TargetPoint(x, y, run);
            ChaseTarget(chara, run, move, target, x, y);
        } else if (move.m_NoSpeedX) {
            run.m_SpeedX = 0;
        } else {
            chara.SteerTowardX(run, target, ScreenCentreX(*target) + run.m_OffsetX,
                               chara.m_ScrollFollow, move.m_Flag61);
        }
    } else if (!chara.m_Flying) {
        run.m_SpeedY = 0;
    }
    return ApplyMoveSpeeds(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run, move, 0);
}

int ExecHomingMove(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    cCharaObj* target = TargetOf(chara);
    if (!target || target->m_Dying) return 0;
    if (!chara.m_Flying && move.m_NoSpeedX) return 0;
    const int n = run.m_Interval;
    // The point aimed at now: the target's point, or on the ground its x.
    DPoint now;
    if (chara.m_Flying)
        target->TargetPoint(now.x, now.y, run);
    else
        now.x = ScreenCentreX(*target) + run.m_OffsetX;
    auto chase = [&](const DPoint& p) {
        if (chara.m_Flying)
            ChaseTarget(chara, run, move, target, p.x, p.y);
        else
            chara.SteerTowardX(run, target, p.x, chara.m_ScrollFollow, move.m_Flag61);
    };
    if (n <= 0) {
        chase(now);
    } else if (!run.m_Started) {
        // Follows the target's path one interval late.
        run.m_Started = 1;
        run.m_Points.clear();
        run.m_Points.push_back(now);
        chase(now);
    } else if (run.m_Repeat % n == 0) {
        chase(run.m_Points.empty() ? now : run.m_Points.front());
        run.m_Points.push_back(now);
        if (run.m_Points.size() > 1) run.m_Points.pop_front();
    }
    if (!chara.m_Flying) run.m_SpeedY = 0;
    const int r =
        ApplyMoveSpeeds(chara, run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, run, move, 0);
    if (n > 0)
        run.m_Repeat = (run.m_Repeat + 1) % n;
    else
        CountOn(run.m_Repeat);
    return r;
}

int ExecAvoidMove(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command || !run.m_Command->m_Move) return 0;
    const cEdMove& move = *run.m_Command->m_Move;
    const cRunningStage& stage = RunStage();
    const cScrollAxis& ax = stage.m_ScrollX;
    const cScrollAxis& ay = stage.m_ScrollY;
    const int code = ResolveDirection(chara, run.m_Dir);
    const double s = run.m_Speed;
    double vx = 0;
    double vy = 0;
    if (ax.m_Speed == 0 || ax.m_AtLimit) {
        if (HasLeft(code) && chara.m_ScrLeft > 608) vx = -s;
        if (HasRight(code) && chara.m_ScrRight < 32) vx = s;
        if (HasUp(code) && chara.m_ScrTop > 448) vy = -s;
        if (HasDown(code) && chara.m_ScrBottom < 32) vy = s;
    } else {
        // While the view scrolls the character keeps pace with it.
        const double c = ax.m_Speed;
        const double p = ax.m_Pos;
        const double e = ax.m_Full;
        const double c2 = ay.m_Speed;
        const double p2 = ay.m_Pos;
        const double e2 = ay.m_Full;
        if (HasLeft(code) && chara.m_ScrLeft > 608 - std::fabs(c + 1) && p > 0 && c + p <= e - 640)
            vx = c - s;
        if (HasRight(code) && chara.m_ScrRight < 32 + std::fabs(c + 1) && c + p > 0 && p < e - 640)
            vx = c + s;
        if (HasUp(code) && chara.m_ScrTop > 448 - std::fabs(c2 + 1) && p2 > 0 &&
            c2 + p2 <= e2 - 480)
            vy = c2 - s;
        if (HasDown(code) && chara.m_ScrBottom < 32 + std::fabs(c2 + 1) && c2 + p2 > 0 &&
            p2 < e2 - 480)
            vy = c2 + s;
    }
    if (!chara.m_Flying) vy = 0;
    const int r = ApplyMoveSpeeds(chara, vx, vy, 0, run, move, 0);
    CountOn(run.m_Repeat);
    return r;
}

int ExecDisableMove(cCharaObj& chara, cCommandRun&)
{
    chara.m_KnockX = chara.m_KnockY = 0;
    chara.m_SpeedX = chara.m_SpeedY = 0;
    chara.m_InertiaX = chara.m_InertiaY = 0;
    chara.m_NoGravity = 1;
    return 0;
}

int ExecTurn(cCharaObj& chara, cCommandRun& run)
{
    if (!chara.m_Def.bFixedFacing || !run.m_Command) return 0;
    if (run.m_Repeat == 0) {
        const cEdCommand& command = *run.m_Command;
        PlayCommandSound(chara, command);
        const int mode = CommandParam(command, 0);
        const cCharaObj* target = TargetOf(chara);
        switch (mode) {
        case 0:
            chara.m_Facing = 0;
            break;
        case 1:
            chara.m_Facing = 1;
            break;
        case 2:
        case 3: {
            if (!target) return 0;
            const bool toward =
                (target->m_X + target->m_Right) / 2 > (chara.m_X + chara.m_Right) / 2;
            chara.m_Facing = toward == (mode == 2) ? 1 : 0;
            break;
        }
        case 4:
            if (chara.m_WallSide == 0 || chara.m_WallSide == 1) chara.m_Facing = chara.m_WallSide;
            break;
        case 5:
            if (chara.m_WallSide == 0 || chara.m_WallSide == 1)
                chara.m_Facing = 1 - chara.m_WallSide;
            break;
        default:
            break;
        }
    }
    CountTenth(run);
    return 0;
}

int ExecJump(cCharaObj& chara, cCommandRun& run)
{
    const int r = chara.Jump(run);
    CountOn(run.m_Repeat);
    return r;
}
