// Shot objects and sword swings: set-up, their sub-step, blocks, the hit box.

#include "world/shot_obj.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <list>
#include <memory>
#include <utility>
#include <vector>

#include "core/list_prefetch.h"
#include "core/saturate.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/ed_sword_type.h"
#include "data/ed_system.h"
#include "world/activity.h"
#include "world/running_stage.h"
#include "world/shot_moves.h"
#include "world/trunc.h"

namespace {

// The shot animations: 0 a sword's three frames then the end, 1 a flying
// shot's two frames in a loop.
const FrameSeqTable& ShotSequences()
{
    static const FrameSeqTable seqs =
        std::make_shared<const std::vector<FrameSeq>>(std::vector<FrameSeq>{
            {{0, 7, 0}, {1, 7, 0}, {2, 7, 0}, {-4, 0, 0}},
            {{0, 8, 0}, {1, 8, 0}, {-2, 0, 0}},
        });
    return seqs;
}

double SubStepsF()
{
    return g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
}

// Sword part settings: offset x and y, their mirror flags, the placement,
// the place in the sword picture, the size and the time.
enum SwordSetting {
    kSwordOffX = 0,
    kSwordOffY = 1,
    kSwordMirrorX = 2,
    kSwordMirrorY = 3,
    kSwordPlace = 4,
    kSwordWidth = 7,
    kSwordHeight = 8,
    kSwordTime = 9,
};

// The parts of the sword type a swing shows; null when the type is not in
// the table or has no parts (the swing then ends at once).
const std::vector<cEdSwordPart>* SwordParts(const cEdShot& def)
{
    const cEdSwordType* type = RecordAt(g_Database.SwordType, def.m_MoveKind);
    if (!type || type->m_Parts.empty()) return nullptr;
    return &type->m_Parts;
}

} // namespace

cShotObj::cShotObj() = default;
cShotObj::~cShotObj() = default;

int cShotObj::ScaleHitBox(int scale)
{
    m_HitOffX = scale * m_HitOffX0;
    m_HitOffY = scale * m_HitOffY0;
    m_HitWidth = scale * m_HitWidth0;
    m_HitHeight = scale * m_HitHeight0;
    return scale;
}

void cShotObj::AdjustPosOnScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_Y -= static_cast<double>(newScale - oldScale) * (m_Height0 / 2);
    UpdateEdgeY(2);
}

void cShotObj::UpdateHitBoxX()
{
    m_HitLeft = TruncToInt(m_X) + m_HitOffX;
    m_HitRight = m_HitLeft + m_HitWidth - 1;
}

void cShotObj::UpdateHitBoxY()
{
    m_HitTop = TruncToInt(m_Y) + m_HitOffY;
    m_HitBottom = m_HitTop + m_HitHeight - 1;
}

void cShotObj::SetupShot(cCharaObj& shooter, int kind, const cEdShot& def, ShotFireRequest& request)
{
    cRunningStage& stage = RunStage();
    m_Def = def;
    if (m_Def.m_Size == 0) m_Def.m_Size = 1;
    int facing = 0;
    if (request.m_VX > 0)
        facing = 1;
    else if (request.m_VX == 0)
        facing = shooter.m_Facing;

    int boxW = 0, boxH = 0, hitW = 0, hitH = 0, boxOffX = 0, boxOffY = 0, firstSeq = 1;
    if (kind == 12) {
        if (const std::vector<cEdSwordPart>* parts = SwordParts(m_Def)) {
            boxW = hitW = parts->front().m_Setting[kSwordWidth];
            boxH = hitH = parts->front().m_Setting[kSwordHeight];
        }
        m_IsShot = 0;
        firstSeq = 0;
        m_HitOffX0 = m_HitOffY0 = 0;
    } else {
        const bool player = shooter.m_Operator == 0;
        boxW = player ? g_Stage.nPlayerShotBoxW : g_Stage.nCharaShotBoxW;
        boxH = player ? g_Stage.nPlayerShotBoxH : g_Stage.nCharaShotBoxH;
        hitW = player ? g_Stage.nPlayerShotW : g_Stage.nCharaShotW;
        hitH = player ? g_Stage.nPlayerShotH : g_Stage.nCharaShotH;
        boxOffX = 8 - boxW / 2;
        boxOffY = 8 - boxH / 2;
        m_IsShot = 1;
        m_HitOffX0 = 8 - hitW / 2;
        m_HitOffY0 = 8 - hitH / 2;
    }
    m_HitWidth0 = hitW;
    m_HitHeight0 = hitH;
    ScaleHitBox(1);

    m_OwnerNo = shooter.m_ObjNo;
    SetupObj(stage.m_BlockSerial, shooter.m_Operator, shooter.m_InputNo, m_Def.m_GroupNumber,
             m_Def.m_Graphic, ShotSequences(), firstSeq, boxOffX, boxOffY, boxW, boxH, 16, 16,
             facing, 1, request.m_CopyNo);
    if (m_Def.m_UserGroup) {
        m_Def.m_GroupNumber = static_cast<std::uint8_t>(shooter.m_Group);
        m_Group = shooter.m_Group;
    }
    SetScale(m_Def.m_Size, 1);
    m_X = request.m_X;
    UpdateShotX();
    m_Y = request.m_Y;
    UpdateEdgeY(2);

    const double b = SubStepsF();
    m_OwnSpeedX = request.m_VX / b;
    m_OwnSpeedY = request.m_VY / b;
    if (m_Def.m_SecondSpeedOn) {
        m_Accel = (m_Def.m_SecondSpeed + m_Def.m_SecondSpeedStep * request.m_CopyNo) * 0.1 / b;
        m_Accelerate = 1;
        SplitSpeed(m_InertiaX, m_InertiaY, request.m_VX, request.m_VY);
    } else {
        m_Accel = 0;
        m_Accelerate = 0;
        m_InertiaX = m_InertiaY = 0;
    }
    m_SpeedX = m_SpeedY = 0;
    m_ScrollFollow = m_Def.m_Homing;
    if (m_Def.m_LifeTimeOn)
        m_TimeLeft = SaturateToInt32(std::int64_t{request.m_Time} * g_Stage.nSubSteps * 6);
    if (m_Def.m_MoveTimeOn) {
        const double distance = std::max(request.m_Range * 16.0 - m_Width, 0.0);
        const double g = std::fabs(request.m_Speed / b);
        if (distance > 0 && g > 0)
            m_RangeLeft = TruncToInt(distance / g);
        else if (TruncToInt(b * g) > m_Width)
            m_RangeLeft = TruncToInt(m_Width / g);
        else
            m_RangeLeft = TruncToInt(b);
        if (m_RangeLeft < b) {
            // Too fast for its range: the distance is covered within one frame.
            const double sum = std::fabs(request.m_VX) + std::fabs(request.m_VY);
            m_OwnSpeedX = sum > 0 ? distance / b * request.m_VX / sum : 0.0;
            m_OwnSpeedY = sum > 0 ? distance / b * request.m_VY / sum : 0.0;
            m_RangeLeft = TruncToInt(b);
        }
    }
    m_Tick = m_PartIndex = 0;
    m_ChangeTick = m_EndTick = 0;
    m_MoveDone = 0;
    m_TargetNo = shooter.m_TargetNo;
}

namespace {

// The edge update of x (y) against the world's far edge: the clamp, then
// the far edge, the hit box and the cells follow. 3 when it clamped. Inline:
// the hot part of every shot's sub-step.
inline int FitX(cShotObj& s, double extent)
{
    int result = 0;
    double right = s.m_X + s.m_Width - 1;
    if (s.m_X < 0) {
        s.m_X = 0;
        right = s.m_X + s.m_Width - 1;
        result = 3;
    } else if (extent <= right) {
        s.m_X = extent - s.m_Width;
        right = s.m_X + s.m_Width - 1;
        result = 3;
    }
    s.m_Right = right;
    // The hit box and the cells share the one truncation of x.
    const int x = TruncToInt(s.m_X);
    s.m_HitLeft = x + s.m_HitOffX;
    s.m_HitRight = s.m_HitLeft + s.m_HitWidth - 1;
    s.m_CellLeft = x >> 5;
    s.m_CellRight = TruncToInt(right) >> 5;
    return result;
}

inline void FitY(cShotObj& s, double extent)
{
    double bottom = s.m_Y + s.m_Height - 1;
    if (s.m_Y < 0) {
        s.m_Y = 0;
        bottom = s.m_Y + s.m_Height - 1;
    } else if (extent <= bottom) {
        s.m_Y = extent - s.m_Height;
        bottom = s.m_Y + s.m_Height - 1;
    }
    s.m_Bottom = bottom;
    const int y = TruncToInt(s.m_Y);
    s.m_HitTop = y + s.m_HitOffY;
    s.m_HitBottom = s.m_HitTop + s.m_HitHeight - 1;
    s.m_CellTop = y >> 5;
    s.m_CellBottom = TruncToInt(bottom) >> 5;
}

// The whole sub-step of a shot in a pass; 1 to remove it.
int AdvanceShot(cShotObj& s, const cShotPass& pass)
{
    if (s.StepShot(pass)) return 1;
    s.ApplyGravity();
    s.MoveShotY(pass);
    s.MoveShotX(pass);
    if (pass.m_AreaTest && s.m_IsShot && s.IsOutsideArea(pass.m_Areas[s.m_Operator == 0 ? 0 : 1]))
        return 1;
    return s.ShotHitsBlock();
}

} // namespace

cShotPass::cShotPass(bool areaTest)
{
    const cRunningStage& stage = RunStage();
    m_Carry = !g_System.bNoScrollCarry;
    m_CarryX = stage.m_ScrollX.FollowSpeed();
    m_CarryY = stage.m_ScrollY.FollowSpeed();
    m_MaxStep = FiniteOr(g_Stage.dMaxStep, 0.0);
    m_OuterX = stage.m_ScrollX.m_Outer;
    m_OuterY = stage.m_ScrollY.m_Outer;
    m_AreaTest = areaTest;
    if (areaTest) {
        m_Areas[0] = cAreaBounds(g_Stage.Areas[3]);
        m_Areas[1] = cAreaBounds(g_Stage.Areas[4]);
    }
}

int cShotObj::StepShot(const cShotPass& pass)
{
    if (!m_IsShot) return StepSword();
    if (pass.m_Carry && m_ScrollFollow) {
        m_SpeedX = pass.m_CarryX;
        if (m_Flying) m_SpeedY = pass.m_CarryY;
    } else {
        m_SpeedX = 0;
        if (m_Flying) m_SpeedY = 0;
    }
    // Kind 0, by far the most common, has nothing to do.
    if (const int kind = m_Def.m_MoveKind; kind != 0 && kind < kShotMoves)
        g_ShotMoveProc[kind](*this);
    if (m_Accelerate) {
        m_OwnSpeedX += m_InertiaX;
        if (m_Flying)
            m_OwnSpeedY += m_InertiaY;
        else
            m_SpeedY += m_InertiaY;
    }
    m_SpeedX += m_OwnSpeedX;
    if (m_Flying) m_SpeedY += m_OwnSpeedY;
    if (m_Def.m_LifeTimeOn) {
        if (m_TimeLeft <= 0) return 1;
        --m_TimeLeft;
    }
    if (m_SpeedX > 0)
        m_Facing = 1;
    else if (m_SpeedX != 0)
        m_Facing = 0;
    if (m_Def.m_MoveTimeOn) {
        if (m_RangeLeft > 0) {
            --m_RangeLeft;
        } else {
            if (!m_Def.m_StopAtEnd) return 1;
            // Stopped at its range: from now on it moves with the scroll only.
            const cRunningStage& stage = RunStage();
            m_OwnSpeedX = m_OwnSpeedY = 0;
            m_Def.m_MoveKind = 0;
            if (m_ScrollFollow) {
                if (!stage.m_ScrollX.m_AtLimit) m_SpeedX = stage.m_ScrollX.m_Speed;
                if (m_Flying && !stage.m_ScrollY.m_AtLimit) m_SpeedY = stage.m_ScrollY.m_Speed;
            } else {
                m_SpeedX = 0;
                m_SpeedY = 0;
            }
        }
    }
    return 0;
}

int cShotObj::MoveShotX(const cShotPass& pass)
{
    if (m_InertiaX != 0) m_SpeedX += m_InertiaX;
    if (m_SpeedX == 0) return 0;
    m_SpeedX = ClampedSpeed(m_SpeedX, pass.m_MaxStep);
    m_X += m_SpeedX;
    FitX(*this, pass.m_OuterX);
    return 0;
}

int cShotObj::MoveShotY(const cShotPass& pass)
{
    if (m_InertiaY != 0) m_SpeedY += m_InertiaY;
    if (m_SpeedY == 0) return 0;
    m_SpeedY = ClampedSpeed(m_SpeedY, pass.m_MaxStep);
    m_Y += m_SpeedY;
    FitY(*this, pass.m_OuterY);
    return 0;
}

void StepShotList(cRunningStage& stage, bool areaTest)
{
    // A shot's sub-step removes no other shot: a plain walk with the removal
    // handing on the next node suffices. The shot two ahead is loaded
    // meanwhile: a sub-step is short, and the shots lie scattered.
    const cShotPass pass(areaTest);
    const bool activityDue = stage.m_ShotActivityDue;
    stage.m_ShotActivityDue = false;
    std::list<cShotObj>& shots = stage.m_ShotList;
    for (auto it = shots.begin(); it != shots.end();) {
        if (const cShotObj* ahead = TwoAhead(std::as_const(shots), it)) PrefetchListElement(*ahead);
        if (activityDue) TakeDueShotActivity(stage, *it);
        it = AdvanceShot(*it, pass) ? stage.RemoveShot(it) : std::next(it);
    }
}

int cShotObj::UpdateShotX()
{
    return FitX(*this, RunStage().m_ScrollX.m_Outer);
}

void cShotObj::UpdateShotY()
{
    FitY(*this, RunStage().m_ScrollY.m_Outer);
}

int cShotObj::TouchesBlocks()
{
    if (m_Width <= 32) return BoxHitsBlocks();
    cRunningStage& stage = RunStage();
    const int x = TruncToInt(m_X);
    const int y = TruncToInt(m_Y);
    auto probe = [&](int dx, int dy) {
        return stage.HitMode(stage.CellAtPixel(x + dx, y + dy), m_Group) != 0;
    };
    auto row = [&](int dy) {
        for (int dx = 0; dx < m_Width; dx += 32)
            if (probe(dx, dy)) return true;
        return probe(m_Width - 1, dy);
    };
    for (int dy = 0; dy < m_Height; dy += 32)
        if (row(dy)) return 1;
    return row(m_Height - 1) ? 1 : 0;
}

int cShotObj::StepSword()
{
    cRunningStage& stage = RunStage();
    cCharaObj* owner = stage.FindObjectByNumber(m_OwnerNo);
    const std::vector<cEdSwordPart>* parts = SwordParts(m_Def);
    if (!owner || !parts || m_PartIndex < 0 || m_PartIndex >= static_cast<int>(parts->size()))
        return 1;
    owner->RefreshScreenBox();
    m_Facing = owner->m_Facing;
    const cEdSwordPart& part = (*parts)[static_cast<std::size_t>(m_PartIndex)];
    const int scale = m_Def.m_Size;
    if (m_Tick == 0) {
        m_Width = m_HitWidth = m_HitWidth0 = scale * part.m_Setting[kSwordWidth];
        m_Height = m_HitHeight = m_HitHeight0 = scale * part.m_Setting[kSwordHeight];
    }
    // The owner's picture in stage pixels.
    const int sx = TruncToInt(stage.m_ScrollX.m_Pos);
    const int sy = TruncToInt(stage.m_ScrollY.m_Pos);
    const int left = owner->m_ScrLeft + sx;
    const int right = owner->m_ScrRight + sx;
    const int top = owner->m_ScrTop + sy;
    const int bottom = owner->m_ScrBottom + sy;
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    const int centreY = top + (height >> 1) - (m_Height >> 1);
    const int centreX = left + (width >> 1) - (m_Width >> 1);
    const bool ownerRight = owner->m_Facing != 0;
    int x = 0;
    int y = 0;
    switch (part.m_Setting[kSwordPlace]) {
    case 1: // behind: the swing turns round
        m_Facing = ownerRight ? 0 : 1;
        x = ownerRight ? left - m_Width : right + 1;
        y = centreY;
        break;
    case 2: // above
        x = centreX;
        y = top - m_Height;
        break;
    case 3: // below
        x = centreX;
        y = bottom + 1;
        break;
    default: // in front
        x = ownerRight ? right + 1 : left - m_Width;
        y = centreY;
        break;
    }
    const int offX = scale * part.m_Setting[kSwordOffX];
    const int offY = scale * part.m_Setting[kSwordOffY];
    if (ownerRight) {
        x += part.m_Setting[kSwordMirrorX] ? -offX : offX;
        y += part.m_Setting[kSwordMirrorY] ? -offY : offY;
    } else {
        x += offX;
        y += offY;
    }
    m_X = x;
    UpdateShotX();
    m_Y = y;
    UpdateEdgeY(2);
    ++m_Tick;
    if (m_Tick <= SaturateToInt32(std::int64_t{part.m_Setting[kSwordTime]} * g_Stage.nSubSteps * 6))
        return 0;
    m_Tick = 0;
    ++m_PartIndex;
    return m_PartIndex >= static_cast<int>(parts->size()) ? 1 : 0;
}

void cShotObj::SplitSpeed(double& x, double& y, double dx, double dy) const
{
    const double a = m_Accel;
    if (dx != 0 && dy != 0) {
        const double length = std::sqrt(dx * dx + dy * dy);
        x = FrameToSubStep(a * dx / length);
        y = FrameToSubStep(a * dy / length);
    } else if (dx != 0) {
        x = FrameToSubStep(dx > 0 ? a : -a);
        y = 0;
    } else if (dy != 0) {
        x = 0;
        y = FrameToSubStep(dy > 0 ? a : -a);
    } else {
        x = y = 0;
    }
}
