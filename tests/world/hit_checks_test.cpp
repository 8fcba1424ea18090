// The hit checks of a sub-step: the three passes and their order, the
// hit-step mask, protection, damage and deaths, piercing shots and swords,
// shots against shots, and the visiting order of every pair.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "world/contact_fixture.h"
#include "world/hit_checks.h"
#include "world/shot_obj.h"

namespace {

using test::CharaBox;
using test::ContactStage;

class HitChecks : public ContactStage {
protected:
    void SetUp() override
    {
        ContactStage::SetUp();
        g_Stage.nCharaGuard = 3;
        g_Stage.nPlayerGuard = 3;
        PlaceHero(100, 100);
    }

    cShotObj& Shot(int group, double x, double y, int power = 1)
    {
        cEdShot def = ShotDef();
        def.m_Power = power;
        return AddShot(group, x, y, def);
    }

    // The trigger lines fired so far as (object, trigger), in order.
    std::vector<std::pair<int, int>> Fired() const
    {
        std::vector<std::pair<int, int>> out;
        for (const std::string& line : trace.Lines()) {
            int step = 0, object = 0, trigger = 0;
            if (std::sscanf(line.c_str(), "fire %d %d %d", &step, &object, &trigger) == 3)
                out.emplace_back(object, trigger);
        }
        return out;
    }

    bool ShotAlive(int number) { return stage.FindShotByNumber(number) != nullptr; }
};

TEST_F(HitChecks, OnlyTheShotPassFollowsTheHitStepMask)
{
    Build(4);
    g_Stage.nHitLevel = 2;
    stage.m_HitStepMask = BuildHitStepMask(4, 2);
    ASSERT_EQ(stage.m_HitStepMask, (std::vector<std::int32_t>{1, 0, 1, 0}));
    cNpcObj& victim = AddChara(2, {400, 400});
    cNpcObj& other = AddChara(3, {400, 400});
    Shot(1, 400, 400, 0);
    std::vector<int> shotHits, contacts;
    for (int sub = 1; sub <= 4; ++sub) {
        stage.m_SubStepNo = sub;
        trace.Clear();
        EXPECT_EQ(CheckHits(), 0);
        const auto t = Triggers(victim.m_ObjNo);
        shotHits.push_back(static_cast<int>(std::count(t.begin(), t.end(), 7)));
        contacts.push_back(static_cast<int>(std::count(t.begin(), t.end(), 4)));
    }
    EXPECT_EQ(shotHits, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(contacts, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Triggers(other.m_ObjNo), (std::vector<int>{4}));
}

TEST_F(HitChecks, PassesRunShotsOnCharactersThenContactsThenShotsOnShots)
{
    cNpcObj& a = AddChara(2, {400, 400});
    cNpcObj& b = AddChara(3, {400, 400});
    cEdShot def = ShotDef();
    def.m_HitShots = 1;
    cShotObj& s1 = AddShot(1, 400, 400, def);
    cShotObj& s2 = AddShot(4, 400, 400, def);
    const int n1 = s1.m_ObjNo, n2 = s2.m_ObjNo;
    EXPECT_EQ(CheckHits(), 0);
    // Both shots met both characters before they met each other.
    EXPECT_EQ(Fired(), (std::vector<std::pair<int, int>>{{a.m_ObjNo, 7},
                                                         {b.m_ObjNo, 7},
                                                         {a.m_ObjNo, 7},
                                                         {b.m_ObjNo, 7},
                                                         {a.m_ObjNo, 4},
                                                         {b.m_ObjNo, 4}}));
    EXPECT_FALSE(ShotAlive(n1));
    EXPECT_FALSE(ShotAlive(n2));
}

TEST_F(HitChecks, AShotHitDamagesProtectsAndPlaysItsSound)
{
    cNpcObj& c = AddChara(2, {400, 400});
    cShotObj& s = Shot(1, 400, 400, 4);
    s.m_Def.m_Pierce = 1;
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(c.m_Hp, 6);
    EXPECT_EQ(c.m_ProtectTime, 3);
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{7}));
    // Protected: the trigger fires, nothing else happens.
    cShotObj& t = Shot(1, 400, 400, 4);
    trace.Clear();
    services.m_Sounds.clear();
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(c.m_Hp, 6);
    EXPECT_EQ(Triggers(c.m_ObjNo), (std::vector<int>{7}));
    EXPECT_TRUE(services.m_Sounds.empty());
    EXPECT_TRUE(ShotAlive(t.m_ObjNo));
}

TEST_F(HitChecks, AHarmlessShotOnlyFiresTheTrigger)
{
    cNpcObj& c = AddChara(2, {400, 400});
    cShotObj& s = Shot(1, 400, 400, 0);
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(Triggers(c.m_ObjNo), (std::vector<int>{7}));
    EXPECT_EQ(c.m_ProtectTime, 0);
    EXPECT_TRUE(services.m_Sounds.empty());
    EXPECT_TRUE(ShotAlive(s.m_ObjNo));
}

TEST_F(HitChecks, KillsEndTheCheckForThePlayerAndGoOnForOthers)
{
    cNpcObj& c = AddChara(2, {400, 400}, 1);
    cNpcObj& d = AddChara(2, {400, 400}, 5);
    Shot(1, 400, 400, 2);
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(c.m_Dying, 1);
    EXPECT_EQ(c.m_Hp, 0);
    // The shot vanishes after this group's list, having hit d too.
    EXPECT_EQ(d.m_Hp, 3);
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{9, 7}));

    PlaceHero(600, 400);
    Hero().m_Hp = 1;
    Shot(1, 600, 400, 1);
    services.m_Sounds.clear();
    EXPECT_EQ(CheckHits(), 2);
    EXPECT_EQ(Hero().m_Dying, 0);
    EXPECT_TRUE(services.m_Sounds.empty());
}

TEST_F(HitChecks, PiercingShotsAndSwordsHitEachCharacterOnce)
{
    g_Stage.nCharaGuard = 0;
    cNpcObj& c = AddChara(2, {400, 400});
    cShotObj& pierce = Shot(1, 400, 400, 1);
    pierce.m_Def.m_Pierce = 1;
    cShotObj& sword = Shot(3, 400, 400, 1);
    sword.m_IsShot = 0;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(c.m_Hp, 8);
    EXPECT_TRUE(ShotAlive(pierce.m_ObjNo));
    EXPECT_TRUE(ShotAlive(sword.m_ObjNo));
    EXPECT_EQ(pierce.m_HitList, (std::vector<std::int32_t>{c.m_ObjNo}));
}

TEST_F(HitChecks, AVanishingShotMeetsOnlyTheRestOfItsGroupsList)
{
    g_Stage.nCharaGuard = 0;
    cNpcObj& a = AddChara(2, {400, 400});
    cNpcObj& b = AddChara(2, {400, 400});
    cNpcObj& later = AddChara(5, {400, 400});
    Shot(1, 400, 400, 1);
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(a.m_Hp, 9);
    EXPECT_EQ(b.m_Hp, 9);
    EXPECT_EQ(later.m_Hp, 10);
    const auto t = Triggers(later.m_ObjNo);
    EXPECT_EQ(std::count(t.begin(), t.end(), 7), 0);
    EXPECT_TRUE(stage.m_ShotList.empty());
}

TEST_F(HitChecks, WhoTakesPartInAHit)
{
    struct Case {
        const char* what;
        int group;
        std::uint8_t invincible;
        int present;
        int onScreenOnly;
        int onScreen;
        int fired;
    };
    const Case cases[] = {
        {"an enemy", 2, 0, 1, 0, 1, 1},
        {"the shot's own group", 1, 0, 1, 0, 1, 0},
        {"shots hit the invincible of mode 1", 2, 1, 1, 0, 1, 1},
        {"shots pass the invincible of mode 2", 2, 2, 1, 0, 1, 0},
        {"not present", 2, 0, 0, 0, 1, 0},
        {"off the screen, hits on screen only", 2, 0, 1, 1, 0, 0},
        {"off the screen, hits anywhere", 2, 0, 1, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (!stage.m_ShotList.empty())
            stage.RemoveShot(stage.m_ShotList.begin());
        cNpcObj& chara = AddChara(c.group, {400, 400});
        chara.m_Def.nInvincible = c.invincible;
        chara.m_Present = c.present;
        chara.m_OnScreen = c.onScreen;
        g_Stage.bHitOnScreenOnly = c.onScreenOnly;
        Shot(1, 400, 400, 0);
        trace.Clear();
        CheckHits();
        const auto t = Triggers(chara.m_ObjNo);
        EXPECT_EQ(std::count(t.begin(), t.end(), 7), c.fired);
        stage.EraseChara(stage.CharaNode(chara));
    }
}

TEST_F(HitChecks, ContactsHurtBothSidesAndProtectFromTheAttacker)
{
    cNpcObj& a = AddChara(2, {400, 400});
    a.m_Def.nBodyPower = 3;
    cNpcObj& b = AddChara(3, {400, 400});
    b.m_Def.nBodyPower = 2;
    cNpcObj& harmless = AddChara(4, {400, 400});
    cNpcObj& solid = AddChara(5, {400, 400});
    solid.m_Def.bSolid = 1;
    solid.m_Def.nBodyPower = 9;
    EXPECT_EQ(CheckHits(), 0);
    // a and b hurt each other; a hurts harmless, whose general protection
    // then keeps b off; the solid one takes no part.
    EXPECT_EQ(a.m_Hp, 8);
    EXPECT_EQ(b.m_Hp, 7);
    EXPECT_EQ(harmless.m_Hp, 7);
    EXPECT_EQ(solid.m_Hp, 10);
    EXPECT_TRUE(Triggers(solid.m_ObjNo).empty());
    EXPECT_EQ(Triggers(harmless.m_ObjNo), (std::vector<int>{4, 1, 4}));
    // One sound for each contact that hurt someone.
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{7, 7}));
    EXPECT_EQ(a.IsHitProtectedFrom(b.m_ObjNo), 1);
    EXPECT_EQ(a.m_ProtectList.size(), 1u);
    // Still protected from the same attackers: triggers only.
    services.m_Sounds.clear();
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(a.m_Hp, 8);
    EXPECT_TRUE(services.m_Sounds.empty());
}

TEST_F(HitChecks, CollidingShotsCancelByStrength)
{
    struct Case {
        const char* what;
        int pFlag, qFlag, pStrength, qStrength;
        bool pLives, qLives;
    };
    const Case cases[] = {
        {"equal strengths: both go", 1, 1, 3, 3, false, false},
        {"the weaker goes", 1, 1, 5, 3, true, false},
        {"the weaker of the later group", 1, 1, 3, 5, false, true},
        {"only the flagged one goes", 1, 0, 9, 0, false, true},
        {"only the flagged later one goes", 0, 1, 0, 9, true, false},
        {"neither flagged: nothing", 0, 0, 0, 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (!stage.m_ShotList.empty())
            stage.RemoveShot(stage.m_ShotList.begin());
        cEdShot def = ShotDef();
        def.m_HitShots = static_cast<std::uint8_t>(c.pFlag);
        def.m_Strength = static_cast<std::int8_t>(c.pStrength);
        const int p = AddShot(2, 1000, 1000, def).m_ObjNo;
        def.m_HitShots = static_cast<std::uint8_t>(c.qFlag);
        def.m_Strength = static_cast<std::int8_t>(c.qStrength);
        const int q = AddShot(5, 1010, 1010, def).m_ObjNo;
        // Off the screen with hits limited to it: shots still meet.
        g_Stage.bHitOnScreenOnly = 1;
        CheckHits();
        EXPECT_EQ(ShotAlive(p), c.pLives);
        EXPECT_EQ(ShotAlive(q), c.qLives);
    }
}

// Shots meet shots on every sub-step, also those that skip the shot pass,
// and a shot whose hit box holds no point hits no character but still
// meets shots with its box; one whose box holds no point, the other way.
// Each case puts other shots first, so that pairs kept from the check
// before would name other shots.
TEST_F(HitChecks, ShotsMeetShotsWhateverTheShotPassDoes)
{
    Build(4);
    g_Stage.nHitLevel = 2;
    stage.m_HitStepMask = BuildHitStepMask(4, 2);
    ASSERT_EQ(stage.m_HitStepMask, (std::vector<std::int32_t>{1, 0, 1, 0}));
    struct Case {
        const char* what;
        int subStep;
        bool emptyHitBox;
        bool emptyBox; // then p meets no shot
        int others;
        int strength; // p's; q's is 1: p goes when not stronger
        int hits;
    };
    const Case cases[] = {
        {"with the shot pass", 1, false, false, 0, 1, 1},
        {"without the shot pass", 2, false, false, 3, 2, 0},
        {"a hit box of no point", 1, true, false, 1, 1, 0},
        {"a box of no point", 1, false, true, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (!stage.m_ShotList.empty())
            stage.RemoveShot(stage.m_ShotList.begin());
        cNpcObj& victim = AddChara(3, {1000, 1000});
        cEdShot def = ShotDef();
        std::vector<int> others;
        for (int i = 0; i < c.others; ++i)
            others.push_back(AddShot(1, 200.0 + 50 * i, 200, def).m_ObjNo);
        def.m_HitShots = 1;
        def.m_Strength = static_cast<std::int8_t>(c.strength);
        cShotObj& p = AddShot(1, 1010, 1010, def);
        // Lying inside the victim's box, yet holding no point.
        if (c.emptyHitBox) p.m_HitRight = p.m_HitLeft - 1;
        if (c.emptyBox) p.m_Bottom = p.m_Y - 1;
        // In the victim's group: it meets the other shot only.
        def.m_Strength = 1;
        const int q = AddShot(3, 1004, 1004, def).m_ObjNo;
        const int pn = p.m_ObjNo;
        stage.m_SubStepNo = c.subStep;
        trace.Clear();
        EXPECT_EQ(CheckHits(), 0);
        const auto t = Triggers(victim.m_ObjNo);
        EXPECT_EQ(std::count(t.begin(), t.end(), 7), c.hits);
        EXPECT_EQ(ShotAlive(pn), c.strength > 1 || c.emptyBox);
        EXPECT_EQ(ShotAlive(q), c.emptyBox);
        for (int other : others)
            EXPECT_TRUE(ShotAlive(other));
        stage.EraseChara(stage.CharaNode(victim));
    }
}

TEST_F(HitChecks, AStrongShotCancelsEveryWeakerOneItMeets)
{
    cEdShot def = ShotDef();
    def.m_HitShots = 1;
    def.m_Strength = 1;
    const int weak1 = AddShot(3, 1000, 1000, def).m_ObjNo;
    const int weak2 = AddShot(3, 1004, 1004, def).m_ObjNo;
    def.m_Strength = 1;
    const int equal = AddShot(4, 1008, 1008, def).m_ObjNo;
    def.m_Strength = 5;
    const int strong = AddShot(1, 1002, 1002, def).m_ObjNo;
    CheckHits();
    EXPECT_TRUE(ShotAlive(strong));
    EXPECT_FALSE(ShotAlive(weak1));
    EXPECT_FALSE(ShotAlive(weak2));
    EXPECT_FALSE(ShotAlive(equal));
}

// A scene of random boxes in all groups; every pair is visited exactly in
// the order of the nested loops over the group lists, which a model of the
// three passes gives.
struct Object {
    int number;
    int group;
    DRect box;  // the hit box (characters: box B and A alike)
    DRect main; // a shot's main box
    bool pierce;
    bool hitsShots;
    int strength;
};

std::vector<Object> InGroup(const std::vector<Object>& all, int g)
{
    std::vector<Object> out;
    for (const Object& o : all)
        if (o.group == g) out.push_back(o);
    return out;
}

class VisitingOrder : public HitChecks {};

TEST_F(VisitingOrder, MatchesTheNestedLoopsOverTheGroupLists)
{
    std::mt19937 random(20240613);
    std::uniform_int_distribution<int> any(0, 7);
    std::uniform_int_distribution<int> place(1000, 1400);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        Build(1);
        g_Stage.nCharaGuard = 1000;
        PlaceHero(100, 100);
        std::vector<Object> charas, shots;
        for (int i = 0; i < 60; ++i) {
            const CharaBox box{double(place(random)), double(place(random)), 8 + any(random) * 4,
                               8 + any(random) * 4};
            cNpcObj& c = AddChara(1 + any(random) % 7, box, 1000);
            charas.push_back({c.m_ObjNo, c.m_Group, c.m_HitB.m_Rect, {}, false, false, 0});
        }
        for (int i = 0; i < 200; ++i) {
            cEdShot def = ShotDef();
            def.m_Power = 1;
            def.m_Pierce = i % 3 == 0 ? 1 : 0;
            def.m_HitShots = i % 5 == 0 ? 1 : 0;
            def.m_Strength = static_cast<std::int8_t>(any(random));
            cShotObj& s = AddShot(any(random), place(random), place(random), def);
            shots.push_back({s.m_ObjNo,
                             s.m_Group,
                             {s.m_HitLeft, s.m_HitTop, s.m_HitRight, s.m_HitBottom},
                             {s.m_X, s.m_Y, s.m_Right, s.m_Bottom},
                             def.m_Pierce == 1,
                             def.m_HitShots != 0,
                             def.m_Strength});
        }
        // Pass 1: a character is protected from its first hit on; a
        // vanishing shot goes after the list it hit.
        std::vector<std::pair<int, int>> expected;
        std::set<int> hurt, gone;
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j) {
                if (i == j) continue;
                for (const Object& s : InGroup(shots, i)) {
                    if (gone.count(s.number)) continue;
                    bool vanish = false;
                    for (const Object& c : InGroup(charas, j)) {
                        if (!s.box.Intersects(c.box)) continue;
                        expected.emplace_back(c.number, 7);
                        if (!hurt.insert(c.number).second) continue;
                        expected.emplace_back(c.number, 1);
                        vanish = vanish || !s.pierce;
                    }
                    if (vanish) gone.insert(s.number);
                }
            }
        // Pass 2: contacts only fire their trigger.
        for (int i = 0; i < 8; ++i)
            for (int j = i + 1; j < 8; ++j)
                for (const Object& a : InGroup(charas, i))
                    for (const Object& b : InGroup(charas, j))
                        if (a.box.Intersects(b.box)) {
                            expected.emplace_back(a.number, 4);
                            expected.emplace_back(b.number, 4);
                        }
        // Pass 3: the weaker goes, equal both, a flagged one meeting an
        // unflagged one alone; p after the whole list of the later group.
        for (int i = 0; i < 8; ++i)
            for (int k = i + 1; k < 8; ++k)
                for (const Object& p : InGroup(shots, i)) {
                    if (gone.count(p.number)) continue;
                    bool due = false;
                    for (const Object& q : InGroup(shots, k)) {
                        if (gone.count(q.number) || !(p.hitsShots || q.hitsShots) ||
                            !p.main.Intersects(q.main))
                            continue;
                        const bool both = p.hitsShots && q.hitsShots;
                        if ((both && q.strength <= p.strength) || (!both && q.hitsShots))
                            gone.insert(q.number);
                        if ((both && q.strength >= p.strength) || (!both && p.hitsShots))
                            due = true;
                    }
                    if (due) gone.insert(p.number);
                }
        trace.Clear();
        EXPECT_EQ(CheckHits(), 0);
        ASSERT_GT(expected.size(), 100u);
        EXPECT_EQ(Fired(), expected);
        for (const Object& c : charas)
            EXPECT_EQ(stage.FindCharaByNumber(c.number)->m_Hp, hurt.count(c.number) ? 999 : 1000);
        std::size_t survivors = 0;
        for (const Object& s : shots) {
            EXPECT_EQ(ShotAlive(s.number), !gone.count(s.number)) << s.number;
            survivors += gone.count(s.number) ? 0 : 1;
        }
        EXPECT_EQ(stage.m_ShotList.size(), survivors);
        EXPECT_GT(gone.size(), 10u);
    }
}

} // namespace

namespace {

// The contact pass keeps the characters' left-to-right order from one check
// to the next: after they pass each other, share a left edge, lose their
// box or leave, it still finds exactly the pairs that meet, in the order of
// the nested loops over the group lists.
TEST_F(HitChecks, ContactsFollowTheCharactersFromCheckToCheck)
{
    std::vector<cNpcObj*> charas;
    for (int i = 0; i < 12; ++i)
        charas.push_back(&AddChara(1 + i % 7, {300.0 + 12 * i, 300}));
    auto expected = [this] {
        std::vector<std::pair<int, int>> out;
        for (std::size_t i = 0; i < stage.m_CharaGroups.size(); ++i)
            for (std::size_t j = i + 1; j < stage.m_CharaGroups.size(); ++j)
                for (const cCharaObj* a : stage.m_CharaGroups[i])
                    for (const cCharaObj* b : stage.m_CharaGroups[j])
                        if (a->m_HitA.m_Rect.Intersects(b->m_HitA.m_Rect) &&
                            a->m_HitA.m_Rect.x1 <= a->m_HitA.m_Rect.x2) {
                            out.emplace_back(a->m_ObjNo, 4);
                            out.emplace_back(b->m_ObjNo, 4);
                        }
        return out;
    };
    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        trace.Clear();
        EXPECT_EQ(CheckHits(), 0);
        const std::vector<std::pair<int, int>> want = expected();
        EXPECT_FALSE(want.empty());
        EXPECT_EQ(Fired(), want);
    };
    check("in a row");
    for (int i = 0; i < 12; ++i)
        MoveChara(*charas[static_cast<std::size_t>(i)], 300.0 + 12 * (11 - i), 300);
    check("the row reversed");
    MoveChara(*charas[3], std::numeric_limits<double>::quiet_NaN(), 300);
    MoveChara(*charas[5], 300.0 + 12 * 2, 300);
    MoveChara(*charas[6], 300.0 + 12 * 2, 310);
    check("a box of no points and a shared left edge");
    stage.EraseChara(stage.CharaNode(*charas[8]));
    check("one gone");
}

} // namespace
