// Authors' texts and status records as they come from stage files: the
// first byte picks the kind (0 a text of the code language, 1 a status
// condition, 2 a status operation), the rest is the text or the record's
// fields. Nothing may crash, hang or ask to close the game on a text; every
// value the language and the operations write stays within its range; the
// same input from the same state gives the same state again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_cond.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "world/code_lang.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/status_ops.h"
#include "world/world_services.h"

namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

// Requests go nowhere; a close request is counted.
class QuietServices : public cWorldServices {
public:
    void PlaySe(std::uint32_t) override {}
    void PlayMusic(std::int32_t) override {}
    void ErrorBox(const char*) override { ++m_Boxes; }
    void RequestClose() override { ++m_Closes; }
    int m_Boxes = 0;
    int m_Closes = 0;
};

// Reads the fields of a record from the input, zeros past its end.
class FieldReader {
public:
    FieldReader(const std::uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}
    std::uint32_t Bytes(int n)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++m_Pos)
            v |= static_cast<std::uint32_t>(m_Pos < m_Size ? m_Data[m_Pos] : 0) << (8 * i);
        return v;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Bytes(1)); }
    std::int16_t I16() { return static_cast<std::int16_t>(Bytes(2)); }
    std::int32_t I32() { return static_cast<std::int32_t>(Bytes(4)); }

private:
    const std::uint8_t* m_Data;
    std::size_t m_Size;
    std::size_t m_Pos = 0;
};

// A player and two computer characters: the player targets the first, the
// first targets the second.
struct World {
    QuietServices services;
    cRunningStage stage;
    cPlayerObj player;
    cNpcObj npc1;
    cNpcObj npc2;

    World()
    {
        SetWorldServices(&services);
        g_RunStage = &stage;
        player.m_ObjNo = 0;
        player.m_Operator = 0;
        player.m_IsPlayer = 1;
        player.m_Def.nMaxHP = 100;
        player.m_Hp = 80;
        player.m_Def.nMaxSP = 20;
        player.m_Sp = 5;
        player.m_TargetNo = 1;
        npc1.m_ObjNo = 1;
        npc1.m_Operator = 1;
        npc1.m_Def.nMaxHP = 30;
        npc1.m_Hp = 30;
        npc1.m_TargetNo = 2;
        npc2 = npc1;
        npc2.m_ObjNo = 2;
        npc2.m_TargetNo = -1;
        stage.Player.push_back(player);
        stage.AddChara(npc1);
        stage.AddChara(npc2);
    }

    // Back to the same state before each run.
    void Reset(int lives)
    {
        stage.Player.front() = player;
        auto it = stage.m_CharaList.begin();
        *it++ = npc1;
        *it = npc2;
        stage.m_StageVars.assign(kStageVarCount, 0);
        stage.m_LifeCheck = 0;
        stage.m_TimeLeft = 300;
        stage.m_ScrollX.SetAutoScroll(0, 0);
        stage.m_ScrollY.SetAutoScroll(0, 0);
        g_Progress.vCommonVar.assign(kCommonVars, 0);
        g_Progress.nLives = lives;
        g_Progress.nStageScore = 100;
        g_Stage.nAutoScrollX = g_Stage.nAutoScrollY = 0;
        g_Stage.bAutoScrollX = 1;
        SeedRandom(12345);
    }

    cCharaObj& Runner() { return stage.m_CharaList.front(); }
};

bool InRange(std::int32_t v, std::int32_t lo, std::int32_t hi)
{
    return v >= lo && v <= hi;
}

// Everything a run may change, for the comparison of two runs.
std::vector<std::int32_t> Snapshot(World& w)
{
    std::vector<std::int32_t> s = w.stage.m_StageVars;
    s.insert(s.end(), g_Progress.vCommonVar.begin(), g_Progress.vCommonVar.end());
    auto add = [&s](const cCharaObj& c) {
        s.insert(s.end(), c.m_Vars.begin(), c.m_Vars.end());
        const cEdChara& d = c.m_Def;
        s.insert(s.end(), {c.m_Hp, c.m_Sp, d.nMaxHP, d.nMaxSP, d.nCharaId, d.nZ, d.nEmblemNo,
                           d.nSight, d.nBodyPower, d.nBodyImpact, d.nDefence, d.nImpactResist,
                           d.nStopRate, d.nScoreGain, c.m_SightRange});
    };
    add(w.stage.Player.front());
    for (const cNpcObj& c : w.stage.m_CharaList)
        add(c);
    s.insert(s.end(), {g_Progress.nLives, g_Progress.nStageScore, w.stage.m_TimeLeft,
                       w.stage.m_LifeCheck, g_Stage.nAutoScrollX, g_Stage.nAutoScrollY});
    return s;
}

// Values the language and the operations write stay within their ranges.
void CheckRanges(World& w, int lives)
{
    for (std::int32_t v : w.stage.m_StageVars)
        check(InRange(v, -999999, 999999));
    for (std::int32_t v : g_Progress.vCommonVar)
        check(InRange(v, -999999, 999999));
    auto chara = [](const cCharaObj& c) {
        for (std::int32_t v : c.m_Vars)
            check(InRange(v, -999999, 999999));
        const cEdChara& d = c.m_Def;
        check(InRange(c.m_Hp, 0, std::max(d.nMaxHP, 0)));
        check(InRange(c.m_Sp, 0, std::max(d.nMaxSP, 0)));
        check(InRange(d.nMaxHP, 0, 999999) && InRange(d.nMaxSP, 0, 999999));
        check(d.nCharaId <= 99 && d.nZ <= 7 && d.nSight <= 40 && d.nImpactResist <= 20);
        check(InRange(d.nEmblemNo, 0, 119) && InRange(d.nStopRate, 0, 200));
        check(InRange(d.nBodyImpact, -20, 20) && InRange(d.nDefence, 0, 999999));
        check(InRange(d.nBodyPower, -999999, 999999) && InRange(d.nScoreGain, -999999, 999999));
    };
    chara(w.stage.Player.front());
    for (const cNpcObj& c : w.stage.m_CharaList)
        chara(c);
    check(lives == kUnlimitedLives ? g_Progress.nLives == lives
                                   : InRange(g_Progress.nLives, 0, 99));
    check(InRange(g_Progress.nStageScore, 0, 999999));
    check(InRange(w.stage.m_TimeLeft, 0, 999));
    check(InRange(g_Stage.nAutoScrollX, -480, 480) && InRange(g_Stage.nAutoScrollY, -480, 480));
}

// One run of the input; the result of the code text, or of the condition.
int RunOnce(World& w, const std::uint8_t* data, std::size_t size)
{
    const int kind = data[0] % 3;
    FieldReader in(data + 1, size - 1);
    cCharaObj& runner = w.Runner();
    if (kind == 0) {
        const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
        const int boxesBefore = w.services.m_Boxes;
        const int result = ExecCode(text, runner);
        check(result == (g_CodeError ? 0 : 1));
        check(w.services.m_Boxes - boxesBefore <= 1);
        return result;
    }
    if (kind == 1) {
        cEdCond cond;
        cond.m_Kind = 4;
        cond.m_LeftKind = in.U8() % 3;
        cond.m_VarScope = in.U8() % 3;
        cond.m_Owner = in.U8() % 4;
        cond.m_Item = in.U8() % 17;
        cond.m_Index = static_cast<std::int16_t>(in.I16() % 260);
        cond.m_RightKind = in.U8() % 5;
        cond.m_Value = in.I32();
        cond.m_RandMin = in.I32();
        cond.m_RandMax = in.I32();
        cond.m_RightOwner = in.U8() % 4;
        cond.m_RightItem = in.U8() % 17;
        cond.m_RightScope = in.U8() % 3;
        cond.m_RightIndex = static_cast<std::int16_t>(in.I16() % 260);
        cond.m_Op = in.U8() % 8;
        cond.m_Percent = in.U8() % 2;
        const int held = TestStatusCondition(cond, runner);
        check(held == 0 || held == 1);
        return held;
    }
    cEdCommand command;
    command.m_Kind = 22;
    command.m_Params.resize(18);
    for (std::int32_t& p : command.m_Params)
        p = in.I32();
    // The choices get small values often enough to reach every branch.
    for (int i : {0, 1, 3, 4, 5, 6, 10, 12, 13, 14, 15, 16, 17})
        command.m_Params[static_cast<std::size_t>(i)] %= 20;
    for (int i : {2, 11})
        command.m_Params[static_cast<std::size_t>(i)] %= 260;
    ExecStatusOperation(runner, command);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static World world;
    if (size == 0) return 0;
    const int lives = size > 1 && data[1] & 1 ? kUnlimitedLives : 3;

    world.Reset(lives);
    const int closes = world.services.m_Closes;
    const int first = RunOnce(world, data, size);
    CheckRanges(world, lives);
    if (data[0] % 3 == 0) check(world.services.m_Closes == closes);
    const std::vector<std::int32_t> after = Snapshot(world);

    world.Reset(lives);
    check(RunOnce(world, data, size) == first);
    check(Snapshot(world) == after);
    return 0;
}
