// The object base: set-up, movement mode, scaling, edge updates, one
// sub-step of motion, the screen box and the visibility, area and block tests.

#include "world/game_obj.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/ed_stage.h"
#include "data/ed_stage_parts.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

// The sub-steps per frame as a double, at least 1.
double SubStepsF()
{
    return g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
}

// A speed clamped to the stage's limit per sub-step; a NaN speed stops.
double ClampSpeed(double v)
{
    return cGameObj::ClampedSpeed(v, FiniteOr(g_Stage.dMaxStep, 0.0));
}

} // namespace

cGameObj::cGameObj() = default;
cGameObj::~cGameObj() = default;

void cGameObj::Assign(const cGameObj& other)
{
    cGameObj::operator=(other);
}

void cGameObj::SetScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_Width = newScale * m_Width0;
    m_Height = newScale * m_Height0;
    m_PicOffX = newScale * m_PicOffX0;
    m_PicOffY = newScale * m_PicOffY0;
    m_PicWidth = newScale * m_PicWidth0;
    m_PicHeight = newScale * m_PicHeight0;
    RescalePos(newScale, oldScale);
    ScaleHitBox(newScale);
}

int cGameObj::ScaleHitBox(int scale)
{
    return scale;
}

void cGameObj::AdjustPosOnScale(int, int)
{
}
void cGameObj::UpdateHitBoxX()
{
}
void cGameObj::UpdateHitBoxY()
{
}
void cGameObj::SetCenter(int, int)
{
}
void cGameObj::SetCenterStop(int, int, cCommandRun&)
{
}
void cGameObj::SetCenterX(int)
{
}
void cGameObj::SetCenterXStop(int, cCommandRun&)
{
}
void cGameObj::SetCenterY(int)
{
}
void cGameObj::SetCenterYStop(int, cCommandRun&)
{
}

void cGameObj::SetupObj(int number, int op, int inputNo, int group, int graphicNo,
                        const FrameSeqTable& seqSource, int firstSeq, int picOffX,
                        int picOffY, int width, int height, int picWidth, int picHeight, int facing,
                        int flyMode, int copyNo)
{
    m_ObjNo = number;
    m_Operator = op;
    m_InputNo = inputNo;
    m_Group = group;
    m_GraphicNo = graphicNo;
    m_Life = kNoLife;
    if (seqSource) {
        m_Anime.Build(seqSource);
        m_Anime.Set(firstSeq, 1);
    }
    m_PicOffX = m_PicOffX0 = picOffX;
    m_PicOffY = m_PicOffY0 = picOffY;
    m_PicWidth = m_PicWidth0 = picWidth;
    m_PicHeight = m_PicHeight0 = picHeight;
    m_Width = m_Width0 = width;
    m_Height = m_Height0 = height;
    m_Facing = facing;
    m_CopyNo = static_cast<std::int16_t>(copyNo);
    m_SpeedX = m_SpeedY = 0;
    m_InertiaX = m_InertiaY = 0;
    m_Present = 0;
    m_OnScreen = 0;
    SetFlyMode(flyMode);
}

void cGameObj::SetFlyMode(int mode)
{
    static constexpr struct {
        std::int32_t flying;
        std::uint8_t blockMode;
    } kModes[4] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}};
    if (mode < 0 || mode > 3) return;
    m_Flying = kModes[mode].flying;
    m_BlockMode = kModes[mode].blockMode;
}

void cGameObj::RescalePos(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    KeepCentreX(newScale, oldScale);
    AdjustPosOnScale(newScale, oldScale);
}

void cGameObj::KeepCentreX(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_X -= static_cast<double>(newScale - oldScale) * (m_Width0 >> 1);
    UpdateEdgeX(2);
}

int cGameObj::UpdateEdgeX(int mode)
{
    const cScrollAxis& a = RunStage().m_ScrollX;
    const double right = m_X + m_Width - 1;
    int code = 0;
    switch (mode) {
    case 0:
        if (m_X < a.m_Min) {
            m_X = a.m_Min;
        } else if (right >= a.m_Max) {
            m_X = a.m_Max - m_Width;
        }
        break;
    case 1:
        if (m_X < a.m_Base) {
            m_X = a.m_Base;
        } else if (right >= a.m_Full) {
            m_X = a.m_Full - m_Width;
        } else if (m_X < a.m_Min || right >= a.m_Max) {
            code = 1;
        }
        break;
    case 2:
        code = ClampInWorld(m_X, right, m_Width, a, 3, 2, 1);
        break;
    default:
        break;
    }
    m_Right = m_X + m_Width - 1;
    UpdateHitBoxX();
    m_CellLeft = TruncToInt(m_X) >> 5;
    m_CellRight = TruncToInt(m_Right) >> 5;
    return code;
}

int cGameObj::UpdateEdgeY(int mode)
{
    const cScrollAxis& a = RunStage().m_ScrollY;
    const double bottom = m_Y + m_Height - 1;
    int code = 0;
    switch (mode) {
    case 0:
        if (m_Y < a.m_Min) {
            m_Y = a.m_Min;
        } else if (bottom >= a.m_Max) {
            m_Y = a.m_Max - m_Height;
        }
        break;
    case 1:
        if (m_Y < a.m_Base) {
            m_Y = a.m_Base;
        } else if (bottom >= a.m_Full) {
            m_Y = a.m_Full - m_Height;
        } else if (m_Y < a.m_Min) {
            code = 1;
        } else if (bottom >= a.m_Max) {
            code = 4;
        }
        break;
    case 2:
        code = ClampInWorld(m_Y, bottom, m_Height, a, 6, 5, 4);
        break;
    default:
        break;
    }
    m_Bottom = m_Y + m_Height - 1;
    UpdateHitBoxY();
    m_CellTop = TruncToInt(m_Y) >> 5;
    m_CellBottom = TruncToInt(m_Bottom) >> 5;
    return code;
}

int cGameObj::StepX(int mode)
{
    m_SpeedX = ClampSpeed(m_SpeedX);
    m_X += m_SpeedX;
    return UpdateEdgeX(mode);
}

int cGameObj::StepY(int mode)
{
    m_SpeedY = ClampSpeed(m_SpeedY);
    m_Y += m_SpeedY;
    return UpdateEdgeY(mode);
}

void cGameObj::DecayInertia(double& inertia, int enabled) const
{
    if (!enabled || inertia == 0) return;
    if (inertia > 0) {
        inertia -= m_Decel;
        if (inertia < 0) inertia = 0;
    } else {
        inertia += m_Decel;
        if (inertia > 0) inertia = 0;
    }
}

double cGameObj::FrameToSubStep(double v)
{
    return v / SubStepsF() / 60.0;
}

void cGameObj::UpdateScreenBox()
{
    const cRunningStage& stage = RunStage();
    m_ScrLeft = TruncToInt(m_X - m_PicOffX - TruncToInt(stage.m_ScrollX.m_Pos));
    m_ScrRight = m_ScrLeft + m_PicWidth - 1;
    m_ScrTop = TruncToInt(m_Y - m_PicOffY - TruncToInt(stage.m_ScrollY.m_Pos));
    m_ScrBottom = m_ScrTop + m_PicHeight - 1;
}

int cGameObj::IsOnScreen() const
{
    return IsOnScreenAxes(0, 0);
}

int cGameObj::IsOnScreenAxes(int skipX, int skipY) const
{
    const cRunningStage& stage = RunStage();
    const cScreenView view(stage.m_ScrollX.m_Pos, stage.m_ScrollY.m_Pos);
    if (!skipX && !view.MeetsX(*this)) return 0;
    if (!skipY && !view.MeetsY(*this)) return 0;
    return 1;
}

int cGameObj::IsInsideStage(int wholeWorld) const
{
    const cRunningStage& stage = RunStage();
    const cScrollAxis& ax = stage.m_ScrollX;
    const cScrollAxis& ay = stage.m_ScrollY;
    if (wholeWorld) return m_X >= 0 && m_Right < ax.m_Outer && m_Y >= 0 && m_Bottom < ay.m_Outer;
    return m_X >= ax.m_Base && m_Right < ax.m_Full && m_Y >= ay.m_Base && m_Bottom < ay.m_Full;
}

cAreaBounds::cAreaBounds(const cEdArea& area)
{
    const cRunningStage& stage = RunStage();
    const double sx = stage.m_ScrollX.m_Pos;
    const double sy = stage.m_ScrollY.m_Pos;
    // The distances come from a file: the sums are formed in doubles.
    const double off = std::numeric_limits<double>::quiet_NaN();
    m_Before[0] = area.bLeft ? TruncToInt(sx - 32.0 * area.nLeft) : off;
    m_Beyond[0] = area.bRight ? TruncToInt(sx + 32.0 * area.nRight + 640) : off;
    m_Beyond[1] = area.bBottom ? TruncToInt(sy + 32.0 * area.nBottom + 480) : off;
    m_Before[1] = area.bTop ? TruncToInt(sy - 32.0 * area.nTop) : off;
    m_Outer[0] = stage.m_ScrollX.m_Outer - 1;
    m_Outer[1] = stage.m_ScrollY.m_Outer - 1;
}

int cGameObj::BoxHitsBlocks() const
{
    cRunningStage& stage = RunStage();
    auto blocks = [&](int column, int row) {
        return stage.HitMode(stage.CellAt(column, row), m_Group) != 0;
    };
    return blocks(m_CellLeft, m_CellTop) || blocks(m_CellLeft, m_CellBottom) ||
                   blocks(m_CellRight, m_CellTop) || blocks(m_CellRight, m_CellBottom)
               ? 1
               : 0;
}

int cGameObj::OverlapsRect(double left, double top, double right, double bottom) const
{
    return m_X <= right && m_Right >= left && m_Y <= bottom && m_Bottom >= top ? 1 : 0;
}

void cGameObj::PlaceAtCellBase(int column, int row, int scale)
{
    const cRunningStage& stage = RunStage();
    m_X = (column + stage.m_ScrollX.m_Margin) * 32.0 + m_PicOffX0 + 0.5;
    m_Y = (row + stage.m_ScrollY.m_Margin) * 32.0 + m_PicOffY0;
    RescalePos(scale, 1);
}
