// The code language: evaluation order, value snapshots, prefixes, rand,
// clamps and side effects of the variables, and every error with its box.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/err_log.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "support/temp_dir.h"
#include "support/world_fixture.h"
#include "world/code_lang.h"
#include "world/random.h"

namespace {

class CodeLanguage : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(20, 15, 2, 2));
        cNpcObj npc;
        npc.m_ObjNo = 1;
        npc.m_Operator = 1;
        npc.m_Def.nMaxHP = 50;
        npc.m_Hp = 50;
        npc.m_Vars.assign(kCharaVarCount, 0);
        other = &stage->AddChara(npc);
        other->m_TargetNo = -1;
        player().m_TargetNo = -1;
        services.m_ErrorBoxes.clear();
    }
    // Runs a text for a character; the value of the whole text and whether
    // it ran without error.
    int Value(const std::string& text, cCharaObj* who = nullptr)
    {
        return CalcStatement(text, who ? *who : player());
    }
    int Run(const std::string& text, cCharaObj* who = nullptr)
    {
        return ExecCode(text, who ? *who : player());
    }

    cNpcObj* other = nullptr;
};

TEST_F(CodeLanguage, OperatorsOfAPassChainFromTheLeftKeepingTheRightOperand)
{
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"1 + 2 + 3", 5},     // 3 2 + 3, then 3 5 3
        {"10 - 2 - 3", -1},   // 8 2 - 3, then 8 -1 3
        {"2 * 3 * 4", 12},    // 6 3 * 4, then 6 12 4
        {"2 * 3 + 4", 7},     // 6 3 + 4, then 6 7 4
        {"8 / 2 * 3", 6},     // 4 2 * 3
        {"( 1 + 2 ) * 3", 9}, // the group first
        {"7 / 2", 3},         //
        {"-7 / 2", -3},       // toward zero
        {"-7 % 2", -1},       // the sign of the left
        {"7 % -2", 1},        //
        {"", 0},              // nothing
        {"    ", 0},          // blanks
        {"5", 5},             // one token
        {"3 4", 4},           // no operator: the last token read
        {"+5", 5},            // a sign belongs to the number
        {"--5", 0},           // not a number
        {"12abc", 12},        // the leading integer
        {"name", 0},          // a word in no table
        {"(1)(2)", 1},        // after a group nothing more in the word is grouped
        {"((( 4 )))", 4},     //
        {"rand (1,2)", 1},    // a blank makes it a group: "1,2" reads as 1
        {"foo(1) + 1", 1},    // an unknown call stays text: "foo(1)" reads as 0
        {"foo( (2) + 1", 3},  // a group after a blank inside it is still worked out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_CodeError = 0;
        EXPECT_EQ(Value(c.text), c.value);
        EXPECT_EQ(g_CodeError, 0);
    }
    EXPECT_TRUE(services.m_ErrorBoxes.empty());
}

TEST_F(CodeLanguage, ArithmeticSaturatesInsteadOfWrapping)
{
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"99999999999", INT_MAX},      {"-99999999999", INT_MIN},    {"2147483647 + 1", INT_MAX},
        {"-2147483648 - 1", INT_MIN},  {"100000 * 100000", INT_MAX}, {"-100000 * 100000", INT_MIN},
        {"-2147483648 / -1", INT_MAX}, {"-2147483648 % -1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Value(c.text), c.value);
    }
}

TEST_F(CodeLanguage, AssignmentsClampAndGoFromLeftToRight)
{
    cPlayerObj& p = player();
    p.m_Vars[2] = 42;
    EXPECT_EQ(Run("v1 = 2 * 3 + 4"), 1);
    EXPECT_EQ(p.m_Vars[1], 6) << "v1 = 6 3 + 4 assigns before the + is reached";
    EXPECT_EQ(Run("v1 = v1 + 1"), 1);
    EXPECT_EQ(p.m_Vars[1], 7);
    EXPECT_EQ(Run("v1 = ( 1 + 2 ) * 3"), 1);
    EXPECT_EQ(p.m_Vars[1], 9);
    EXPECT_EQ(Run("v1 = v2 = 3"), 1);
    EXPECT_EQ(p.m_Vars[1], 42) << "v1 takes v2 as it was read";
    EXPECT_EQ(p.m_Vars[2], 3);
    EXPECT_EQ(Run("v1 = 1000000"), 1);
    EXPECT_EQ(p.m_Vars[1], 999999);
    EXPECT_EQ(Run("v3 = -1000000"), 1);
    EXPECT_EQ(p.m_Vars[3], -999999);
    // Values are read once, before any assignment.
    p.m_Vars[1] = 5;
    EXPECT_EQ(Run("v1 = 8 v2 = v1"), 1);
    EXPECT_EQ(p.m_Vars[1], 8);
    EXPECT_EQ(p.m_Vars[2], 5);
    // A number has nothing to assign to: nothing changes, the value is clamped.
    EXPECT_EQ(Value("5 = 2000000"), 999999);
}

TEST_F(CodeLanguage, EachCharacterVariableClampsToItsRange)
{
    cPlayerObj& p = player();
    p.m_Def.nMaxHP = 50;
    p.m_Def.nMaxSP = 20;
    struct Case {
        const char* text;
        int value;
        const char* read;
    };
    const Case cases[] = {
        {"hp = 100", 50, "hp"},
        {"hp = -5", 0, "hp"},
        {"sp = 100", 20, "sp"},
        {"cid = 150", 99, "cid"},
        {"z = -3", 0, "z"},
        {"z = 9", 7, "z"},
        {"mark = 500", 119, "mark"},
        {"sight = 50", 40, "sight"},
        {"power = -2000000", -999999, "power"},
        {"imp = -30", -20, "imp"},
        {"imp = 30", 20, "imp"},
        {"def = -1", 0, "def"},
        {"impd = 30", 20, "impd"},
        {"stop = 300", 200, "stop"},
        {"getsc = 2000000", 999999, "getsc"},
        {"v8 = 123", 123, "v8"},
        {"msp = 0", 1, "msp"},
        {"mhp = 2000000", 999999, "mhp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Value(c.text), c.value);
        EXPECT_EQ(Value(c.read), c.value);
    }
    EXPECT_EQ(p.m_Vars[8], 123);
    EXPECT_EQ(p.m_Def.nCharaId, 99);
    EXPECT_EQ(p.m_Def.nBodyImpact, 20);
    EXPECT_EQ(p.m_Def.nStopRate, 200);
}

TEST_F(CodeLanguage, MaximumsClampHitPointsAndSpOfTheirCharacter)
{
    cPlayerObj& p = player();
    p.m_Def.nMaxHP = 50;
    p.m_Hp = 30;
    EXPECT_EQ(Run("mhp = 10"), 1);
    EXPECT_EQ(p.m_Hp, 10);
    p.m_Hp = 0;
    EXPECT_EQ(Run("mhp = 10"), 1);
    EXPECT_EQ(p.m_Hp, 1) << "the new maximum's clamp starts at 1";
    // HP is held to the maximum it has when it is written, not when read.
    p.m_Def.nMaxHP = 50;
    EXPECT_EQ(Run("mhp = 10 hp = 40"), 1);
    EXPECT_EQ(p.m_Hp, 10);
    p.m_Def.nMaxSP = 30;
    p.m_Sp = 25;
    EXPECT_EQ(Run("msp = 5"), 1);
    EXPECT_EQ(p.m_Sp, 5);
}

TEST_F(CodeLanguage, PrefixesChooseTheCharacter)
{
    cPlayerObj& p = player();
    stage->SetTarget(*other, p.m_ObjNo);
    other->m_Vars[1] = 11;
    p.m_Vars[1] = 22;
    EXPECT_EQ(Value("v1", other), 11);
    EXPECT_EQ(Value("my.v1", other), 11);
    EXPECT_EQ(Value("tg.v1", other), 22);
    EXPECT_EQ(Value("pl.v1", other), 22);
    EXPECT_EQ(Value("tg. v1", other), 22) << "a prefix waits for the next word";
    EXPECT_EQ(Value("tg.v1 + v1", other), 33) << "after a token the object is my again";
    EXPECT_EQ(Value("1 + foo.v1", other), 12) << "an unknown prefix after a token is ignored";
    EXPECT_EQ(Run("tg.v2 = my.v1 * 2", other), 1);
    EXPECT_EQ(p.m_Vars[2], 22);
    EXPECT_TRUE(services.m_ErrorBoxes.empty());
}

TEST_F(CodeLanguage, CommonAndStageVariablesIgnoreThePrefix)
{
    g_Progress.vCommonVar[3] = 7;
    EXPECT_EQ(Run("C3 = C3 + 1"), 1);
    EXPECT_EQ(g_Progress.vCommonVar[3], 8);
    EXPECT_EQ(Run("my.C3 = C3 + 1"), 1);
    EXPECT_EQ(g_Progress.vCommonVar[3], 9);
    EXPECT_EQ(Run("S254 = 5 C255 = 6"), 1);
    EXPECT_EQ(stage->m_StageVars[254], 5);
    EXPECT_EQ(g_Progress.vCommonVar[255], 6);
    EXPECT_EQ(Run("Score = 5"), 1) << "the first letter makes it stage variable 0";
    EXPECT_EQ(stage->m_StageVars[0], 5);
    EXPECT_EQ(Run("C = 4"), 1);
    EXPECT_EQ(g_Progress.vCommonVar[0], 4);
    EXPECT_EQ(Run("S1 = 2000000"), 1);
    EXPECT_EQ(stage->m_StageVars[1], 999999);
}

TEST_F(CodeLanguage, SystemVariables)
{
    g_Progress.nLives = 3;
    EXPECT_EQ(Run("time = 5000 score = -4 life = 200"), 1);
    EXPECT_EQ(stage->m_TimeLeft, 999);
    EXPECT_EQ(g_Progress.nStageScore, 0);
    EXPECT_EQ(g_Progress.nLives, 99);
    EXPECT_EQ(Value("sys.life"), 99);
    EXPECT_EQ(Value("my.score + 1"), 1) << "system variables take any prefix";
    g_Progress.nLives = kUnlimitedLives;
    EXPECT_EQ(Value("life"), 0) << "unlimited lives read 0";
    EXPECT_EQ(Run("life = 5"), 1);
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives);
}

TEST_F(CodeLanguage, AutoScrollSpeedsSetTheViewScrollingAgain)
{
    g_Stage.bAutoScrollX = 1;
    g_Stage.bAutoScrollY = 0;
    EXPECT_EQ(Run("scrlx = 600 scrly = -20"), 1);
    EXPECT_EQ(g_Stage.nAutoScrollX, 480);
    EXPECT_EQ(g_Stage.nAutoScrollY, -20);
    EXPECT_EQ(stage->m_ScrollX.m_Auto, 1);
    EXPECT_DOUBLE_EQ(stage->m_ScrollX.m_Speed, 480 * 0.1 / g_Stage.dSubSteps);
    EXPECT_EQ(stage->m_ScrollY.m_Auto, 0) << "the stage's switch of that axis is off";
}

TEST_F(CodeLanguage, HitPointsOfAnotherCharacterAtZeroAskForTheLifeCheck)
{
    stage->SetTarget(*other, player().m_ObjNo);
    other->m_Hp = 5;
    EXPECT_EQ(Run("hp = 0", other), 1);
    EXPECT_EQ(stage->m_LifeCheck, 0) << "its own hit points: the runner's flows see them";
    EXPECT_EQ(Run("tg.hp = 0", other), 1);
    EXPECT_EQ(player().m_Hp, 0);
    EXPECT_EQ(stage->m_LifeCheck, 1);
}

TEST_F(CodeLanguage, ChangedHitPointsAndSpShowTheirGauges)
{
    cPlayerObj& p = player();
    p.m_Def.nMaxHP = 100;
    p.m_Hp = 50;
    p.m_Def.nMaxSP = 10;
    p.m_Sp = 10;
    EXPECT_EQ(Run("hp = hp - 20 sp = sp"), 1);
    EXPECT_EQ(p.m_HpGauge.m_Frames, kGaugeFrames);
    EXPECT_DOUBLE_EQ(p.m_HpGauge.m_Change, -20.0 * kGaugeLength / 100);
    EXPECT_EQ(p.m_SpGauge.m_Frames, 0) << "unchanged SP shows no gauge";
}

TEST_F(CodeLanguage, SightOfThePlayerSetsItsRadius)
{
    cPlayerObj& p = player();
    EXPECT_EQ(Run("sight = 7"), 1);
    EXPECT_EQ(p.m_SightRange, 7 * 16);
    EXPECT_EQ(Run("sight = 9", other), 1);
    EXPECT_EQ(other->m_Def.nSight, 9);
    EXPECT_EQ(other->m_SightRange, 0) << "a computer character sees nothing";
}

TEST_F(CodeLanguage, RandDrawsFromTheGameGenerator)
{
    g_CodeError = 0;
    EXPECT_EQ(Value("rand(4,4)"), 4);
    for (int i = 0; i < 200; ++i) {
        const int v = Value("rand(6,1)");
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
    }
    SeedRandom(1234);
    const int r = Random();
    SeedRandom(1234);
    EXPECT_EQ(Value("rand(10, 19) + 0"), r % 10 + 10);
    // The full range: hi - lo + 1 does not fit 32 bits.
    SeedRandom(1234);
    EXPECT_EQ(Value("rand(-2147483648, 2147483647)"), r - 2147483648LL);
    // Arguments are texts of their own, worked out first.
    SeedRandom(1234);
    Random();
    const int second = Random();
    SeedRandom(1234);
    EXPECT_EQ(Value("rand( (2 * 5) , rand(19,19) )"), second % 10 + 10);
    EXPECT_EQ(g_CodeError, 0);
}

struct ErrorCase {
    const char* text;
    const char* box; // UTF-8; null: an error without a box
    int value;       // of CalcStatement
};

TEST_F(CodeLanguage, EveryErrorGivesZeroAndItsBox)
{
    const ErrorCase cases[] = {
        {"(1 + 2", "\")\"が見つかりません！", 0},
        {"v1 = rand(1,2", "関数 rand で\")\"が見つかりません！", 0},
        {"rand(1)", "関数 rand の引数が不正です！", 0},
        {"rand(1,2,3)", "関数 rand の引数が不正です！", 0},
        {"rand(1,)", "関数 rand の引数が不正です！", 0},
        {"foo.hp", "オブジェクト \"foo.\" が認識できません！", 0},
        {"my.foo.hp", "オブジェクト \"foo.\" が認識できません！", 0},
        {"1 / 0", "0除算が行われました！(1 / 0)", 0},
        {"5 % 0", "0除算が行われました！(5 % 0)", 0},
        {"+ 1", "演算子 + の左右に値がありません！", 0},
        {"1 -", "演算子 - の左右に値がありません！", 0},
        {"=", "演算子 = の左右に値がありません！", 0},
        {"5 * - 3", "演算子 * の左右に値がありません！", 0},
        {"1 * + 2", "演算子 * の左右に値がありません！", 0},
        {"C256 = 1", "変数 C256 の番号が範囲外です！", 0},
        {"S255", "変数 S255 の番号が範囲外です！", 0},
        {"S-1", "変数 S-1 の番号が範囲外です！", 0},
        {"tg.hp = 0", nullptr, 0},
        {"sys.v1", nullptr, 0},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.text);
        services.m_ErrorBoxes.clear();
        EXPECT_EQ(Value(c.text), c.value);
        EXPECT_EQ(Run(c.text), 0);
        EXPECT_EQ(g_CodeError, 1);
        if (c.box) {
            ASSERT_EQ(services.m_ErrorBoxes.size(), 2u);
            EXPECT_EQ(services.m_ErrorBoxes[0], Sjis(c.box));
        } else {
            EXPECT_TRUE(services.m_ErrorBoxes.empty());
        }
    }
    EXPECT_EQ(services.m_CloseRequests, 0) << "no text closes the game";
    EXPECT_EQ(player().m_Hp, player().m_Def.nMaxHP) << "tg.hp without a target changes nothing";
}

// An operator whose neighbour is another operator has an operand missing:
// the text is refused as a whole before anything is worked out.
TEST_F(CodeLanguage, AnOperatorBesideAnotherIsASyntaxErrorThatAssignsNothing)
{
    cPlayerObj& p = player();
    p.m_Def.nMaxHP = 50;
    struct Case {
        const char* text;
        const char* box;
    };
    const Case cases[] = {
        {"v1 = = 3", "演算子 = の左右に値がありません！"},
        {"v1 = 5 * - 3", "演算子 * の左右に値がありません！"},
        {"hp = - 5", "演算子 = の左右に値がありません！"},
        {"v1 = 1 * + 2", "演算子 * の左右に値がありません！"},
        {"v2 = 4 v1 = 3 + + 1", "演算子 + の左右に値がありません！"},
        {"v2 = 4 v1 = 3 =", "演算子 = の左右に値がありません！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        p.m_Vars[1] = 7;
        p.m_Vars[2] = 8;
        p.m_Hp = 20;
        services.m_ErrorBoxes.clear();
        EXPECT_EQ(Run(c.text), 0);
        EXPECT_EQ(g_CodeError, 1);
        ASSERT_EQ(services.m_ErrorBoxes.size(), 1u);
        EXPECT_EQ(services.m_ErrorBoxes[0], Sjis(c.box));
        EXPECT_EQ(p.m_Vars[1], 7);
        EXPECT_EQ(p.m_Vars[2], 8);
        EXPECT_EQ(p.m_Hp, 20);
        EXPECT_EQ(p.m_HpGauge.m_Frames, 0);
    }
    // A sign written against its number is part of the number.
    EXPECT_EQ(Run("v1 = 5 * -3"), 1);
    EXPECT_EQ(p.m_Vars[1], -15);
}

// Outside the common or the stage variables the checked access writes its
// line to the error log and the run report; the game is not closed.
TEST_F(CodeLanguage, AnIndexOutsideTheVariablesIsLoggedAndEndsTheText)
{
    test::TempDir dir;
    const test::ScopedCurrentDir cwd(dir.path());
    ASSERT_EQ(ReportCreate("Report_Game.txt"), 1);
    ErrLogSetFile(1, "EC_Game.txt");
    const int commons = static_cast<int>(g_Progress.vCommonVar.size());
    const int stages = static_cast<int>(stage->m_StageVars.size());
    struct Case {
        std::string text;
        std::string line;
    };
    const Case cases[] = {
        {"v1 = C" + std::to_string(commons),
         "err V[" + std::to_string(commons) + "] ( " + std::to_string(commons) + " , 4 )"},
        {"S" + std::to_string(stages) + " = 1",
         "err V[" + std::to_string(stages) + "] ( " + std::to_string(stages) + " , 4 )"},
        {"v1 = ( S-1 ) + 2", "err V[-1] ( " + std::to_string(stages) + " , 4 )"},
    };
    std::string lines;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        player().m_Vars[1] = 9;
        EXPECT_EQ(Run(c.text), 0);
        lines += c.line + "\n";
        EXPECT_EQ(dir.read("Report_Game.txt"), lines);
        EXPECT_EQ(dir.read("EC_Game.txt"), lines);
    }
    EXPECT_EQ(player().m_Vars[1], 2) << "a group's error gives 0 there and the text goes on";
    EXPECT_EQ(services.m_CloseRequests, 0);
    ErrLogSetFile(0, "");
}

TEST_F(CodeLanguage, AnErrorInsideAGroupGivesZeroThereAndTheTextGoesOn)
{
    cPlayerObj& p = player();
    p.m_Vars[1] = 5;
    EXPECT_EQ(Run("v1 = ( 1 / 0 )"), 0);
    EXPECT_EQ(p.m_Vars[1], 0);
    ASSERT_EQ(services.m_ErrorBoxes.size(), 1u);
    EXPECT_EQ(services.m_ErrorBoxes[0], Sjis("0除算が行われました！( 1 / 0 )"));
    // An assignment made before an error stays made.
    EXPECT_EQ(Run("v3 = ( v2 = 3 ) / 0"), 0);
    EXPECT_EQ(p.m_Vars[2], 3);
    EXPECT_EQ(p.m_Vars[3], 0);
}

TEST_F(CodeLanguage, OneErrorBoxPerRunOfAText)
{
    EXPECT_EQ(Run("v1 = ( 1 / 0 ) + ( 2 / 0 ) + rand(1)"), 0);
    EXPECT_EQ(services.m_ErrorBoxes.size(), 1u);
    int shown = 1;
    EXPECT_EQ(ExecCode("1 / 0", player(), 0, shown), 0);
    EXPECT_EQ(shown, 0) << "boxes held back";
    EXPECT_EQ(services.m_ErrorBoxes.size(), 1u);
    EXPECT_EQ(ExecCode("1 / 0", player(), 1, shown), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(services.m_ErrorBoxes.size(), 2u);
}

TEST_F(CodeLanguage, NestingIsLimited)
{
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '(') + "7" +
               std::string(static_cast<std::size_t>(depth), ')');
    };
    g_CodeError = 0;
    EXPECT_EQ(Value(nested(kMaxCodeDepth)), 7);
    EXPECT_EQ(g_CodeError, 0);
    EXPECT_EQ(Run(nested(kMaxCodeDepth + 1) + " + 1"), 0);
    EXPECT_EQ(Value(nested(kMaxCodeDepth + 1)), 0);
    ASSERT_FALSE(services.m_ErrorBoxes.empty());
    EXPECT_EQ(services.m_ErrorBoxes[0], Sjis("括弧の入れ子が深すぎます！"));
    // Deep nesting runs in bounded depth whatever its size.
    EXPECT_EQ(Run(std::string(100000, '(')), 0);
    EXPECT_EQ(Run("v1 = " + nested(100000)), 0);
}

} // namespace
