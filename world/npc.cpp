// Computer characters: set-up, hit boxes, activity, moves, flows and jump.

#include "world/npc_obj.h"

#include "core/checked_access.h"
#include "data/ed_stage.h"
#include "world/body_boxes.h"
#include "world/flow_context.h"
#include "world/flows.h"
#include "world/running_stage.h"
#include "world/steering.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

BoxSize BodySize(bool flying)
{
    if (flying) return {g_Stage.nCharaFlyBoxW, g_Stage.nCharaFlyBoxH, g_Stage.bCharaFlyBoxBottom};
    return {g_Stage.nCharaBoxW, g_Stage.nCharaBoxH, g_Stage.bCharaBoxBottom};
}

// The activity range choices: 0 the screen, 1 x only, 2 y only, 3 always.
void SkipFlags(int range, std::int32_t& skipX, std::int32_t& skipY)
{
    skipX = range == 2 || range == 3 ? 1 : 0;
    skipY = range == 1 || range == 3 ? 1 : 0;
}

} // namespace

cNpcObj::cNpcObj() = default;
cNpcObj::~cNpcObj() = default;

cItemObj* cNpcObj::GetCarriedItem()
{
    return &m_CarriedItem;
}

void cNpcObj::SetupNpc(int number, cEdChara& def, const cItemObj* carried, double x, double y,
                       int copyNo)
{
    if (def.nSize == 0) def.nSize = 1;
    // The number first: the set-up enters it in the player's list of the
    // characters that target it.
    m_ObjNo = number;
    Setup(&def, x, y, copyNo);
    const bool noContact = m_Def.bSolid != 0;
    // Without contact the body fills the picture.
    const BoxSize body = noContact ? BoxSize{32, 32, 0} : BodySize(m_Def.nFlying != 0);
    SetupObj(number, m_Def.nOperator, m_Def.nInputNo, m_Def.nGroup, m_Def.nGraphicNo, nullptr, 0,
             BodyOffsetX(body), BodyOffsetY(body), body.width, body.height, 32, 32, m_Def.nFacing,
             m_Def.nFlying, copyNo);
    if (noContact) {
        m_HitA.Set(0, 0, 0, 0);
        m_HitB.Set(0, 0, 32, 32);
    } else {
        SetContactBox(*this, m_Def.nBoxKind,
                      {{g_Stage.nCharaShotHitW, g_Stage.nCharaShotHitH, 0},
                       {g_Stage.nCharaShotW, g_Stage.nCharaShotH, 0},
                       {g_Stage.nCharaHitW, g_Stage.nCharaHitH, g_Stage.bCharaHitBottom},
                       {g_Stage.nCharaFlyHitW, g_Stage.nCharaFlyHitH, g_Stage.bCharaFlyHitBottom}});
        CentreBox(m_HitB, g_Stage.nCharaShotHitW, g_Stage.nCharaShotHitH, m_PicOffX, m_PicOffY);
    }
    SetScale(m_Def.nSize, 1);
    m_Acting = 0;
    m_InRange = 0;
    m_HintCounter = 0;
    // Without an item the character gives nothing and shows no hint.
    m_CarriedItem = carried ? *carried : cItemObj();
    SkipFlags(m_Def.nCharaOption8, m_SkipX, m_SkipY);
    m_HasActed = 0;
    m_Anime.Set(m_Flying ? 0 : 1, 1);
    InstallFlows(m_Def.Flows, m_Facing, 0, -1);
}

void cNpcObj::PlaceAtCell(int column, int row)
{
    PlaceAtCellBase(column, row, m_Def.nSize);
    OnMovedX();
    OnMovedY();
}

int cNpcObj::ScaleHitBox(int scale)
{
    if (m_Def.bSolid) {
        // A character without contact is hit over its whole body.
        for (HitBox* box : {&m_HitA, &m_HitB}) {
            box->m_OffX = box->m_OffY = 0;
            box->m_Width = m_Width;
            box->m_Height = m_Height;
        }
        return scale;
    }
    m_HitA.Scale(scale);
    m_HitB.Scale(scale);
    return scale;
}

void cNpcObj::UpdateHitBoxX()
{
    const int xi = TruncToInt(m_X);
    m_HitA.PlaceX(xi);
    m_HitB.PlaceX(xi);
}

void cNpcObj::UpdateHitBoxY()
{
    const int yi = TruncToInt(m_Y);
    m_HitA.PlaceY(yi);
    m_HitB.PlaceY(yi);
}

int cNpcObj::OnMovedX()
{
    return FitInWorldX(RunStage().m_ScrollX, m_HitA, m_HitB);
}

int cNpcObj::OnMovedY()
{
    return FitInWorldY(RunStage().m_ScrollY, m_HitA, m_HitB);
}

int cNpcObj::MoveX()
{
    if (m_KnockX != 0) {
        m_SpeedX = m_KnockX;
    } else if (m_InertiaX != 0) {
        DecayInertia(m_InertiaX, m_DecelX);
        m_SpeedX += m_InertiaX;
    }
    const cScrollAxis& axis = RunStage().m_ScrollX;
    const int c = StepInWorldX(FiniteOr(g_Stage.dMaxStep, 0.0), axis, m_HitA, m_HitB);
    // A move ends with the edge update again (the generic one, which is the
    // character's own); it changes nothing unless the first left the
    // character beyond an edge (one wider than the world), which takes a
    // clamp.
    if (c == 3 && (m_X < 0 || m_Right >= axis.m_Outer)) UpdateEdgeX(2);
    return c == 3 ? 4 : c;
}

int cNpcObj::MoveY()
{
    ApplyKnockbackY();
    if (m_Flying && m_KnockY == 0 && m_InertiaY != 0) {
        DecayInertia(m_InertiaY, m_DecelY);
        m_SpeedY += m_InertiaY;
    }
    const cScrollAxis& axis = RunStage().m_ScrollY;
    const int c = StepInWorldY(FiniteOr(g_Stage.dMaxStep, 0.0), axis, m_HitA, m_HitB);
    if ((c == 3 || c == 6) && (m_Y < 0 || m_Bottom >= axis.m_Outer)) UpdateEdgeY(2);
    if (m_Flying) return c == 3 || c == 6 ? 8 : c;
    return c == 5 || c == 6 ? 7 : c;
}

int cNpcObj::RunFlows(int deathOnly)
{
    cRunningStage& stage = RunStage();
    cFlowContext context(stage);
    const cFlowWalk walk(*this);
    stage.m_CurChara = this;
    stage.m_LifeCheck = 0;
    // Base speeds: the view's auto-scroll carries a character that follows
    // it, unless the movement commands add the scroll themselves.
    const bool carried = m_ScrollFollow && !ScrollInCommands();
    m_SpeedX = carried ? stage.m_ScrollX.FollowSpeed() : 0.0;
    if (m_Flying) m_SpeedY = carried ? stage.m_ScrollY.FollowSpeed() : 0.0;
    m_NoGravity = 0;
    m_DecelX = m_DecelY = 1;
    m_Hidden = 0;
    m_MovedByCommand = 0;
    if (m_CrushGrace > 0) --m_CrushGrace;
    StartScheduledAnimes();
    // The context puts back the current character, flow and command on the
    // way out; nothing after the walk reads them.
    if (StepFlowRuns(*this, deathOnly)) return 1;
    FinishFlowRun(*this, walk.Outermost());
    if (!m_MovedByCommand && m_InertiaX == 0 && m_InertiaY == 0)
        m_Anime.Change(m_Flying ? 2 : 0, 1);
    return m_Hp <= 0 ? 1 : 0;
}

int cNpcObj::Jump(cCommandRun& run)
{
    // The first reason that keeps it on the ground.
    for (const std::int32_t reason : {m_Airborne, m_JumpLatch, m_Knockback, m_AirSteps})
        if (reason) return reason;
    if (run.m_Command) WorldDataSe(run.m_Command->m_Sound);
    m_SpeedY = run.m_Speed;
    m_Jumping = 1;
    m_JumpEnded = 1;
    m_Riding = 0;
    return 1;
}

int cNpcObj::TestInRange(std::vector<std::uint8_t>& switches)
{
    // A character that skips both axes is in range anywhere: no screen test.
    if (!(m_SkipX && m_SkipY) && !IsOnScreenAxes(m_SkipX, m_SkipY)) {
        m_InRange = 0;
        return 0;
    }
    m_InRange = 1;
    if (m_Def.bAreaSwitch) VecAt(switches, m_Def.nAreaSwitchNo) = 1;
    return 1;
}

int cNpcObj::TestActivation(const std::vector<std::uint8_t>& switches)
{
    bool acts = m_InRange || (m_Def.bAreaSwitch && VecAt(switches, m_Def.nAreaSwitchNo) != 0);
    // A walking character out of range finishes its jump or its fall.
    if (!acts && !m_Flying) acts = m_Jumping || (m_Airborne && m_HasActed);
    if (!acts) return 0;
    m_HasActed = 1;
    if (m_Def.nActivateMode == 1) m_SkipX = m_SkipY = 1;
    UpdateScreenBox();
    return 1;
}
