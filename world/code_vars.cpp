// The variables of the code language: names, reads, ranges and writes.

#include "world/code_vars.h"

#include <algorithm>

#include "core/checked_access.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "world/chara_obj.h"
#include "world/running_stage.h"
#include "world/status_ops.h"

namespace {

// Index order is the variable's index.
constexpr std::string_view kCharaVarNames[kCodeCharaVars] = {
    "v1",  "v2",  "v3", "v4",   "v5",    "v6",    "v7",  "v8",  "hp",   "sp",   "mhp",
    "msp", "cid", "z",  "mark", "sight", "power", "imp", "def", "impd", "stop", "getsc",
};
constexpr std::string_view kSysVarNames[kCodeSysVars] = {"time", "scrlx", "scrly", "score", "life"};

enum CharaVar {
    VAR_HP = 8,
    VAR_SP,
    VAR_MHP,
    VAR_MSP,
    VAR_CID,
    VAR_Z,
    VAR_MARK,
    VAR_SIGHT,
    VAR_POWER,
    VAR_IMP,
    VAR_DEF,
    VAR_IMPD,
    VAR_STOP,
    VAR_GETSC,
};

enum SysVar { SYS_TIME, SYS_SCRLX, SYS_SCRLY, SYS_SCORE, SYS_LIFE };

struct Range {
    std::int32_t lo;
    std::int32_t hi;
};

// The range of a character variable as the owner stands now: HP and SP
// end at the current maximum (a maximum below 0 counts as 0).
Range CharaVarRange(const cCharaObj& owner, int index)
{
    if (index < VAR_HP) return {-999999, 999999};
    switch (index) {
    case VAR_HP:
        return {0, std::max(owner.m_Def.nMaxHP, 0)};
    case VAR_SP:
        return {0, std::max(owner.m_Def.nMaxSP, 0)};
    case VAR_MHP:
    case VAR_MSP:
        return {1, 999999};
    case VAR_CID:
        return {0, 99};
    case VAR_Z:
        return {0, 7};
    case VAR_MARK:
        return {0, 119};
    case VAR_SIGHT:
        return {0, 40};
    case VAR_IMP:
        return {-20, 20};
    case VAR_DEF:
        return {0, 999999};
    case VAR_IMPD:
        return {0, 20};
    case VAR_STOP:
        return {0, 200};
    default:
        return {-999999, 999999};
    }
}

Range SysVarRange(int index)
{
    switch (index) {
    case SYS_TIME:
        return {0, 999};
    case SYS_SCRLX:
    case SYS_SCRLY:
        return {-480, 480};
    case SYS_LIFE:
        // Unlimited lives stay unlimited.
        if (g_Progress.nLives == kUnlimitedLives) return {kUnlimitedLives, kUnlimitedLives};
        return {0, 99};
    default:
        return {0, 999999};
    }
}

} // namespace

int CodeCharaVarIndex(std::string_view name)
{
    const auto* it = std::find(std::begin(kCharaVarNames), std::end(kCharaVarNames), name);
    return it == std::end(kCharaVarNames) ? -1 : static_cast<int>(it - std::begin(kCharaVarNames));
}

int CodeSysVarIndex(std::string_view name)
{
    const auto* it = std::find(std::begin(kSysVarNames), std::end(kSysVarNames), name);
    return it == std::end(kSysVarNames) ? -1 : static_cast<int>(it - std::begin(kSysVarNames));
}

std::int32_t ReadCodeCharaVar(const cCharaObj& owner, int index)
{
    const cEdChara& d = owner.m_Def;
    if (index >= 0 && index < VAR_HP) return VecAt(owner.m_Vars, index + 1);
    switch (index) {
    case VAR_HP:
        return owner.m_Hp;
    case VAR_SP:
        return owner.m_Sp;
    case VAR_MHP:
        return d.nMaxHP;
    case VAR_MSP:
        return d.nMaxSP;
    case VAR_CID:
        return d.nCharaId;
    case VAR_Z:
        return d.nZ;
    case VAR_MARK:
        return d.nEmblemNo;
    case VAR_SIGHT:
        return d.nSight;
    case VAR_POWER:
        return d.nBodyPower;
    case VAR_IMP:
        return d.nBodyImpact;
    case VAR_DEF:
        return d.nDefence;
    case VAR_IMPD:
        return d.nImpactResist;
    case VAR_STOP:
        return d.nStopRate;
    case VAR_GETSC:
        return d.nScoreGain;
    default:
        return 0;
    }
}

std::int32_t ReadCodeSysVar(int index)
{
    switch (index) {
    case SYS_TIME:
        return RunStage().m_TimeLeft;
    case SYS_SCRLX:
        return g_Stage.nAutoScrollX;
    case SYS_SCRLY:
        return g_Stage.nAutoScrollY;
    case SYS_SCORE:
        return g_Progress.nStageScore;
    case SYS_LIFE:
        return g_Progress.nLives == kUnlimitedLives ? 0 : g_Progress.nLives;
    default:
        return 0;
    }
}

std::int32_t WriteCodeCharaVar(cCharaObj& owner, int index, std::int32_t value,
                               const cCharaObj& runner)
{
    const Range range = CharaVarRange(owner, index);
    const std::int32_t v = std::clamp(value, range.lo, range.hi);
    cEdChara& d = owner.m_Def;
    if (index >= 0 && index < VAR_HP) {
        VecAt(owner.m_Vars, index + 1) = v;
        return v;
    }
    switch (index) {
    case VAR_HP:
        owner.m_Hp = v;
        if (&owner != &runner && v < 1) RunStage().m_LifeCheck = 1;
        break;
    case VAR_SP:
        owner.m_Sp = v;
        break;
    case VAR_MHP:
        d.nMaxHP = v;
        ClampInt(owner.m_Hp, 1, v);
        break;
    case VAR_MSP:
        d.nMaxSP = v;
        ClampInt(owner.m_Sp, 1, v);
        break;
    case VAR_CID:
        d.nCharaId = static_cast<std::uint8_t>(v);
        break;
    case VAR_Z:
        d.nZ = static_cast<std::uint8_t>(v);
        break;
    case VAR_MARK:
        d.nEmblemNo = static_cast<std::int16_t>(v);
        break;
    case VAR_SIGHT:
        d.nSight = static_cast<std::uint8_t>(v);
        RefreshSight(owner);
        break;
    case VAR_POWER:
        d.nBodyPower = v;
        break;
    case VAR_IMP:
        d.nBodyImpact = static_cast<std::int8_t>(v);
        break;
    case VAR_DEF:
        d.nDefence = v;
        break;
    case VAR_IMPD:
        d.nImpactResist = static_cast<std::uint8_t>(v);
        break;
    case VAR_STOP:
        d.nStopRate = static_cast<std::int16_t>(v);
        break;
    case VAR_GETSC:
        d.nScoreGain = v;
        break;
    default:
        break;
    }
    return v;
}

std::int32_t WriteCodeSysVar(int index, std::int32_t value)
{
    const Range range = SysVarRange(index);
    const std::int32_t v = std::clamp(value, range.lo, range.hi);
    cRunningStage& stage = RunStage();
    switch (index) {
    case SYS_TIME:
        stage.m_TimeLeft = v;
        break;
    case SYS_SCRLX:
        g_Stage.nAutoScrollX = v;
        stage.m_ScrollX.SetAutoScroll(g_Stage.bAutoScrollX, v);
        break;
    case SYS_SCRLY:
        g_Stage.nAutoScrollY = v;
        stage.m_ScrollY.SetAutoScroll(g_Stage.bAutoScrollY, v);
        break;
    case SYS_SCORE:
        g_Progress.nStageScore = v;
        break;
    case SYS_LIFE:
        g_Progress.nLives = v;
        break;
    default:
        break;
    }
    return v;
}
