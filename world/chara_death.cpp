// The death of a character and the timing of its death display.

#include "world/chara_obj.h"

#include <algorithm>

#include "data/ed_save_data.h"
#include "world/chara_effects.h"
#include "world/items_blocks.h"
#include "world/running_stage.h"

int cCharaObj::KillChara()
{
    cRunningStage& stage = RunStage();
    FireFlows(3);
    RunFlows(1);
    g_Progress.nStageScore = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{g_Progress.nStageScore} + m_Def.nScoreGain, 0, 999999));
    int cleared = 0;
    if (cItemObj* item = GetCarriedItem(); item && !stage.Player.empty())
        cleared = GiveItem(*item, stage.Player.front()) == 1;
    if (stage.m_ClearRequest == 1 || cleared) return 1;
    for (std::int32_t number : m_TargetedBy)
        if (cCharaObj* other = stage.FindCharaByNumber(number)) other->m_TargetNo = -1;
    m_TargetedBy.clear();
    if (cCharaObj* target = stage.FindCharaByNumber(m_TargetNo))
        std::erase(target->m_TargetedBy, m_ObjNo);
    m_TargetNo = -1;
    for (std::int32_t number : m_AimedShots)
        if (cShotObj* shot = stage.FindShotByNumber(number)) shot->m_TargetNo = -1;
    m_AimedShots.clear();
    m_Dying = 1;
    m_CharaEffect.Start(m_Def.nDeathEffect, m_Def.nDeathEffectParam, 0);
    return 0;
}

int cCharaObj::DrawDeath(DDSURFACEDATA* dest, int hold)
{
    const bool effectRuns = m_CharaEffect.m_Index != 0;
    if (!m_IsPlayer) {
        if (!effectRuns) return 1;
        if (DrawCharaEffect(*this, dest, 0, hold, 1)) {
            m_CharaEffect.m_Index = 0;
            return 1;
        }
        return 0;
    }
    if (effectRuns) {
        if (DrawCharaEffect(*this, dest, 0, hold, 1)) m_CharaEffect.m_Index = 0;
        return 0;
    }
    if (hold) return 0;
    // One more second (at the stage's rate) after the death effect.
    ++m_DeathCounter;
    return m_DeathCounter > RunStage().m_FrameRate ? 1 : 0;
}
