// The player character: set-up, its flying mode at run time, its boxes and
// their test-play display, the view that follows it, its moves and screen
// box, the items it touches.

#include "world/player_obj.h"

#include <algorithm>

#include "core/checked_access.h"
#include "data/ed_stage.h"
#include "world/body_boxes.h"
#include "world/input_state.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

// The first palette number of the four shades of each box colour choice.
constexpr std::int32_t kBoxColours[8] = {208, 212, 216, 220, 224, 228, 232, 236};

std::int32_t BoxColour(int choice)
{
    return kBoxColours[std::clamp(choice, 0, 7)];
}

// The body of a walking or flying player, from the stage's settings.
BoxSize BodySize(bool flying)
{
    if (flying)
        return {g_Stage.nPlayerFlyBoxW, g_Stage.nPlayerFlyBoxH, g_Stage.bPlayerFlyBoxBottom};
    return {g_Stage.nPlayerBoxW, g_Stage.nPlayerBoxH, g_Stage.bPlayerBoxBottom};
}

// The view follows a position along one axis, never past its limits (the
// minimum wins when the stage is smaller than the view).
void Follow(cScrollAxis& axis, double pos)
{
    axis.m_Pos = pos;
    if (axis.m_Pos < axis.m_Min) {
        axis.m_Pos = axis.m_Min;
    } else if (axis.m_Pos + axis.m_ViewSize >= axis.m_Max) {
        axis.m_Pos = std::max<double>(axis.m_Max - axis.m_ViewSize, axis.m_Min);
    }
}

} // namespace

cPlayerObj::cPlayerObj()
{
    m_IsPlayer = 1;
}

cPlayerObj::~cPlayerObj() = default;

void cPlayerObj::SetupPlayer(int number, cEdChara& def, double x, double y)
{
    if (def.nSize == 0) def.nSize = 1;
    Setup(&def, x, y, 0);
    const BoxSize body = BodySize(def.nFlying != 0 && def.nFlying <= 3);
    SetupObj(number, def.nOperator, def.nInputNo, def.nGroup, def.nGraphicNo, nullptr, 0,
             BodyOffsetX(body), BodyOffsetY(body), body.width, body.height, 32, 32, 1, 0, 0);
    m_Input = &VecAt(g_InputState, def.nInputNo);
    SetPlayerFlyMode(def.nFlying, 0);
    SetScale(def.nSize, 1);
    m_SpeedFactor = 0;
    m_Facing = m_PrevFacing = def.nFacing;
    m_JumpLatch = 0;
    m_JumpForbid = 0;
    m_JumpHold = 0;
    m_JumpReady = 1;
    m_DirLock = m_ButtonLock = 0;
    m_BlockEffect = 0;
    m_BlockEffectOn = 0;
    m_ItemBlockDelay = 0;
    m_AccelUnit = 4.0 / (g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0);
    m_Jumped = 0;
    BuildBoxDisplay();
    m_TouchedItems.clear();
    m_PendingFlowChanges.clear();
    InstallFlows(m_Def.Flows, m_Facing, 0, -1);
}

void cPlayerObj::SetPlayerFlyMode(int mode, int rescale)
{
    const std::int32_t wasFlying = m_Flying;
    m_Def.nFlying = static_cast<std::uint8_t>(mode);
    SetFlyMode(mode);
    if (m_Flying != wasFlying) m_CrushGrace = 2;
    if (wasFlying && !m_Flying) {
        m_SpeedX = m_SpeedY = 0;
        m_InertiaX = m_InertiaY = 0;
    }
    const BoxSize body = BodySize(m_Flying != 0);
    m_Width = m_Width0 = body.width;
    m_Height = m_Height0 = body.height;
    m_PicWidth = m_PicWidth0 = 32;
    m_PicHeight = m_PicHeight0 = 32;
    m_PicOffX = m_PicOffX0 = BodyOffsetX(body);
    m_PicOffY = m_PicOffY0 = BodyOffsetY(body);
    SetContactBox(*this, m_Def.nBoxKind,
                  {{g_Stage.nPlayerShotHitW, g_Stage.nPlayerShotHitH, 0},
                   {g_Stage.nPlayerShotW, g_Stage.nPlayerShotH, 0},
                   {g_Stage.nPlayerHitW, g_Stage.nPlayerHitH, g_Stage.bPlayerHitBottom},
                   {g_Stage.nPlayerFlyHitW, g_Stage.nPlayerFlyHitH, g_Stage.bPlayerFlyHitBottom}});
    CentreBox(m_HitB, g_Stage.nPlayerShotHitW, g_Stage.nPlayerShotHitH, m_PicOffX, m_PicOffY);
    CentreBox(m_ItemBox, g_Stage.nPlayerPickW, g_Stage.nPlayerPickH, m_PicOffX, m_PicOffY);
    if (rescale) {
        const int s = m_Def.nSize;
        m_Width = s * m_Width0;
        m_Height = s * m_Height0;
        m_PicOffX = s * m_PicOffX0;
        m_PicOffY = s * m_PicOffY0;
        m_PicWidth = s * m_PicWidth0;
        m_PicHeight = s * m_PicHeight0;
        m_HitA.Scale(s);
        m_HitB.Scale(s);
        m_ItemBox.Scale(s);
    }
    BuildBoxDisplay();
}

void cPlayerObj::BuildBoxDisplay()
{
    m_BoxDisplay.clear();
    auto add = [this](int kind, int width, int height, int mode, int colour) {
        BoxDisplay entry;
        entry.m_Kind = kind;
        entry.m_Mode = mode;
        entry.m_Colour = BoxColour(colour);
        entry.m_Width = width;
        entry.m_Height = height;
        m_BoxDisplay.push_back(entry);
    };
    add(0, m_Width, m_Height, g_Stage.nShowBox, g_Stage.nColorBox);
    add(2, m_ItemBox.m_Width, m_ItemBox.m_Height, g_Stage.nShowPick, g_Stage.nColorPick);
    add(1, m_HitA.m_Width, m_HitA.m_Height, g_Stage.nShowHit, g_Stage.nColorHit);
    add(3, m_HitB.m_Width, m_HitB.m_Height, g_Stage.nShowShotHit, g_Stage.nColorShotHit);
    // The smallest box is drawn last, on top; equal areas keep their order.
    std::stable_sort(
        m_BoxDisplay.begin(), m_BoxDisplay.end(), [](const BoxDisplay& a, const BoxDisplay& b) {
            return std::int64_t{a.m_Width} * a.m_Height > std::int64_t{b.m_Width} * b.m_Height;
        });
}

int cPlayerObj::ScaleHitBox(int scale)
{
    m_HitA.Scale(scale);
    m_HitB.Scale(scale);
    m_ItemBox.Scale(scale);
    return scale;
}

void cPlayerObj::UpdateHitBoxX()
{
    const int xi = TruncToInt(m_X);
    m_HitA.PlaceX(xi);
    m_HitB.PlaceX(xi);
    m_ItemBox.PlaceX(xi);
}

void cPlayerObj::UpdateHitBoxY()
{
    const int yi = TruncToInt(m_Y);
    m_HitA.PlaceY(yi);
    m_HitB.PlaceY(yi);
    m_ItemBox.PlaceY(yi);
}

int cPlayerObj::OnMovedX()
{
    cScrollAxis& axis = RunStage().m_ScrollX;
    if (!axis.m_Auto) Follow(axis, m_X - (320 - (m_Width >> 1)));
    UpdateEdgeX(m_Flying ? 0 : 1);
    return 0;
}

int cPlayerObj::OnMovedY()
{
    cScrollAxis& axis = RunStage().m_ScrollY;
    if (!axis.m_Auto) Follow(axis, m_Y - (240 - (m_Height >> 1)));
    return UpdateEdgeY(m_Flying ? 0 : 1);
}

int cPlayerObj::MoveX()
{
    if (m_KnockX != 0) {
        m_SpeedX = m_KnockX;
    } else if (m_InertiaX != 0) {
        DecayInertia(m_InertiaX, m_DecelX);
        if (m_BlockEffectOn && m_BlockEffect == 3) {
            // A speed-change block makes the inertia grow in its own direction.
            const double amount = FrameToSubStep(m_AccelUnit) * (m_SpeedFactor - 1);
            if (m_InertiaX > 0) {
                m_InertiaX += amount;
                if (m_InertiaX < 0) m_InertiaX = 0;
            } else {
                m_InertiaX -= amount;
                if (m_InertiaX > 0) m_InertiaX = 0;
            }
        }
        m_SpeedX += m_InertiaX;
    }
    StepX(-1);
    OnMovedX();
    return 0;
}

int cPlayerObj::MoveY()
{
    ApplyKnockbackY();
    if (m_Flying && m_KnockY == 0 && m_InertiaY != 0) {
        DecayInertia(m_InertiaY, m_DecelY);
        m_SpeedY += m_InertiaY;
    }
    const int c = StepY(m_Flying ? 0 : 2);
    OnMovedY();
    if (!m_Flying && (c == 5 || c == 6)) return 7;
    return c;
}

int cPlayerObj::IsNewItemContact(int itemNo) const
{
    for (std::int32_t n : m_TouchedItems)
        if (n == itemNo) return 0;
    return 1;
}

void cPlayerObj::ForgetItemContact(int itemNo)
{
    std::erase(m_TouchedItems, itemNo);
}

void cPlayerObj::AddGraphicPopup(int graphicKind, int graphicNo, int frame)
{
    RunStage().m_MessageList.emplace_back(
        2, std::string(), graphicKind, static_cast<std::int16_t>(graphicNo),
        static_cast<std::int16_t>(frame), 4, 0, 0, 0, 0, 0, 2, 30, 0, m_ObjNo, 0, 0);
}

void cPlayerObj::UpdatePlayerScreenBox()
{
    const cRunningStage& stage = RunStage();
    const cScrollAxis& ax = stage.m_ScrollX;
    const cScrollAxis& ay = stage.m_ScrollY;
    if (ax.m_Auto)
        m_ScrLeft = TruncToInt(m_X) - TruncToInt(ax.m_Pos) - m_PicOffX;
    else
        m_ScrLeft = TruncToInt(m_X - ax.m_Pos - m_PicOffX);
    if (ay.m_Auto)
        m_ScrTop = TruncToInt(m_Y) - TruncToInt(ay.m_Pos) - m_PicOffY;
    else
        m_ScrTop = TruncToInt(m_Y - ay.m_Pos - m_PicOffY);
    m_ScrRight = m_ScrLeft + m_PicWidth - 1;
    m_ScrBottom = m_ScrTop + m_PicHeight - 1;
}
