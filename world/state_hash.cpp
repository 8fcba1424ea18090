#include "world/state_hash.h"

#include <cstring>
#include <type_traits>

#include "data/ed_save_data.h"
#include "world/random.h"
#include "world/running_stage.h"

namespace {

// FNV-1a over the bytes of each value (doubles by their bit pattern).
class cHasher {
public:
    template <class T> void Add(const T& value)
    {
        static_assert(std::is_arithmetic_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            m_Hash ^= b;
            m_Hash *= 1099511628211ull;
        }
    }
    template <class T> void AddAll(const T& values)
    {
        Add(static_cast<std::uint64_t>(values.size()));
        for (const auto& v : values)
            Add(v);
    }
    std::uint64_t Value() const { return m_Hash; }

private:
    std::uint64_t m_Hash = 1469598103934665603ull;
};

void AddObject(cHasher& h, const cGameObj& o)
{
    h.Add(o.m_ObjNo);
    h.Add(o.m_Life);
    h.Add(o.m_Facing);
    h.Add(o.m_X);
    h.Add(o.m_Y);
    h.Add(o.m_Right);
    h.Add(o.m_Bottom);
    h.Add(o.m_SpeedX);
    h.Add(o.m_SpeedY);
    h.Add(o.m_InertiaX);
    h.Add(o.m_InertiaY);
    h.Add(o.m_Width);
    h.Add(o.m_Height);
    h.Add(o.m_Flying);
    h.Add(o.m_BlockMode);
    h.Add(o.m_Present);
    h.Add(o.m_OnScreen);
    h.Add(o.m_Anime.CurrentSequence());
    h.Add(o.m_Anime.CurrentStep());
    h.Add(o.m_Anime.Counter());
}

void AddChara(cHasher& h, const cRunningStage& stage, const cCharaObj& c)
{
    AddObject(h, c);
    h.Add(c.m_Hp);
    h.Add(c.m_Sp);
    h.AddAll(c.m_Vars);
    h.Add(c.m_TargetNo);
    h.AddAll(c.m_TargetedBy);
    h.AddAll(c.m_AimedShots);
    h.Add(c.m_KnockX);
    h.Add(c.m_KnockY);
    h.Add(c.m_Knockback);
    h.Add(c.m_Airborne);
    h.Add(c.m_JumpEnded);
    h.Add(c.m_Jumping);
    h.Add(c.m_JumpLatch);
    h.Add(c.m_AirSteps);
    h.Add(stage.CellIndex(c.m_UnderFeet));
    h.Add(stage.CellIndex(c.m_LastBlock));
    h.Add(c.m_CrushGrace);
    h.Add(c.m_Dying);
    h.Add(c.m_DeathCounter);
    h.Add(c.m_ContactL);
    h.Add(c.m_ContactR);
    h.Add(c.m_ContactU);
    h.Add(c.m_ContactD);
    h.Add(c.m_Riding);
    h.Add(c.m_Vanish);
    h.Add(c.m_ProtectTime);
    for (const cFlowRun& run : c.m_FlowRuns) {
        h.Add(run.m_Running);
        h.Add(run.m_Paused);
        h.Add(run.m_CurIndex);
        h.Add(run.m_RunCounter);
        for (const cCommandRun& command : run.m_Commands)
            h.Add(command.m_Remaining);
    }
}

} // namespace

std::uint64_t HashStageState(const cRunningStage& stage)
{
    cHasher h;
    h.Add(RandomState());
    h.Add(stage.m_ScrollX.m_Pos);
    h.Add(stage.m_ScrollY.m_Pos);
    h.Add(stage.m_ScrollX.m_AtLimit);
    h.Add(stage.m_ScrollY.m_AtLimit);
    h.Add(stage.m_SubStepTotal);
    h.Add(stage.m_ClearRequest);
    h.Add(stage.m_TimeLeft);
    h.Add(stage.m_PlayFrames);
    h.Add(stage.m_CharaSerial);
    h.Add(stage.m_ItemSerial);
    h.Add(stage.m_BlockSerial);
    h.Add(stage.m_LifeCheck);
    h.AddAll(stage.m_StageVars);
    h.AddAll(stage.m_FlowFlags);
    h.Add(g_Progress.nLives);
    h.Add(g_Progress.nStageScore);
    for (const cPlayerObj& player : stage.Player)
        AddChara(h, stage, player);
    h.Add(static_cast<std::uint64_t>(stage.m_CharaList.size()));
    for (const cNpcObj& chara : stage.m_CharaList) {
        AddChara(h, stage, chara);
        h.Add(chara.m_Acting);
        h.Add(chara.m_InRange);
    }
    h.Add(static_cast<std::uint64_t>(stage.m_ItemList.size()));
    for (const cItemObj& item : stage.m_ItemList)
        AddObject(h, item);
    h.Add(static_cast<std::uint64_t>(stage.m_ShotList.size()));
    for (const cShotObj& shot : stage.m_ShotList) {
        AddObject(h, shot);
        h.Add(shot.m_TargetNo);
        h.AddAll(shot.m_HitList);
    }
    return h.Value();
}
