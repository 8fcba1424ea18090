// The system data: defaults, the current layout, the upgrades of older files
// and the checks made on loading.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/ed_system.h"
#include "data/font_faces.h"
#include "data/load_checks.h"
#include "data/str_append_f.h"
#include "file_bytes.h"

namespace {

using test::FileBytes;

// The plain members a file of version v holds, in file order, with their sizes.
std::vector<std::pair<std::string, int>> membersAt(int v)
{
    std::vector<std::pair<std::string, int>> m;
    auto add = [&m](const char* name, bool present = true, int size = 4) {
        if (present) m.emplace_back(name, size);
    };
    add("bExtraLife", v >= 185);
    add("nExtraLifeScore");
    add("bPauseHidesObjects");
    add("bFontSymbols");
    add("nFontFace", v >= 205);
    add("bFontCentred", v >= 170);
    add("bKeepTestFlows", v >= 113);
    add("bRecordReplay", v >= 184);
    add("bTitleMenuPicture", v >= 157);
    add("bCarryLives");
    add("bContinueMenu", v >= 191);
    add("bMapShowLives", v >= 191);
    add("nChallengeStages");
    add("bAllChallengesOpen");
    add("bMapShowScore", v >= 167);
    add("bSaveMenuShowTotal", v >= 167);
    add("bRestoreVarsStory", v >= 188);
    add("bRetryStory", v >= 224);
    add("bChallengeShowHigh", v >= 167);
    add("bChallengeShowTotal", v >= 167);
    add("bRestoreVarsChallenge", v >= 188);
    add("bRetryChallenge", v >= 224);
    add("bRestoreVarsFree", v >= 188);
    add("bRestoreVarsDirect", v >= 192);
    add("nColourMode", v >= 187);
    add("byKeyR", v >= 187, 1);
    add("byKeyG", v >= 187, 1);
    add("byKeyB", v >= 187, 1);
    add("bNoScrollCarry", v >= 214);
    add("unused", v >= 221 && v <= 259);
    add("bScaleByBox", v >= 261);
    add("bKeepDefeated", v >= 272);
    add("bTintUnderD3D", v >= 287);
    add("bColourCycle", v >= 289);
    return m;
}

struct OldSystem {
    int version = 511;
    std::map<std::string, int> values; // members not named are 0
    std::vector<std::uint8_t> carryOver = std::vector<std::uint8_t>(25, 0);
    std::vector<std::string> sysText = std::vector<std::string>(28, "t");
    std::vector<std::string> saveMenu = {"a", "b", "c", "d"};
    std::vector<std::pair<std::string, int>> options = {{"Direct3D", 2}, {"WindowMode", 0},
                                                        {"Bpp", 0},      {"VSync", 2},
                                                        {"ShowFps", 1},  {"FreeStage", 0}};
    int modeFlags = 4;
    std::vector<std::int32_t> musicNo = {0, 0, 0, 0};
};

void putMenu(FileBytes& b, const std::vector<std::string>& labels)
{
    b.i32(static_cast<std::int32_t>(labels.size()));
    for (const std::string& label : labels)
        b.i32(1).i32(1).i32(1).str(label);
}

// System.dat of an older version, in that version's layout.
FileBytes systemFile(const OldSystem& s)
{
    const int v = s.version;
    FileBytes b;
    b.i32(v);
    const auto members = membersAt(v);
    b.i32(static_cast<std::int32_t>(members.size()));
    for (const auto& [name, size] : members) {
        const auto found = s.values.find(name);
        const int value = found == s.values.end() ? 0 : found->second;
        if (size == 1) {
            b.u8(static_cast<std::uint8_t>(value));
        } else {
            b.i32(value);
        }
    }
    b.i32(1).str("Title");
    b.i32(static_cast<std::int32_t>(s.carryOver.size()));
    for (std::uint8_t c : s.carryOver)
        b.u8(c);
    if (v >= 501) {
        b.i32(25);
        for (int i = 0; i < 25; ++i)
            b.u8(i == 3 ? 1 : 0);
    }
    b.i32(5);
    for (int i = 0; i < 5; ++i)
        b.i32(4).i32(1).i32(0).i32(0).i32(i).i32(1).str("label");
    b.i32(4).i32(5).i32(5).i32(5).i32(99);
    if (v >= 191) b.i32(4).i32(1).i32(1).i32(1).i32(1);
    if (v >= 186) {
        b.i32(s.modeFlags);
        for (int k = 0; k < s.modeFlags; ++k)
            b.i32(1).i32(1).i32(0).i32(5).u8(1).u8(1).u8(1).u8(1).u8(1);
    }
    b.i32(static_cast<std::int32_t>(s.sysText.size()));
    for (const std::string& t : s.sysText)
        b.str(t);
    b.i32(17);
    for (int i = 0; i < 17; ++i)
        b.str("se" + std::to_string(i) + ".wav");
    b.i32(static_cast<std::int32_t>(s.musicNo.size()));
    for (std::int32_t m : s.musicNo)
        b.i32(m);
    if (v >= 202) b.i32(4).u8(0).u8(1).u8(0).u8(1);
    putMenu(b, {"1", "2", "3", "4", "5", "6", "7"});
    putMenu(b, s.saveMenu);
    putMenu(b, {"o1", "o2", "o3", "o4", "o5", "o6"});
    b.i32(static_cast<std::int32_t>(s.options.size()));
    for (const auto& [name, value] : s.options) {
        b.i32(2).i32(name == "FreeStage" ? 1 : 0).i32(value).i32(2).str(name).str("");
    }
    return b;
}

cEdSystem loaded(const OldSystem& s)
{
    cEdSystem system;
    EXPECT_EQ(LoadFileBytes(system, systemFile(s).bytes()), 1);
    return system;
}

TEST(SystemData, DefaultsOfANewRecord)
{
    cEdSystem s;
    EXPECT_EQ(s.nExtraLifeScore, 100);
    EXPECT_EQ(s.nFontFace, 60);
    EXPECT_EQ(s.nChallengeStages, 40);
    EXPECT_EQ(s.vCarryOver, (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                       1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(s.vDropOnDeath[11], 1);
    EXPECT_EQ(s.vDropOnDeath[12], 1);
    EXPECT_EQ(s.vDropOnDeath[10], 0);
    ASSERT_EQ(s.vStatusItem.size(), 5u);
    EXPECT_EQ(s.vStatusItem[4].strLabel, Sjis("人"));
    EXPECT_EQ(s.vStatusItem[0].nDigits, 4);
    EXPECT_EQ(s.vTitleMenu.size(), 7u);
    EXPECT_EQ(s.vTitleMenu[6].strLabel, Sjis("しゅうりょう"));
    EXPECT_EQ(s.vSaveMenu.size(), 4u);
    EXPECT_EQ(s.vOptionMenu.size(), 6u);
    EXPECT_EQ(s.vOptionMenu[5].strLabel, "");
    EXPECT_EQ(s.vInitialLives, (std::vector<std::int32_t>{5, 5, 5, 99}));
    ASSERT_EQ(s.SysText.size(), 28u);
    EXPECT_EQ(s.SysText[16], Sjis("保存先が不明です！一度は「セーブ」して下さい！"));
    EXPECT_EQ(s.SysText[27], Sjis("F3キーでランキングへ登録"));
    EXPECT_EQ(s.vSeName.size(), 17u);
    EXPECT_EQ(s.vMusicLoop, (std::vector<std::uint8_t>{1, 1, 1, 1}));
    ASSERT_EQ(s.vSysOption.size(), 6u);
    EXPECT_EQ(s.vSysOption[0].strName, "Direct3D");
    EXPECT_EQ(s.vSysOption[0].nValue, 2);
    EXPECT_EQ(s.vSysOption[5].nKind, 1);
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_EQ(s.CountModeFlags(kind), 5);
    EXPECT_EQ(s.CountModeFlags(3), 0);
}

TEST(SystemData, CurrentFileHasThirtyThreeBlocksAndRoundTrips)
{
    cEdSystem s;
    s.strTitle = "My Game";
    s.byKeyG = 200;
    s.bColourCycle = 1;
    s.SysText[3] = "High";
    s.vSysOption[5].strText = "stg4\\x.stg4_001";
    const auto bytes = SaveToBytes(s);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[4], 33); // member blocks: 30 ints and 3 bytes
    // After the blocks (123 bytes): one string, the title.
    EXPECT_EQ(bytes[8 + 123], 1);

    cEdSystem back;
    ASSERT_EQ(LoadFileBytes(back, bytes), 1);
    EXPECT_EQ(back.strTitle, "My Game");
    EXPECT_EQ(back.byKeyG, 200);
    EXPECT_EQ(back.SysText[3], "High");
    EXPECT_EQ(SaveToBytes(back), bytes);
}

TEST(SystemData, SysTextsOfVersion168EndWhereANewRecordHasThem)
{
    OldSystem old;
    old.version = 168;
    old.sysText.clear();
    for (int i = 0; i < 21; ++i)
        old.sysText.push_back("t" + std::to_string(i));
    const cEdSystem s = loaded(old);
    ASSERT_EQ(s.SysText.size(), 28u);
    EXPECT_EQ(s.SysText[7], "t7");
    EXPECT_EQ(s.SysText[8], Sjis("残りHP"));
    EXPECT_EQ(s.SysText[9], Sjis("残りSP"));
    EXPECT_EQ(s.SysText[13], "t11");
    EXPECT_EQ(s.SysText[14], Sjis("オートセーブＯＮ"));
    EXPECT_EQ(s.SysText[15], Sjis("オートセーブＯＦＦ"));
    EXPECT_EQ(s.SysText[16], Sjis("保存先が不明です！一度は「セーブ」して下さい！"));
    EXPECT_EQ(s.SysText[21], "t16");
    EXPECT_EQ(s.SysText[22], Sjis("リトライ"));
    EXPECT_EQ(s.SysText[23], Sjis("マップへ戻る"));
    EXPECT_EQ(s.SysText[27], "t20");
}

TEST(SystemData, SaveMenuOfVersion150GetsTheAutoSaveItem)
{
    OldSystem old;
    old.version = 150;
    const cEdSystem s = loaded(old);
    ASSERT_EQ(s.vSaveMenu.size(), 4u);
    EXPECT_EQ(s.vSaveMenu[0].strLabel, "a");
    EXPECT_EQ(s.vSaveMenu[1].strLabel, Sjis("オートセーブ"));
    EXPECT_EQ(s.vSaveMenu[1].bEnabled, 1);
    EXPECT_EQ(s.vSaveMenu[2].strLabel, "b");
    EXPECT_EQ(s.vSaveMenu[3].strLabel, "c");
}

TEST(SystemData, OptionsOfVersion285GetTheDirect3DEntryInFront)
{
    OldSystem old;
    old.version = 285;
    old.options = {{"WindowMode", 1}, {"Bpp", 16},      {"VSync", 3},
                   {"ShowFps", 0},    {"FreeStage", 0}, {"Lost", 7}};
    const cEdSystem s = loaded(old);
    ASSERT_EQ(s.vSysOption.size(), 6u);
    EXPECT_EQ(s.vSysOption[0].strName, "Direct3D");
    EXPECT_EQ(s.vSysOption[0].nValue, 1);
    EXPECT_EQ(s.vSysOption[1].strName, "WindowMode");
    EXPECT_EQ(s.vSysOption[1].nValue, 1);
    EXPECT_EQ(s.vSysOption[3].strName, "VSync");
    EXPECT_EQ(s.vSysOption[3].nValue, 2);
    EXPECT_EQ(s.vSysOption[5].strName, "FreeStage");
}

TEST(SystemData, CarryOverGroupsOfOldFilesMakeRoomForTheInsertedGroups)
{
    OldSystem old;
    old.version = 100;
    old.carryOver.clear();
    for (int i = 1; i <= 22; ++i)
        old.carryOver.push_back(static_cast<std::uint8_t>(i));
    const cEdSystem s = loaded(old);
    EXPECT_EQ(s.vCarryOver,
              (std::vector<std::uint8_t>{1,  2,  3, 4,  5,  6, 7,  8,  9,  0,  10, 11, 12,
                                         13, 14, 0, 15, 16, 1, 17, 18, 19, 20, 21, 22}));
}

TEST(SystemData, SwitchesAddedSinceAnOldFileGetTheirUpgradeValues)
{
    struct Case {
        const char* member;
        int expected;
    };
    OldSystem old;
    old.version = 100;
    old.values["nChallengeStages"] = 12;
    const cEdSystem s = loaded(old);
    const std::map<std::string, int> got = {{"nChallengeStages", s.nChallengeStages},
                                            {"bKeepTestFlows", s.bKeepTestFlows},
                                            {"bTitleMenuPicture", s.bTitleMenuPicture},
                                            {"bMapShowScore", s.bMapShowScore},
                                            {"bChallengeShowTotal", s.bChallengeShowTotal},
                                            {"bFontCentred", s.bFontCentred},
                                            {"bRecordReplay", s.bRecordReplay},
                                            {"bExtraLife", s.bExtraLife},
                                            {"byKeyG", s.byKeyG},
                                            {"bRestoreVarsFree", s.bRestoreVarsFree},
                                            {"bContinueMenu", s.bContinueMenu},
                                            {"bMapShowLives", s.bMapShowLives},
                                            {"bRestoreVarsDirect", s.bRestoreVarsDirect},
                                            {"nFontFace", s.nFontFace},
                                            {"bNoScrollCarry", s.bNoScrollCarry},
                                            {"bRetryStory", s.bRetryStory},
                                            {"bScaleByBox", s.bScaleByBox},
                                            {"bKeepDefeated", s.bKeepDefeated},
                                            {"bTintUnderD3D", s.bTintUnderD3D},
                                            {"bColourCycle", s.bColourCycle}};
    const Case cases[] = {
        {"nChallengeStages", 12},  {"bKeepTestFlows", 0},      {"bTitleMenuPicture", 0},
        {"bMapShowScore", 1},      {"bChallengeShowTotal", 1}, {"bFontCentred", 0},
        {"bRecordReplay", 1},      {"bExtraLife", 1},          {"byKeyG", 177},
        {"bRestoreVarsFree", 1},   {"bContinueMenu", 0},       {"bMapShowLives", 0},
        {"bRestoreVarsDirect", 1}, {"nFontFace", 60},          {"bNoScrollCarry", 1},
        {"bRetryStory", 0},        {"bScaleByBox", 1},         {"bKeepDefeated", 0},
        {"bTintUnderD3D", 1},      {"bColourCycle", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(got.at(c.member), c.expected) << c.member;
    EXPECT_EQ(s.vUnlimitedLives, (std::vector<std::int32_t>{0, 0, 0, 1}));
    EXPECT_EQ(s.vMusicLoop, (std::vector<std::uint8_t>{1, 1, 1, 1}));
    EXPECT_EQ(s.vDropOnDeath, std::vector<std::uint8_t>(25, 0));
    // Status entries before 204 draw their number over the gauge.
    EXPECT_EQ(s.vStatusItem[2].bGaugeNumber, 1);
    EXPECT_EQ(loaded(OldSystem{}).vStatusItem[2].bGaugeNumber, 0);
    // Before 181 the last two ranking kinds did not exist.
    EXPECT_EQ(s.CountModeFlags(0), 3);

    // Colour cycling follows the colour mode of files before 289.
    OldSystem fullColour;
    fullColour.version = 288;
    fullColour.values["nColourMode"] = 1;
    EXPECT_EQ(loaded(fullColour).bColourCycle, 0);
}

TEST(SystemData, TheExtraBlockOfVersions221To259IsReadAndDropped)
{
    for (int version : {220, 221, 259, 260}) {
        SCOPED_TRACE(version);
        OldSystem old;
        old.version = version;
        old.values["unused"] = 12345;
        old.values["bNoScrollCarry"] = 0;
        const cEdSystem s = loaded(old);
        EXPECT_EQ(s.strTitle, "Title");
        EXPECT_EQ(s.bNoScrollCarry, 0);
        const auto bytes = SaveToBytes(*std::make_unique<cEdSystem>(s));
        EXPECT_EQ(bytes[4], 33);
    }
}

TEST(SystemData, MusicNumbersOutsideTheBgmTableBecomeNone)
{
    ASSERT_EQ(g_Database.Bgm.size(), 2u);
    OldSystem old;
    old.musicNo = {1, 2, -1, 0};
    const cEdSystem s = loaded(old);
    EXPECT_EQ(s.vMusicNo, (std::vector<std::int32_t>{1, 0, 0, 0}));
}

TEST(SystemData, ShortFixedRoleListsAreCompletedFromTheDefaults)
{
    OldSystem old;
    old.sysText = {"only"};
    old.modeFlags = 2;
    old.options.resize(3);
    old.musicNo = {1};
    const cEdSystem s = loaded(old);
    ASSERT_EQ(s.SysText.size(), 28u);
    EXPECT_EQ(s.SysText[0], "only");
    EXPECT_EQ(s.SysText[27], Sjis("F3キーでランキングへ登録"));
    ASSERT_EQ(s.vModeFlags.size(), 4u);
    EXPECT_EQ(s.CountModeFlags(3), 0);
    EXPECT_EQ(s.vSysOption.size(), 6u);
    EXPECT_EQ(s.vMusicNo.size(), 4u);
}

TEST(SystemData, DamagedFileIsRefused)
{
    const FileBytes good = systemFile(OldSystem{});
    for (std::size_t cut = 0; cut < good.bytes().size(); cut += 13) {
        SCOPED_TRACE(cut);
        cEdSystem s;
        s.strTitle = "live";
        const std::vector<std::uint8_t> shortFile(good.bytes().begin(), good.bytes().begin() + cut);
        EXPECT_EQ(LoadFileBytes(s, shortFile), 0);
        EXPECT_EQ(s.strTitle, "live");
        EXPECT_EQ(s.SysText.size(), 28u);
    }
}

TEST(SystemData, ShiftUpMovesTheTailAndLeavesTheSlot)
{
    std::vector<int> v = {1, 2, 3, 4};
    ShiftUp(v, 1);
    EXPECT_EQ(v, (std::vector<int>{1, 2, 2, 3}));
    ShiftUp(v, 9);
    EXPECT_EQ(v, (std::vector<int>{1, 2, 2, 3}));
}

TEST(SystemData, FontFacesAndFormattedAppends)
{
    EXPECT_STREQ(FontFaceName(60), Sjis("ＭＳ Ｐゴシック"));
    EXPECT_STREQ(FontFaceName(0), "System");
    EXPECT_STREQ(FontFaceName(122), "");
    EXPECT_STREQ(FontFaceName(500), Sjis("ＭＳ Ｐゴシック"));
    EXPECT_STREQ(FontFaceName(-1), Sjis("ＭＳ Ｐゴシック"));

    std::string s = "a";
    StrAppendF(s, "%d-%s", 7, "b");
    EXPECT_EQ(s, "a7-b");
}

} // namespace
