// Steering toward points and characters, circle terms, knock-back speeds,
// the span test and the searches for a character.

#include "world/steering.h"

#include <cmath>
#include <cstdlib>

#include "data/ed_command.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "world/chara_obj.h"
#include "world/running_stage.h"
#include "world/sub_steps.h"
#include "world/trunc.h"

namespace {

constexpr double kInvSqrt2 = 0.7071067811865476;
constexpr double kDegToRad = 0.017453292519943295;

// The scroll speed of an axis as movements follow it: 0 at its limit.
double ScrollSpeedX()
{
    return RunStage().m_ScrollX.FollowSpeed();
}
double ScrollSpeedY()
{
    return RunStage().m_ScrollY.FollowSpeed();
}

int DirectionOf(double vx)
{
    return vx < 0 ? 1 : vx > 0 ? 2 : 0;
}

enum class Course {
    MET,     // the velocity meets the target
    GAVE_UP, // a degenerate case: the speeds stay as far as they were computed
    NONE,    // the scroll outruns the speed: the straight course stays
};

// The intercept solved along one axis first: a (the axis of the longer
// distance) and b are the target's distances, sa and sb the scroll's speeds,
// r the scroll's cross term. The other axis follows from the time to meet.
Course InterceptAlong(double& va, double& vb, double a, double b, double sa, double sb, double r,
                      double v)
{
    const double aa = a * a;
    const double bb = b * b;
    if (aa == 0) return Course::GAVE_UP;
    const double w = bb / aa + 1;
    const double y = (2 * sa * bb - 2 * a * b * sb) / aa;
    const double disc = y * y - 4 * w * (r / aa - v * v);
    if (disc < 0) return Course::NONE;
    va = (y + std::sqrt(disc)) / (2 * w);
    if (a < 0) va = -va;
    if (sa - va == 0) return Course::GAVE_UP;
    const double t = -a / (sa - va);
    if (t == 0) return Course::GAVE_UP;
    vb = (b + t * sb) / t;
    return Course::MET;
}

// The velocity of length v whose motion relative to the scroll (q, o)
// points at the target (dx, dy away).
Course Intercept(double& vx, double& vy, double dx, double dy, double q, double o, double v)
{
    const double r = dx * dx * o * o + dy * dy * q * q - 2 * dx * dy * o * q;
    if (std::fabs(dy) >= std::fabs(dx)) return InterceptAlong(vy, vx, dy, dx, o, q, r, v);
    return InterceptAlong(vx, vy, dx, dy, q, o, r, v);
}

bool SnapsOnArrival(const cCommandRun& run)
{
    return run.m_Command && run.m_Command->m_Move && run.m_Command->m_Move->m_Flag61;
}

// The centre of an object's screen box.
double CentreX(const cGameObj& c)
{
    return c.m_ScrLeft + (c.m_PicWidth >> 1);
}
double CentreY(const cGameObj& c)
{
    return c.m_ScrTop + (c.m_PicHeight >> 1);
}

// Whether a candidate of a target search passes its filters.
bool PassesFilters(const cCharaObj& c, int byId, int id, int excludeNumber, int excludeInvincible1,
                   int excludeInvincible2, int excludeNoContact, int number)
{
    if (byId && c.m_Def.nCharaId != id) return false;
    if (c.m_Dying) return false;
    if (excludeNumber && c.m_ObjNo == number) return false;
    if (excludeInvincible1 && c.m_Def.nInvincible == 1) return false;
    if (excludeInvincible2 && c.m_Def.nInvincible == 2) return false;
    if (excludeNoContact && c.m_Def.bSolid) return false;
    return true;
}

} // namespace

int ScrollInCommands()
{
    return g_System.bNoScrollCarry ? 1 : 0;
}

int SteerSolve(double& vx, double& vy, int& direction, cCharaObj* target, double x, double y,
               double targetX, double targetY, double speed, int ownFollow, int noFlee,
               int arrivalTest)
{
    const double q = ScrollSpeedX();
    const double o = ScrollSpeedY();
    const bool inCommands = ScrollInCommands() != 0;
    const double dx = targetX - x;
    const double dy = targetY - y;
    vx = vy = 0;
    if (!noFlee && speed < 0) {
        // A negative speed flees diagonally; it never arrives.
        const double u = -speed * kInvSqrt2;
        vx = x >= targetX ? u : -u;
        vy = y >= targetY ? u : -u;
        direction = DirectionOf(vx);
        if (inCommands) {
            vx += q;
            vy += o;
        } else if (target) {
            const bool m = ownFollow != 0;
            const bool f = target->m_ScrollFollow != 0;
            if (m != f) {
                vx -= q;
                vy -= o;
            }
        }
        return 0;
    }
    double dist = std::sqrt(dx * dx + dy * dy);
    if (dist == 0) dist = 1;
    vx = speed * dx / dist;
    vy = speed * dy / dist;
    const double v = std::sqrt(vx * vx + vy * vy);
    if (inCommands) {
        vx += q;
        vy += o;
    } else if (target) {
        const bool m = ownFollow != 0;
        const bool f = target->m_ScrollFollow != 0;
        if (!m && f) {
            // The target drifts with the view and the mover does not: aim
            // where they meet. Without a meeting the straight course stays.
            if (q != 0 || o != 0) {
                const Course course = Intercept(vx, vy, dx, dy, q, o, v);
                if (course == Course::GAVE_UP) return 0;
                if (course == Course::NONE) {
                    direction = DirectionOf(vx);
                    return 0;
                }
            }
        } else if (!f) {
            vx -= q;
            vy -= o;
        }
    }
    direction = DirectionOf(vx);
    if (arrivalTest && std::fabs(dx) < std::fabs(speed) && std::fabs(dy) < std::fabs(speed))
        return 1;
    return 0;
}

int SteerSolveX(double& vx, double& vy, int& direction, cCharaObj* target, double x, double targetX,
                double speed, int ownFollow, int arrivalTest)
{
    if (x >= targetX) {
        direction = 1;
        vx = -speed;
    } else {
        direction = 2;
        vx = speed;
    }
    if (!ownFollow && target && target->m_ScrollFollow && ScrollInCommands()) vx += ScrollSpeedX();
    vy = 0;
    return arrivalTest && std::fabs(speed) > std::fabs(x - targetX) ? 1 : 0;
}

int SteerSolveY(double& vx, double& vy, int& direction, cCharaObj* target, double y, double targetY,
                double speed, int ownFollow, int arrivalTest)
{
    direction = 0;
    vy = y >= targetY ? -speed : speed;
    if (!ownFollow && target && target->m_ScrollFollow && ScrollInCommands()) vy += ScrollSpeedY();
    vx = 0;
    return arrivalTest && std::fabs(speed) > std::fabs(y - targetY) ? 1 : 0;
}

int cCharaObj::SteerToward(cCommandRun& run, cCharaObj* target, double tx, double ty, int ownFollow,
                           int arrivalTest)
{
    const int r =
        SteerSolve(run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, target, CentreX(*this),
                   CentreY(*this), tx, ty, run.m_Speed, ownFollow, 0, arrivalTest);
    if (r == 1 && SnapsOnArrival(run)) SetCenterStop(TruncToInt(tx), TruncToInt(ty), run);
    return r;
}

int cCharaObj::SteerTowardX(cCommandRun& run, cCharaObj* target, double tx, int ownFollow,
                            int arrivalTest)
{
    const int r = SteerSolveX(run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, target,
                              CentreX(*this), tx, run.m_Speed, ownFollow, arrivalTest);
    if (r == 1 && SnapsOnArrival(run)) SetCenterXStop(TruncToInt(tx), run);
    return r;
}

int cCharaObj::SteerTowardY(cCommandRun& run, cCharaObj* target, double ty, int ownFollow,
                            int arrivalTest)
{
    const int r = SteerSolveY(run.m_SpeedX, run.m_SpeedY, run.m_FacingRequest, target,
                              CentreY(*this), ty, run.m_Speed, ownFollow, arrivalTest);
    if (r == 1 && SnapsOnArrival(run)) SetCenterYStop(TruncToInt(ty), run);
    return r;
}

void cCharaObj::TargetPoint(double& x, double& y, const cCommandRun& run) const
{
    const cEdMove* move = run.m_Command ? run.m_Command->m_Move.get() : nullptr;
    // m_NoSpeedY leaves the x axis alone ("x only"), m_NoSpeedX the y axis.
    const bool xOnly = move && move->m_NoSpeedY;
    const bool yOnly = move && move->m_NoSpeedX;
    if (!yOnly || xOnly) x = CentreX(*this) + run.m_OffsetX;
    if (!xOnly) y = CentreY(*this) + run.m_OffsetY;
}

double CircleSpeedX(double radius, double angularSpeed, double& phase, double phaseStep,
                    double start)
{
    const double b = StageSubStepsF();
    const double k = angularSpeed * kDegToRad;
    const double angle = k * (phase / b + start);
    const double v = radius * k * std::cos(angle) / b;
    phase += phaseStep;
    if (phase >= 360 * b) phase -= 360 * b;
    return v;
}

double CircleAccelY(double radius, double angularSpeed, double& phase, double phaseStep,
                    double start)
{
    const double b = StageSubStepsF();
    const double k = angularSpeed * kDegToRad;
    const double angle = k * (phase / b + start);
    const double a = -radius * k * k * std::sin(angle) / (b * b);
    phase += phaseStep;
    if (phase >= 360 * b) phase -= 360 * b;
    return a;
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

cCharaObj* FindNearestChara(double x, double y, std::span<cCharaObj* const> list, int mode,
                            int byId, int id, int excludeNumber, int excludeInvincible1,
                            int excludeInvincible2, int excludeNoContact, int number)
{
    // The nearest by screen-box centre among the candidates of one kind;
    // the first in list order on a tie.
    auto nearest = [&](auto accepts) -> cCharaObj* {
        double best = 2147483647.0;
        cCharaObj* found = nullptr;
        for (cCharaObj* c : list) {
            if (!c || !accepts(*c) ||
                !PassesFilters(*c, byId, id, excludeNumber, excludeInvincible1, excludeInvincible2,
                               excludeNoContact, number))
                continue;
            const double d = std::fabs(CentreX(*c) - x) + std::fabs(CentreY(*c) - y);
            if (d < best) {
                best = d;
                found = c;
            }
        }
        return found;
    };
    auto presentOnScreen = [](const cCharaObj& c) { return c.m_Present && c.m_OnScreen; };
    auto presentOffScreen = [](const cCharaObj& c) { return c.m_Present && !c.m_OnScreen; };
    auto present = [](const cCharaObj& c) { return c.m_Present != 0; };
    switch (mode) {
    case 0:
        if (cCharaObj* c = nearest(presentOnScreen)) return c;
        return nearest(presentOffScreen);
    case 1:
        return nearest(present);
    case 2:
        return nearest(presentOnScreen);
    default:
        return nullptr;
    }
}

cCharaObj* NearestChara(double x, double y, std::span<cCharaObj* const> list)
{
    return FindNearestChara(x, y, list, g_Stage.bHitOnScreenOnly ? 2 : 0, 0, 0, 0, 0, 1, 0, 0);
}

cCharaObj* NearestCharaToMe(const cGameObj& me, std::span<cCharaObj* const> list)
{
    return NearestChara(CentreX(me), CentreY(me), list);
}

cCharaObj* FirstChara(std::span<cCharaObj* const> list, int byId, int id, int excludeNumber,
                      int excludeInvincible1, int excludeInvincible2, int excludeNoContact,
                      int number)
{
    for (cCharaObj* c : list)
        if (c && PassesFilters(*c, byId, id, excludeNumber, excludeInvincible1, excludeInvincible2,
                               excludeNoContact, number))
            return c;
    return nullptr;
}
