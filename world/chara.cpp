// The character object: construction and copies, set-up from a
// definition, the contact box, the AnimeSet, placement on block
// coordinates, and the base versions of the character's virtual operations.

#include "world/chara_obj.h"

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "world/player_obj.h"
#include "world/running_stage.h"

cCharaObj::cCharaObj()
{
    m_Vars.assign(kCharaVarCount, 0);
}

cCharaObj::cCharaObj(const cCharaObj& other) : cGameObj(other), CharaFields(other)
{
    m_GroupList = -1;
    RelinkFlows();
}

cCharaObj& cCharaObj::operator=(const cCharaObj& other)
{
    if (this == &other) return *this;
    // Whether this object is entered in a group list is its own affair.
    const std::int32_t slot = m_GroupSlot;
    const std::int32_t list = m_GroupList;
    cGameObj::Assign(other);
    CharaFields::operator=(other);
    m_GroupSlot = slot;
    m_GroupList = list;
    RelinkFlows();
    return *this;
}

cCharaObj::~cCharaObj() = default;

cItemObj* cCharaObj::GetCarriedItem()
{
    return nullptr;
}

int cCharaObj::OnMovedX()
{
    return 0;
}

int cCharaObj::OnMovedY()
{
    return 0;
}

int cCharaObj::MoveX()
{
    return 0;
}

int cCharaObj::MoveY()
{
    return 0;
}

int cCharaObj::RunFlows(int)
{
    return 0;
}

int cCharaObj::Jump(cCommandRun&)
{
    return 0;
}

void cCharaObj::Setup(const cEdChara* def, double x, double y, int copyNo)
{
    cRunningStage& stage = RunStage();
    m_CopyNo = static_cast<std::int16_t>(copyNo);
    m_TargetedBy.clear();
    m_AimedShots.clear();
    m_TargetNo = -1;
    if (!stage.Player.empty()) {
        cPlayerObj& p1 = stage.Player.front();
        m_TargetNo = p1.m_ObjNo;
        if (!HoldsChara(p1.m_TargetedBy, m_ObjNo)) p1.m_TargetedBy.push_back(m_ObjNo);
    }
    m_FlowSerial = 0;
    m_FlowExclRunning.assign(kFlowExclCount, 0);
    m_FlowExclEnded.assign(kFlowExclCount, 0);
    m_FlowExclStarted.assign(kFlowExclCount, 0);
    m_FlowEnded = 0;
    m_FlowDeleted = 0;
    m_StartX = x;
    m_StartY = y;
    m_KnockX = m_KnockY = 0;
    m_Knockback = 0;
    m_PrevKnockY = 0;
    m_NoGravity = 0;
    m_WallSide = -1;
    m_Airborne = 1;
    m_JumpEnded = 0;
    m_Jumping = 0;
    m_Reserved = 0;
    m_JumpLatch = 0;
    m_AirSteps = 0;
    m_UnderFeet = m_LastBlock = m_PrevLastBlock = nullptr;
    m_CrushGrace = 0;
    m_Dying = 0;
    m_DeathCounter = 0;
    m_ContactL = m_ContactR = m_ContactU = m_ContactD = 0;
    m_Rider = 0;
    m_Riding = 0;
    m_CarrierNo = 0;
    m_Hp = m_Sp = 0;
    m_HpGauge = Gauge();
    m_SpGauge = Gauge();
    m_Vars.assign(kCharaVarCount, 0);
    if (def) {
        if (def != &m_Def) m_Def = *def;
        m_Hp = m_Def.nMaxHP;
        m_Sp = m_Def.nMaxSP;
    }
    m_GraphicKind = m_Def.nGraphicKind;
    m_ScrollFollow = m_Def.bScrollSync;
    m_Vanish = 0;
    m_Hidden = 0;
    m_SightRange = HblToPixels(m_Def.nSight);
    m_Decel = PercentPerStep(m_Def.nStopRate);
    m_CharaEffect = cCharaEffectPlayer();
    if (m_Def.nCharaEffect != 0)
        m_CharaEffect.Start(m_Def.nCharaEffect, m_Def.nCharaEffectParam1, m_Def.nCharaEffectParam2);
    m_ProtectTime = 0;
    m_ProtectList.clear();
    SetAnimeSet(m_Def.nAnimeSet, 1);
    m_Overlays.clear();
}

void cCharaObj::SetHitBoxA(int bottomAligned, int width, int height)
{
    const int offX = 16 - m_PicOffX - (width >> 1);
    const int offY = bottomAligned ? 32 - m_PicOffY - height : 16 - m_PicOffY - (height >> 1);
    m_HitA.Set(offX, offY, width, height);
}

void cCharaObj::SetAnimeSet(int number, int force)
{
    if (!force && number == m_Def.nAnimeSet) return;
    m_Def.nAnimeSet = static_cast<std::int16_t>(number);
    std::vector<FrameSeq> seqs;
    // A number outside the table (bit 15 set, or beyond it) is a checked-access failure.
    const cEdAnimeSet& set = VecAt(g_Database.AnimeSet, number);
    seqs.reserve(set.m_Animes.size());
    for (const cEdAnime& anime : set.m_Animes) {
        FrameSeq seq;
        seq.reserve(anime.m_Frames.size() + 1);
        for (const cEdAnimeFrame& frame : anime.m_Frames)
            seq.push_back({frame.m_PictureNo, SaturateToInt32(std::int64_t{frame.m_Time} * 6), 1});
        seq.push_back({-2, 0, 1});
        seqs.push_back(std::move(seq));
    }
    m_Anime.Build(std::move(seqs));
    // The current sequence stays; its step and counter start again.
    m_Anime.Set(m_Anime.CurrentSequence(), 1);
}

void cCharaObj::AdjustPosOnScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    const int d = newScale - oldScale;
    if (g_System.bScaleByBox)
        m_Y -= static_cast<double>(d) * m_Height0;
    else
        m_Y = m_Y - static_cast<double>(d) * m_PicHeight0 + static_cast<double>(d) * m_PicOffY0;
    OnMovedY();
}

void cCharaObj::SetBlockPos(int column, int row)
{
    SetBlockX(column);
    SetBlockY(row);
}

void cCharaObj::SetBlockX(int column)
{
    const cRunningStage& stage = RunStage();
    m_X = (column + stage.m_ScrollX.m_AreaFirst) * 32.0 + m_PicOffX0 + 0.5;
    const int size = m_Def.nSize;
    if (size != 1) m_X -= static_cast<double>(size - 1) * (m_Width0 >> 1);
    OnMovedX();
}

void cCharaObj::SetBlockY(int row)
{
    const cRunningStage& stage = RunStage();
    m_Y = (row + stage.m_ScrollY.m_AreaFirst) * 32.0 + m_PicOffY0;
    AdjustPosOnScale(m_Def.nSize, 1);
    OnMovedY();
}

void cCharaObj::RefreshScreenBox()
{
    if (m_IsPlayer)
        static_cast<cPlayerObj*>(this)->UpdatePlayerScreenBox();
    else
        UpdateScreenBox();
}

int HoldsChara(const std::vector<std::int32_t>& numbers, int number)
{
    for (std::int32_t n : numbers)
        if (n == number) return 1;
    return 0;
}
