// The status and variable conditions and operations.

#include "world/status_ops.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "core/checked_access.h"
#include "data/ed_command.h"
#include "data/ed_cond.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "media/bitmap_table.h"
#include "world/chara_obj.h"
#include "world/commands.h"
#include "world/compare_op.h"
#include "world/play_pictures.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

std::int32_t Clamp64(std::int64_t v, std::int32_t lo, std::int32_t hi)
{
    if (v < lo) return lo;
    if (v > hi) return hi;
    return static_cast<std::int32_t>(v);
}

// The arithmetic of the operation codes in 64 bits; the percentage is
// worked out by the caller in the field's width.
std::int64_t Operate(std::int64_t p, std::int64_t a, int op, std::int64_t percent)
{
    switch (op) {
    case 0:
        return a;
    case 1:
        return p + a;
    case 2:
        return p - a;
    case 3:
        return p * a;
    case 4:
        return a == 0 ? p : p / a;
    case 5:
        return a == 0 ? p : p % a;
    case 6:
        return percent;
    default:
        return p;
    }
}

// Statuses of a character, by status index: the width of the field and the
// range an operation clamps it to.
struct StatusInfo {
    int bits;
    std::int32_t lo;
    std::int32_t hi;
};
constexpr StatusInfo kStatus[] = {
    {32, -999999, 999999}, // 0 character variable
    {32, 0, 999999},       // 1 HP
    {32, 0, 999999},       // 2 SP
    {32, 0, 999999},       // 3 maximum HP
    {32, 0, 999999},       // 4 maximum SP
    {8, 0, 99},            // 5 character id
    {8, 0, 7},             // 6 drawing layer
    {16, 0, 119},          // 7 mark number
    {8, 0, 40},            // 8 sight (hbl)
    {32, -999999, 999999}, // 9 attack power
    {8, -20, 20},          // 10 impact
    {32, 0, 999999},       // 11 defence
    {8, 0, 20},            // 12 impact resistance
    {16, 0, 200},          // 13 stop value
    {32, -999999, 999999}, // 14 score when defeated
};
constexpr int kStatusCount = static_cast<int>(std::size(kStatus));
enum { ST_VAR, ST_HP, ST_SP, ST_MHP, ST_MSP, ST_SIGHT = 8, ST_STOP = 13 };

// The 32-bit field of a status, null for the narrower ones.
std::int32_t* Field32(cCharaObj& c, int status, int varIndex)
{
    switch (status) {
    case ST_VAR:
        return &VecAt(c.m_Vars, varIndex);
    case ST_HP:
        return &c.m_Hp;
    case ST_SP:
        return &c.m_Sp;
    case ST_MHP:
        return &c.m_Def.nMaxHP;
    case ST_MSP:
        return &c.m_Def.nMaxSP;
    case 9:
        return &c.m_Def.nBodyPower;
    case 11:
        return &c.m_Def.nDefence;
    case 14:
        return &c.m_Def.nScoreGain;
    default:
        return nullptr;
    }
}

std::int16_t* Field16(cCharaObj& c, int status)
{
    if (status == 7) return &c.m_Def.nEmblemNo;
    if (status == ST_STOP) return &c.m_Def.nStopRate;
    return nullptr;
}

// The byte of an 8-bit status (signed and unsigned fields alike).
void* Field8(cCharaObj& c, int status)
{
    switch (status) {
    case 5:
        return &c.m_Def.nCharaId;
    case 6:
        return &c.m_Def.nZ;
    case ST_SIGHT:
        return &c.m_Def.nSight;
    case 10:
        return &c.m_Def.nBodyImpact;
    case 12:
        return &c.m_Def.nImpactResist;
    default:
        return nullptr;
    }
}

std::int8_t Read8(cCharaObj& c, int status)
{
    const void* field = Field8(c, status);
    return field ? *static_cast<const std::int8_t*>(field) : 0;
}

void Write8(cCharaObj& c, int status, std::int8_t v)
{
    if (void* field = Field8(c, status)) *static_cast<std::int8_t*>(field) = v;
}

void RecomputeStop(cCharaObj& c)
{
    c.m_Decel = PercentPerStep(c.m_Def.nStopRate);
}

// A status of a character as a 32-bit value (the 8-bit ones as the field
// holds them). Reading the stop value brings the stop deceleration up to it.
std::int32_t ReadStatus(cCharaObj& c, int status, int varIndex)
{
    if (status == ST_STOP) RecomputeStop(c);
    if (std::int32_t* f = Field32(c, status, varIndex)) return *f;
    if (std::int16_t* f = Field16(c, status)) return *f;
    switch (status) {
    case 5:
        return c.m_Def.nCharaId;
    case 6:
        return c.m_Def.nZ;
    case ST_SIGHT:
        return c.m_Def.nSight;
    case 10:
        return c.m_Def.nBodyImpact;
    case 12:
        return c.m_Def.nImpactResist;
    default:
        return 0;
    }
}

// The system values: 0 time (0 without a time limit), 1 and 2 the auto
// scroll speeds, 3 the stage score, 4 the lives (0 while unlimited).
bool ReadSystem(int index, std::int32_t& out)
{
    const cRunningStage& stage = RunStage();
    switch (index) {
    case 0:
        out = stage.m_NoTimeLimit ? 0 : stage.m_TimeLeft;
        return true;
    case 1:
        out = g_Stage.nAutoScrollX;
        return true;
    case 2:
        out = g_Stage.nAutoScrollY;
        return true;
    case 3:
        out = g_Progress.nStageScore;
        return true;
    case 4:
        out = g_Progress.nLives == kUnlimitedLives ? 0 : g_Progress.nLives;
        return true;
    default:
        return false;
    }
}

// The character of an object code: 0 the runner, 1 its target; else none.
cCharaObj* ObjectChara(cCharaObj& self, int object)
{
    if (object == 0) return &self;
    if (object == 1) return RunStage().FindCharaByNumber(self.m_TargetNo);
    return nullptr;
}

// A common (scope 0) or stage (scope 1) variable; other scopes none.
std::int32_t* Variable(int scope, int index)
{
    if (scope == 0) return &VecAt(g_Progress.vCommonVar, index);
    if (scope == 1) return &VecAt(RunStage().m_StageVars, index);
    return nullptr;
}

// Where a value comes from: 0 a constant, 1 a random number between two
// bounds (either order), 2 a status or system value, 3 a variable.
struct Source {
    int kind;
    std::int32_t constant;
    std::int32_t bound1;
    std::int32_t bound2;
    int object;
    int status;
    int scope;
    int index;
};

// The value of a source; false when it gives none (no target, the sight of
// a computer character, a code outside its table).
bool ReadSource(const Source& s, cCharaObj& chara, std::int32_t& out)
{
    switch (s.kind) {
    case 0:
        out = s.constant;
        return true;
    case 1: {
        const std::int64_t lo = std::min(s.bound1, s.bound2);
        const std::int64_t hi = std::max(s.bound1, s.bound2);
        out = static_cast<std::int32_t>(lo + Random() % (hi - lo + 1));
        return true;
    }
    case 2: {
        if (s.object == 2) return ReadSystem(s.status, out);
        cCharaObj* c = ObjectChara(chara, s.object);
        if (!c || s.status < 0 || s.status >= kStatusCount) return false;
        if (s.status == ST_SIGHT && c->m_Operator != 0) return false;
        out = ReadStatus(*c, s.status, s.index);
        return true;
    }
    case 3:
        if (std::int32_t* v = Variable(s.scope, s.index)) {
            out = *v;
            return true;
        }
        return false;
    default:
        return false;
    }
}

int CompareBits(std::int32_t left, std::int32_t right, int op, int bits)
{
    if (bits == 8)
        return CompareByOp(static_cast<std::int8_t>(left), static_cast<std::int8_t>(right), op);
    if (bits == 16)
        return CompareByOp(static_cast<std::int16_t>(left), static_cast<std::int16_t>(right), op);
    return CompareByOp(left, right, op);
}

// PercentOf on a base of the field's width, the result cut to that width.
std::int32_t PercentOfBits(std::int32_t base, std::int32_t percent, int bits)
{
    if (bits == 8)
        return static_cast<std::int8_t>(PercentOf(static_cast<std::int8_t>(base), percent));
    if (bits == 16)
        return static_cast<std::int16_t>(PercentOf(static_cast<std::int16_t>(base), percent));
    return PercentOf(base, percent);
}

// The operation on a status other than HP, SP and their maximums.
void OperateOnStatus(cCharaObj& c, int status, int varIndex, std::int32_t b, int op, int percent)
{
    const StatusInfo& info = kStatus[status];
    if (std::int32_t* f = Field32(c, status, varIndex)) {
        if (percent) b = PercentOf(*f, b);
        ApplyOp(*f, b, op, info.lo, info.hi);
    } else if (std::int16_t* f16 = Field16(c, status)) {
        if (percent) b = PercentOfBits(*f16, b, 16);
        ApplyOp16(*f16, b, op, info.lo, info.hi);
    } else {
        std::int8_t v = Read8(c, status);
        if (percent) b = PercentOfBits(v, b, 8);
        ApplyOp8(v, b, op, info.lo, info.hi);
        Write8(c, status, v);
    }
    if (status == ST_SIGHT) RefreshSight(c);
    if (status == ST_STOP) RecomputeStop(c);
}

} // namespace

std::int32_t PercentOf(std::int32_t base, std::int32_t percent)
{
    const double v = static_cast<double>(std::int64_t{base} * percent) * 0.01;
    return TruncToInt(v < 0 ? v - 0.5 : v + 0.5);
}

std::int32_t ClampInt(std::int32_t& value, std::int32_t lo, std::int32_t hi)
{
    if (value < lo) value = lo;
    if (value > hi) value = hi;
    return value;
}

void ApplyOp(std::int32_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi)
{
    const std::int64_t percent = op == 6 ? PercentOf(value, operand) : 0;
    value = Clamp64(Operate(value, operand, op, percent), lo, hi);
}

void ApplyOp8(std::int8_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi)
{
    const std::int8_t a = static_cast<std::int8_t>(operand);
    const std::int64_t percent = op == 6 ? static_cast<std::int8_t>(PercentOf(value, a)) : 0;
    value = static_cast<std::int8_t>(Clamp64(Operate(value, a, op, percent), lo, hi));
}

void ApplyOp16(std::int16_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi)
{
    const std::int16_t a = static_cast<std::int16_t>(operand);
    const std::int64_t percent = op == 6 ? static_cast<std::int16_t>(PercentOf(value, a)) : 0;
    value = static_cast<std::int16_t>(Clamp64(Operate(value, a, op, percent), lo, hi));
}

void RefreshSight(cCharaObj& chara)
{
    if (chara.m_Operator != 0) return;
    chara.m_SightRange = HblToPixels(chara.m_Def.nSight);
    const cRunningStage& stage = RunStage();
    if (!stage.Player.empty() && &chara == &stage.Player.front() && chara.m_Def.nSightShape != 0)
        CreateSightSurfaces(&g_BitmapSD[65], &g_BitmapSD[66]);
}

int TestStatusCondition(const cEdCond& cond, cCharaObj& chara)
{
    const Source source{cond.m_RightKind,  cond.m_Value,     cond.m_RandMin,    cond.m_RandMax,
                        cond.m_RightOwner, cond.m_RightItem, cond.m_RightScope, cond.m_RightIndex};
    std::int32_t v = 0;
    if (!ReadSource(source, chara, v)) return 0;
    const int op = cond.m_Op;

    if (cond.m_LeftKind == 1) {
        const std::int32_t* var = Variable(cond.m_VarScope, cond.m_Index);
        if (!var) return 0;
        // A percentage of nothing: the variable is compared with 0.
        if (cond.m_Percent) v = 0;
        return CompareByOp(*var, v, op);
    }
    if (cond.m_Owner == 2) {
        std::int32_t left = 0;
        if (!ReadSystem(cond.m_Item, left)) return 0;
        if (cond.m_Item == 4 && g_Progress.nLives == kUnlimitedLives) return 0;
        if (cond.m_Percent && cond.m_Item != 4) v = 0;
        return CompareByOp(left, v, op);
    }
    cCharaObj* c = ObjectChara(chara, cond.m_Owner);
    if (!c || cond.m_Item >= kStatusCount) return 0;
    const int status = cond.m_Item;
    const StatusInfo& info = kStatus[status];
    const std::int32_t left = ReadStatus(*c, status, cond.m_Index);
    if (cond.m_Percent) {
        const std::int32_t base = status == ST_HP   ? c->m_Def.nMaxHP
                                  : status == ST_SP ? c->m_Def.nMaxSP
                                                    : 0;
        v = PercentOf(base, v);
        ClampInt(v, info.lo, info.hi);
    }
    return CompareBits(left, v, op, info.bits);
}

int ExecStatusOperation(cCharaObj& chara, const cEdCommand& command)
{
    const Source source{CommandParam(command, 6),  CommandParam(command, 7),  CommandParam(command, 8),
                        CommandParam(command, 9),  CommandParam(command, 12), CommandParam(command, 13),
                        CommandParam(command, 10), CommandParam(command, 11)};
    std::int32_t b = 0;
    if (!ReadSource(source, chara, b)) return 0;
    const int op = CommandParam(command, 5);
    const int percent = CommandParam(command, 14);
    cRunningStage& stage = RunStage();

    if (CommandParam(command, 0) == 1) {
        std::int32_t* var = Variable(CommandParam(command, 1), CommandParam(command, 2));
        if (!var) return 0;
        if (percent) b = PercentOf(*var, b);
        ApplyOp(*var, b, op, -999999, 999999);
        return 0;
    }
    const int object = CommandParam(command, 3);
    const int status = CommandParam(command, 4);
    if (object == 2) {
        std::int32_t* value = nullptr;
        std::int32_t lo = 0;
        std::int32_t hi = 999999;
        switch (status) {
        case 0:
            value = &stage.m_TimeLeft;
            hi = 999;
            break;
        case 1:
            value = &g_Stage.nAutoScrollX;
            lo = -480;
            hi = 480;
            break;
        case 2:
            value = &g_Stage.nAutoScrollY;
            lo = -480;
            hi = 480;
            break;
        case 3:
            value = &g_Progress.nStageScore;
            break;
        case 4:
            if (g_Progress.nLives == kUnlimitedLives) return 0;
            value = &g_Progress.nLives;
            hi = 99;
            break;
        default:
            return 0;
        }
        if (percent) b = PercentOf(*value, b);
        ApplyOp(*value, b, op, lo, hi);
        if (status == 1) stage.m_ScrollX.SetAutoScroll(g_Stage.bAutoScrollX, g_Stage.nAutoScrollX);
        if (status == 2) stage.m_ScrollY.SetAutoScroll(g_Stage.bAutoScrollY, g_Stage.nAutoScrollY);
        return 0;
    }

    cCharaObj* c = ObjectChara(chara, object);
    if (!c || status < 0 || status >= kStatusCount) return 0;
    if (CommandParam(command, 17) && c->m_Def.nInvincible != 0) return 0;
    const int gauge = CommandParam(command, 16);
    switch (status) {
    case ST_HP:
    case ST_SP: {
        const bool hp = status == ST_HP;
        const std::int32_t current = hp ? c->m_Hp : c->m_Sp;
        const std::int32_t maximum = hp ? c->m_Def.nMaxHP : c->m_Def.nMaxSP;
        switch (CommandParam(command, 15)) {
        case 0:
            break;
        case 1:
            b = PercentOf(maximum, b);
            break;
        case 2:
            b = PercentOf(current, b);
            break;
        default:
            return 0;
        }
        std::int32_t copy = current;
        ApplyOp(copy, b, op, 0, 999999);
        if (hp)
            c->ChangeHp(copy - current, 1, gauge);
        else
            c->ChangeSp(copy - current, gauge);
        break;
    }
    case ST_MHP:
    case ST_MSP: {
        std::int32_t& maximum = status == ST_MHP ? c->m_Def.nMaxHP : c->m_Def.nMaxSP;
        std::int32_t& value = status == ST_MHP ? c->m_Hp : c->m_Sp;
        if (percent) b = PercentOf(maximum, b);
        ApplyOp(maximum, b, op, 0, 999999);
        if (value > maximum) value = maximum;
        break;
    }
    case ST_SIGHT:
        if (c->m_Operator != 0) return 0;
        OperateOnStatus(*c, status, CommandParam(command, 2), b, op, percent);
        break;
    default:
        OperateOnStatus(*c, status, CommandParam(command, 2), b, op, percent);
        break;
    }
    if ((status == ST_HP || status == ST_MHP) && c != &chara && c->m_Hp <= 0) stage.m_LifeCheck = 1;
    return 0;
}
