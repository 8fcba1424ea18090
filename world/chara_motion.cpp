// The character's motion, status and condition routines shared by the play
// step, the collision code, the hit checks and the commands: jump physics,
// gravity, landing and ceiling hits, the saved box, hit points and SP with
// their gauges, knock-back, and the condition kinds 5, 6 and 7.

#include "world/chara_obj.h"

#include <algorithm>
#include <cmath>

#include "core/saturate.h"
#include "data/ed_cond.h"
#include "data/ed_stage.h"
#include "world/compare_op.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"
#include "world/steering.h"
#include "world/trunc.h"

namespace {

// b, the sub-steps per frame, at least 1 (the stage's speed level keeps it
// in range; guarded here too, as every division by it is).
int SubSteps()
{
    return g_Stage.nSubSteps >= 1 ? g_Stage.nSubSteps : 1;
}

double Gravity()
{
    return FiniteOr(g_Stage.dGravityStep, 0.0);
}

// The character a condition is about: self (0) or its target (1).
cCharaObj* ConditionOwner(cCharaObj& self, int owner)
{
    if (owner == 0) return &self;
    if (owner == 1) return RunStage().FindCharaByNumber(self.m_TargetNo);
    return nullptr;
}

void StartGauge(Gauge& gauge, int value, int maximum, int delta)
{
    // A maximum of 0 would divide by zero: no gauge then.
    if (delta == 0 || maximum == 0) return;
    gauge.m_Frames = kGaugeFrames;
    gauge.m_Fill = SaturateToInt32(std::int64_t{value} * kGaugeLength / maximum);
    gauge.m_Change = static_cast<double>(delta) * kGaugeLength / maximum;
    gauge.m_ChangeStep = gauge.m_Change / 60.0;
}

// A knock-back speed moves toward 0 by 1/b, never past it.
void DecayToward0(double& v)
{
    if (v == 0) return;
    const double step = 1.0 / SubSteps();
    if (v > 0) {
        v -= step;
        if (v < 0) v = 0;
    } else {
        v += step;
        if (v > 0) v = 0;
    }
}

// Signs opposite, both beyond 1e-8 in size.
bool Opposes(double a, double b)
{
    return (a > 1e-8 && b < -1e-8) || (a < -1e-8 && b > 1e-8);
}

// A vertical knock-back under way enters the speed; the part of it that
// took effect (0 when it ends on the ground). Out of line: most characters
// are not knocked back, and their test stays cheap.
[[gnu::noinline]] double KnockSpeedY(cCharaObj& c, double k)
{
    if (c.m_Flying) {
        c.m_SpeedY += k;
        return k;
    }
    if (k > 0 && c.IsOnGround()) {
        c.m_KnockY = 0;
        return 0;
    }
    c.m_SpeedY = c.m_SpeedY - c.m_PrevKnockY + k;
    return k;
}

} // namespace

int HblToPixels(int hbl)
{
    return SaturateToInt32(std::int64_t{hbl} * 16);
}

double PercentPerStep(int percent)
{
    const double b = SubSteps();
    return percent * 0.01 / (b * b);
}

double cCharaObj::JumpSpeed(double height) const
{
    const double g = Gravity();
    // A negative radicand (a negative height) would give NaN: no rise then.
    const double radicand = std::max(g * (g + 8.0 * height), 0.0);
    double v = (-g - std::sqrt(radicand)) * 0.5;
    if (m_Operator == 0) v *= 0.99 - 0.025 * FiniteOr(g_Stage.dGravity, 0.0);
    return FiniteOr(v, 0.0);
}

double cCharaObj::JumpSpeedHbl(int hbl) const
{
    return JumpSpeed(HblToPixels(hbl));
}

int StepsToApex(double speed)
{
    const int b = SubSteps();
    const double g = Gravity();
    // Without gravity nothing slows the rise: the apex is taken as b.
    if (!(g > 0.0)) return b;
    return TruncToInt(b - speed / g);
}

int cCharaObj::JumpTime(int hbl) const
{
    const int b = SubSteps();
    return StepsToApex(JumpSpeedHbl(hbl)) / b / 6 + 1;
}

void cCharaObj::ClearContacts()
{
    m_ContactL = m_ContactR = m_ContactU = m_ContactD = 0;
}

void cCharaObj::ApplyCharaGravity()
{
    if (m_Riding || m_NoGravity || m_KnockY < 0) return;
    ApplyGravity();
}

int cCharaObj::IsOnGround() const
{
    if (m_UnderFeet && RunStage().HitMode(*m_UnderFeet, m_Group) != 0) return 1;
    return m_Riding;
}

void cCharaObj::LandOnBlock()
{
    m_SpeedY = 0;
    m_InertiaY = 0;
    m_ContactD = 1;
    m_AirSteps = 0;
    m_Airborne = 0;
    m_Jumping = 0;
    m_JumpEnded = 0;
    m_Knockback = 0;
    if (m_Operator != 0) m_JumpLatch = 0;
    m_Y -= (TruncToInt(m_Bottom) & 31) + 1;
    OnMovedY();
    FireFlows(9);
    FireFlows(13);
    FireFlows(15);
}

void cCharaObj::HitCeiling()
{
    m_JumpEnded = 1;
    m_Jumping = 1;
    m_ContactU = 1;
    m_JumpLatch = 1;
    m_SpeedY = 0;
    m_InertiaY = 0;
    m_Y += 32 - (TruncToInt(m_Y) & 31);
    OnMovedY();
    FireFlows(9);
    FireFlows(13);
    FireFlows(14);
}

void cCharaObj::SettleOnSolidChara(int rider)
{
    m_Riding = 0;
    if (m_KnockY == 0) m_SpeedY = 0;
    if (rider) m_Rider = 1;
}

void cCharaObj::SavePosition()
{
    m_SavedBox = DRect{m_X, m_Y, m_Right, m_Bottom};
}

void cCharaObj::RestorePosition()
{
    m_X = m_SavedBox.x1;
    m_Y = m_SavedBox.y1;
    m_Right = m_SavedBox.x2;
    m_Bottom = m_SavedBox.y2;
}

int cCharaObj::ChangeHp(int delta, int forced, int showGauge)
{
    if (!forced && delta <= 0 && m_Def.nInvincible != 0) return 0;
    const std::int32_t maximum = std::max(m_Def.nMaxHP, 0);
    std::int64_t d = delta;
    if (d > 0) d = std::min<std::int64_t>(d, std::int64_t{maximum} - m_Hp);
    m_Hp = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_Hp + d, 0, maximum));
    if (m_Hp <= 0) {
        m_Hp = 0;
        return 1;
    }
    if (showGauge) StartHpGauge(static_cast<int>(d));
    return 0;
}

int cCharaObj::ChangeSp(int delta, int showGauge)
{
    const std::int32_t maximum = std::max(m_Def.nMaxSP, 0);
    std::int64_t d = delta;
    if (d > 0) d = std::min<std::int64_t>(d, std::int64_t{maximum} - m_Sp);
    m_Sp = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_Sp + d, 0, maximum));
    if (m_Def.nMaxSP <= 0) return 1;
    if (showGauge) StartSpGauge(static_cast<int>(d));
    return 0;
}

void cCharaObj::StartHpGauge(int delta)
{
    StartGauge(m_HpGauge, m_Hp, m_Def.nMaxHP, delta);
}

void cCharaObj::StartSpGauge(int delta)
{
    StartGauge(m_SpGauge, m_Sp, m_Def.nMaxSP, delta);
}

void cCharaObj::StartKnockback(int strength, double dx, double dy)
{
    if (strength == 0) return;
    const int resist = m_Def.nImpactResist;
    const int reduced =
        strength < 0 ? std::clamp(strength + resist, -20, 0) : std::clamp(strength - resist, 0, 20);
    KnockbackSpeed(m_KnockX, m_KnockY, reduced, dx, dy);
    if (Opposes(m_InertiaX, m_KnockX)) m_InertiaX = 0;
    if (Opposes(m_InertiaY, m_KnockY)) m_InertiaY = 0;
    if (Opposes(m_SpeedY, m_KnockY)) m_SpeedY = 0;
    m_Knockback = 1;
}

void cCharaObj::StartKnockbackFrom(const cCharaObj& attacker)
{
    double dy = attacker.m_SpeedY;
    // A walking attacker pushes sideways only, unless it is falling fast.
    if (attacker.m_Def.nFlying == 0 && !(attacker.m_SpeedY >= 8.0 * SubSteps() * Gravity())) dy = 0;
    StartKnockback(attacker.m_Def.nBodyImpact, attacker.m_SpeedX, dy);
}

void cCharaObj::StartKnockbackFromShot(const cShotObj& shot)
{
    const int strength = static_cast<std::int8_t>(shot.m_Def.m_Impact);
    // A sword swing does not fly: it pushes the way its owner faces.
    if (!shot.m_IsShot)
        StartKnockback(strength, shot.FacingSign(), 0);
    else
        StartKnockback(strength, shot.m_SpeedX, shot.m_SpeedY);
}

void cCharaObj::ApplyKnockbackY()
{
    const double k = m_KnockY;
    m_PrevKnockY = k != 0 ? KnockSpeedY(*this, k) : k;
}

void cCharaObj::DecayKnockbackX()
{
    DecayToward0(m_KnockX);
}

void cCharaObj::DecayKnockbackY()
{
    DecayToward0(m_KnockY);
}

int cCharaObj::TestStatusCondition2(const cEdCond& cond)
{
    int value = 0;
    if (cond.m_Owner == 2) {
        if (cond.m_Item == 0)
            value = g_Stage.bAutoScrollX;
        else if (cond.m_Item == 1)
            value = g_Stage.bAutoScrollY;
        else
            return 0;
    } else {
        cCharaObj* who = ConditionOwner(*this, cond.m_Owner);
        if (!who) return 0;
        const cEdChara& d = who->m_Def;
        switch (cond.m_Item) {
        case 1:
            value = d.bTransparent;
            break;
        case 2:
            value = d.bFixedFacing;
            break;
        case 3:
            value = d.nFlying;
            break;
        case 4:
            value = d.nInvincible;
            break;
        case 5:
            value = d.nSize;
            break;
        case 6:
            value = d.bScrollSync;
            break;
        default:
            return 0;
        }
    }
    return CompareByOp(value, cond.m_Index, cond.m_Op);
}

int cCharaObj::TestStatusCondition3(const cEdCond& cond)
{
    cCharaObj* who = ConditionOwner(*this, cond.m_Owner);
    if (!who) return 0;
    int result = 0;
    switch (cond.m_Item) {
    case 0:
        result = who->m_Facing == 0;
        break;
    case 1:
        result = who->m_Facing != 0;
        break;
    case 2:
        result =
            who->m_Def.nFlying == 0 && (who->m_Riding || (!who->m_Airborne && !who->m_Jumping));
        break;
    case 3:
        result = who->m_IsPlayer ? who->IsOnScreen() : who->m_OnScreen != 0;
        break;
    default:
        return 0;
    }
    return cond.m_Op == 1 ? !result : result;
}

int cCharaObj::TestDistanceCondition(const cEdCond& cond)
{
    cRunningStage& stage = RunStage();
    if (stage.Player.empty() || cond.m_Op > 1) return 0;
    cPlayerObj& p1 = stage.Player.front();
    const int d = HblToPixels(cond.m_Value);
    RefreshScreenBox();
    p1.RefreshScreenBox();
    // The reach toward lower (back) and higher (front) coordinates; the
    // whole own span counts for the two-way shapes.
    const bool right = m_Facing != 0;
    int held = 0;
    switch (cond.m_Shape) {
    case 0:
        held =
            SpanOverlap(m_ScrLeft, m_PicWidth, p1.m_ScrLeft, p1.m_ScrRight, p1.m_PicOffX, d, d, 1);
        break;
    case 1:
    case 2: {
        const bool ahead = (cond.m_Shape == 1) == right;
        held = SpanOverlap(m_ScrLeft, m_PicWidth, p1.m_ScrLeft, p1.m_ScrRight, p1.m_PicOffX,
                           ahead ? 0 : d, ahead ? d : 0, 0);
        break;
    }
    case 3:
        held =
            SpanOverlap(m_ScrTop, m_PicHeight, p1.m_ScrTop, p1.m_ScrBottom, p1.m_PicOffY, d, d, 1);
        break;
    case 4:
    case 5: {
        const bool down = (cond.m_Shape == 4) == right;
        held = SpanOverlap(m_ScrTop, m_PicHeight, p1.m_ScrTop, p1.m_ScrBottom, p1.m_PicOffY,
                           down ? 0 : d, down ? d : 0, 0);
        break;
    }
    case 6: {
        const double dx = (m_X + m_Width / 2) - (p1.m_X + p1.m_Width / 2);
        const double dy = (m_Y + m_Height / 2) - (p1.m_Y + p1.m_Height / 2);
        held = std::sqrt(dx * dx + dy * dy) <= d;
        break;
    }
    default:
        return 0;
    }
    return cond.m_Op == 1 ? !held : held;
}
