// Damage, hit protection and the death of characters, and the hit effect
// placed where two boxes overlap.

#include <gtest/gtest.h>

#include <cstdint>

#include "contact_fixture.h"
#include "world/chara_obj.h"
#include "world/effect_obj.h"
#include "world/random.h"
#include "world/shot_obj.h"

namespace {

using test::CharaBox;
using test::ContactStage;

class CharaDamage : public ContactStage {};

TEST_F(CharaDamage, PowerAgainstDefenceAndTheTriggersItFires)
{
    struct Case {
        const char* what;
        std::int32_t power;
        std::int8_t impact;
        std::int32_t defence;
        std::int32_t hpBefore;
        std::int32_t hpAfter;
        int killed;
        std::vector<int> triggers;
    };
    const Case cases[] = {
        {"power 5 against defence 9: no damage, trigger 1", 5, 0, 9, 50, 50, 0, {1}},
        {"power 12 against defence 2", 12, 0, 2, 50, 40, 0, {1}},
        {"power 0 with impact 3: trigger 2 only", 0, 3, 0, 50, 50, 0, {2}},
        {"power and impact", 7, 2, 0, 50, 43, 0, {1, 2}},
        {"a negative power heals", -5, 0, 9, 40, 45, 0, {1}},
        {"damage is held to 999999", 2000000000, 0, 1, 1500000, 500001, 0, {1}},
        {"the last hit point", 3, 0, 0, 3, 0, 1, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cNpcObj& attacker = AddChara(1, {300, 300});
        attacker.m_Def.nBodyPower = c.power;
        attacker.m_Def.nBodyImpact = c.impact;
        cNpcObj& victim = AddChara(2, {310, 300}, 2000000);
        victim.m_Def.nDefence = c.defence;
        victim.m_Hp = c.hpBefore;
        trace.Clear();
        EXPECT_EQ(victim.DamageFromChara(attacker), c.killed);
        EXPECT_EQ(victim.m_Hp, c.hpAfter);
        EXPECT_EQ(Triggers(victim.m_ObjNo), c.triggers);
    }
}

TEST_F(CharaDamage, ShotDamageKnocksBackAlongTheShot)
{
    cEdShot def = ShotDef();
    def.m_Power = 4;
    def.m_Impact = 2;
    cShotObj& shot = AddShot(1, 300, 300, def);
    shot.m_SpeedX = 3;
    cNpcObj& victim = AddChara(2, {310, 300});
    EXPECT_EQ(victim.DamageFromShot(shot), 0);
    EXPECT_EQ(victim.m_Hp, 6);
    EXPECT_GT(victim.m_KnockX, 0);
    EXPECT_EQ(victim.m_KnockY, 0);
    EXPECT_EQ(victim.m_Knockback, 1);
}

TEST_F(CharaDamage, ProtectionIsGeneralForShotsAndPerAttackerForContacts)
{
    g_Stage.nCharaGuard = 2;
    g_Stage.nCharaAttackerGuard = 5;
    g_Stage.nPlayerGuard = 7;
    cNpcObj& c = AddChara(2, {300, 300});
    c.StartHitProtectionFrom(11);
    EXPECT_EQ(c.m_ProtectTime, 2);
    Hero().StartHitProtection();
    EXPECT_EQ(Hero().m_ProtectTime, 7);
    // Attacker 12 is blocked only while the general protection runs;
    // attacker 11 until its own entry ends.
    std::vector<int> blocked11, blocked12;
    for (int step = 0; step < 6; ++step) {
        c.UpdateHitProtection();
        blocked11.push_back(c.IsHitProtectedFrom(11));
        blocked12.push_back(c.IsHitProtectedFrom(12));
    }
    EXPECT_EQ(blocked11, (std::vector<int>{1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(blocked12, (std::vector<int>{1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(c.m_ProtectList.empty());
}

TEST_F(CharaDamage, ProtectionCountsInSubSteps)
{
    Build(3);
    g_Stage.nCharaGuard = 2;
    g_Stage.nCharaAttackerGuard = 4;
    cNpcObj& c = AddChara(2, {300, 300});
    c.StartHitProtectionFrom(1);
    c.StartHitProtectionFrom(1);
    EXPECT_EQ(c.m_ProtectTime, 6);
    ASSERT_EQ(c.m_ProtectList.size(), 2u);
    EXPECT_EQ(c.m_ProtectList.front().m_Steps, 12);
    for (int i = 0; i < 6; ++i)
        c.UpdateHitProtection();
    EXPECT_EQ(c.IsHitProtected(), 0);
    EXPECT_EQ(c.IsHitProtectedFrom(1), 1);
}

TEST_F(CharaDamage, DeathAddsTheScoreHeldToItsRange)
{
    struct Case {
        std::int32_t before;
        std::int32_t value;
        std::int32_t after;
    };
    for (const Case& c : {Case{100, 50, 150}, Case{30, -50, 0}, Case{999990, 20, 999999}}) {
        g_Progress.nStageScore = c.before;
        cNpcObj& victim = AddChara(2, {300, 300});
        victim.m_Def.nScoreGain = c.value;
        EXPECT_EQ(victim.KillChara(), 0);
        EXPECT_EQ(g_Progress.nStageScore, c.after);
        EXPECT_EQ(victim.m_Dying, 1);
    }
}

TEST_F(CharaDamage, DeathCutsTheTargetLinksOfCharactersAndShots)
{
    cNpcObj& victim = AddChara(2, {300, 300});
    cNpcObj& hunter = AddChara(1, {200, 300});
    stage.SetTarget(hunter, victim.m_ObjNo);
    stage.SetTarget(victim, hunter.m_ObjNo);
    cShotObj& shot = AddShot(1, 100, 100, ShotDef());
    shot.m_TargetNo = victim.m_ObjNo;
    victim.m_AimedShots.push_back(shot.m_ObjNo);
    victim.KillChara();
    EXPECT_EQ(hunter.m_TargetNo, -1);
    EXPECT_EQ(shot.m_TargetNo, -1);
    EXPECT_TRUE(victim.m_TargetedBy.empty());
    EXPECT_TRUE(victim.m_AimedShots.empty());
    EXPECT_TRUE(hunter.m_TargetedBy.empty());
}

TEST_F(CharaDamage, ADeathThatClearsTheStageReturnsBeforeTheCharacterIsDying)
{
    cNpcObj& victim = AddChara(2, {300, 300});
    stage.m_ClearRequest = 1;
    EXPECT_EQ(victim.KillChara(), 1);
    EXPECT_EQ(victim.m_Dying, 0);
}

// The game's generator, computed here on its own.
int NextRandom(std::uint32_t& state)
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

TEST_F(CharaDamage, HitEffectSitsAtTheOverlapWithItsScatter)
{
    g_Database.Effect.resize(3);
    g_Database.Effect[2].m_CellWidth = 32;
    g_Database.Effect[2].m_CellHeight = 32;
    g_Database.Effect[2].m_Scalable = 1;
    BuildEffectFrameLists(g_EffectSeqs);
    struct Case {
        int scale;
        int size;
    };
    for (const Case c : {Case{1, 32}, Case{3, 96}}) {
        SeedRandom(12345);
        std::uint32_t state = 12345;
        const int dx = NextRandom(state) % (8 * c.scale + 1) - 4 * c.scale;
        const int dy = NextRandom(state) % (8 * c.scale + 1) - 4 * c.scale;
        // The boxes overlap in the 10 x 20 rectangle at (100, 50).
        const cEffectObj effect(2, DRect{100, 50, 109, 69}, DRect{90, 40, 200, 200}, c.scale);
        EXPECT_EQ(effect.m_Width, c.size);
        EXPECT_EQ(effect.m_Scaled, c.scale > 1 ? 1 : 0);
        EXPECT_EQ(effect.m_X, 105 - c.size / 2 + dx);
        EXPECT_EQ(effect.m_Y, 60 - c.size / 2 + dy);
        EXPECT_EQ(RandomState(), state);
    }
}

TEST_F(CharaDamage, AnAttackerWithAHitEffectLeavesOneEffectObject)
{
    g_Database.Effect.resize(3);
    BuildEffectFrameLists(g_EffectSeqs);
    cNpcObj& attacker = AddChara(1, {300, 300});
    attacker.m_Def.nBodyPower = 1;
    cNpcObj& victim = AddChara(2, {310, 300});
    victim.DamageFromChara(attacker);
    EXPECT_TRUE(stage.m_EffectList.empty());
    attacker.m_Def.nHitEffect = 2;
    victim.DamageFromChara(attacker);
    EXPECT_EQ(stage.m_EffectList.size(), 1u);
}

class EffectPlayers : public ContactStage {
protected:
    // CharaEffect record 1 of a kind running start to end over a time.
    void Record(int kind, int time, int start, int end)
    {
        g_Database.CharaEffect.resize(2);
        cEdCharaEffect& r = g_Database.CharaEffect[1];
        r.m_Kind = kind;
        r.m_Param[0] = time;
        r.m_Param[1] = start;
        r.m_Param[2] = end;
        BuildDatabaseTables();
    }

    // Steps until the effect ends (at most a limit); the calls it took.
    static int CallsToEnd(cCharaEffectPlayer& player, int limit)
    {
        for (int call = 1; call <= limit; ++call)
            if (player.Step()) return call;
        return -1;
    }
};

TEST_F(EffectPlayers, RunFromStartToEndInTheirTime)
{
    Record(1, 10, 0, 90);
    cCharaEffectPlayer player;
    player.Start(1, 0, 0);
    EXPECT_EQ(player.m_Step, 1.5);
    EXPECT_EQ(CallsToEnd(player, 1000), 61);
}

TEST_F(EffectPlayers, ModesReverseAndGoThereAndBack)
{
    Record(1, 10, 0, 90);
    cCharaEffectPlayer reversed;
    reversed.Start(1, 1, 0);
    EXPECT_EQ(reversed.m_Value, 90);
    EXPECT_EQ(CallsToEnd(reversed, 1000), 61);
    EXPECT_LT(reversed.m_Value, 0);

    cCharaEffectPlayer roundTrip;
    roundTrip.Start(1, 2, 0);
    EXPECT_EQ(CallsToEnd(roundTrip, 1000), 122);

    cCharaEffectPlayer looping;
    looping.Start(1, 2, 1);
    EXPECT_EQ(CallsToEnd(looping, 5000), -1);
}

TEST_F(EffectPlayers, AnEffectWithoutTimeEndsAtOnce)
{
    Record(1, 0, 0, 90);
    cCharaEffectPlayer player;
    player.Start(1, 0, 1);
    EXPECT_EQ(player.Step(), 1);

    g_Database.ScrEffect.resize(2);
    g_Database.ScrEffect[1].m_Kind = 4;
    g_Database.ScrEffect[1].m_Param[0] = 0;
    BuildDatabaseTables();
    cScrEffectPlayer screen;
    screen.Start(1, 0, 0);
    EXPECT_EQ(screen.Step(0, 90, 1), 1);
}

TEST_F(EffectPlayers, ScreenEffectsEndOnTheTruncatedValue)
{
    g_Database.ScrEffect.resize(2);
    g_Database.ScrEffect[1].m_Kind = 4;
    g_Database.ScrEffect[1].m_Param[0] = 1;
    BuildDatabaseTables();
    cScrEffectPlayer screen;
    screen.Start(1, 0, 0);
    // 0.6 a frame toward 1: 0.6, 1.2 (1 is not past 1), 1.8, 2.4 ends.
    std::vector<int> ends;
    for (int i = 0; i < 4; ++i)
        ends.push_back(screen.Step(0, 1, 0.6));
    EXPECT_EQ(ends, (std::vector<int>{0, 0, 0, 1}));
}

} // namespace
