// Damage and hit protection of characters.
//
// A shot hit starts the general protection; a contact hit also remembers
// the attacker, so that the same attacker cannot hit again until its own
// entry runs out even after the general protection ended.

#include "world/chara_obj.h"

#include <algorithm>

#include "core/saturate.h"
#include "data/ed_stage.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"

namespace {

constexpr std::int64_t kMaxDamage = 999999;

// Sub-steps of a protection time given in frames.
std::int32_t ProtectSteps(std::int32_t frames)
{
    return SaturateToInt32(std::int64_t{g_Stage.nSubSteps} * frames);
}

// The HP change of an attack: a positive power is reduced by the defence
// and held to 0..999999; zero or a negative power (which heals) as it is.
int HpChange(std::int32_t power, std::int32_t defence)
{
    std::int64_t a = power;
    if (a > 0) a = std::clamp<std::int64_t>(a - defence, 0, kMaxDamage);
    return SaturateToInt32(-a);
}

DRect ShotHitRect(const cShotObj& shot)
{
    return DRect{shot.m_HitLeft, shot.m_HitTop, shot.m_HitRight, shot.m_HitBottom};
}

} // namespace

void cCharaObj::StartHitProtection()
{
    m_ProtectTime = ProtectSteps(m_Operator == 0 ? g_Stage.nPlayerGuard : g_Stage.nCharaGuard);
}

void cCharaObj::StartHitProtectionFrom(int attackerNo)
{
    StartHitProtection();
    m_ProtectList.push_back(
        {attackerNo, ProtectSteps(m_Operator == 0 ? g_Stage.nPlayerAttackerGuard
                                                  : g_Stage.nCharaAttackerGuard)});
}

void cCharaObj::UpdateHitProtection()
{
    if (m_ProtectTime > 0) --m_ProtectTime;
    for (auto it = m_ProtectList.begin(); it != m_ProtectList.end();)
        it = --it->m_Steps <= 0 ? m_ProtectList.erase(it) : std::next(it);
}

int cCharaObj::IsHitProtected() const
{
    return m_ProtectTime > 0 ? 1 : 0;
}

int cCharaObj::IsHitProtectedFrom(int attackerNo) const
{
    if (IsHitProtected()) return 1;
    for (const ProtectEntry& entry : m_ProtectList)
        if (entry.m_AttackerNo == attackerNo) return 1;
    return 0;
}

int cCharaObj::DamageFromChara(cCharaObj& attacker)
{
    const cEdChara& a = attacker.m_Def;
    const int killed = ChangeHp(HpChange(a.nBodyPower, m_Def.nDefence), 0, 1);
    if (a.nHitEffect != 0)
        RunStage().m_EffectList.emplace_back(a.nHitEffect, m_HitA.m_Rect, attacker.m_HitA.m_Rect,
                                             a.nSize);
    StartKnockbackFrom(attacker);
    if (a.nBodyPower != 0) FireFlows(1);
    if (a.nBodyImpact != 0) FireFlows(2);
    return killed;
}

int cCharaObj::DamageFromShot(cShotObj& shot)
{
    const cEdShot& s = shot.m_Def;
    const int killed = ChangeHp(HpChange(s.m_Power, m_Def.nDefence), 0, 1);
    if (s.m_Effect != 0)
        RunStage().m_EffectList.emplace_back(s.m_Effect, m_HitB.m_Rect, ShotHitRect(shot),
                                             s.m_Size);
    StartKnockbackFromShot(shot);
    if (s.m_Power != 0) FireFlows(1);
    if (s.m_Impact != 0) FireFlows(2);
    return killed;
}
