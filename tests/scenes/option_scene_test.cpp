// The options of the generated game, driven by the player's input: values
// that wrap at their ends, the sound-effect volume and the palette variant
// put in force at once (and back on cancel), the ranking name typed in the
// name dialog, the music player set up again as the option says, and
// Option.dat written on leaving, read back the same, or said when it cannot
// be written. Also the palette variants of the 8-bit colour mode, whose
// blend table and palette change together or not at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_data.h"
#include "data/ed_option.h"
#include "data/ed_system.h"
#include "media/bgm.h"
#include "media/dd_palette.h"
#include "platform/atomic_file.h"
#include "scenes/hbt_palette.h"
#include "scenes/menu_run.h"
#include "scenes/option_scene.h"

namespace {

class Options : public test::MenuRun {
protected:
    void SetUp() override
    {
        test::MenuRun::SetUp();
        // The title menu opened the options, every one of them offered.
        g_SceneMgr.g_CurScene = SCENE_OPTION;
        g_SceneMgr.g_PlayMode = PLAYMODE_OPTIONS;
        for (cEdMenuItem& item : g_System.vOptionMenu)
            item.bEnabled = 1;
    }
    void TearDown() override
    {
        plat::setAtomicWriteFailureHook(nullptr);
        DSUninit();
        g_Bgm.Release();
        test::MenuRun::TearDown();
    }
    static constexpr std::int32_t PLAYMODE_OPTIONS = 5;

    cOptionScene& Open()
    {
        EXPECT_TRUE(RunUntil(SCENE_OPTION, cOptionScene::PHASE_MENU, 20));
        return *Current<cOptionScene>();
    }
    // Moves to the row of the item and starts changing it.
    void Edit(std::int32_t item)
    {
        for (int i = 0; i < item; ++i)
            Press(kDirDown);
        Confirm();
    }
    // Leaves the options and lets the fade end.
    void Leave()
    {
        Cancel();
        for (int i = 0; i < 10; ++i)
            Frame();
        ASSERT_EQ(g_SceneMgr.g_CurScene, SCENE_TITLE);
    }
    // The system sounds loaded, as the start-up loads them.
    void LoadSystemSounds()
    {
        ASSERT_TRUE(DS_Init(0, 22050, 8, 1));
        g_SoundTable.assign(g_Sounds.size(), DSSOUNDINFO{});
        for (int slot = 0; slot < kSystemSounds; ++slot) {
            g_SoundTable[static_cast<std::size_t>(slot)].strFile = g_System.vSeName[slot];
            g_SoundTable[static_cast<std::size_t>(slot)].nCopies = 2;
        }
        DSLoadSounds(g_Sounds, g_SoundTable, SeVolumeAttenuation(g_Option.nSeVolume));
        ASSERT_FALSE(g_Sounds[1].lpBuffers.empty());
    }
    static std::vector<int> FirstCopyVolumes()
    {
        std::vector<int> volumes;
        for (int slot = 0; slot < kSystemSounds; ++slot)
            volumes.push_back(DSGetVolume(g_Sounds[static_cast<std::size_t>(slot)], 0));
        return volumes;
    }
};

TEST_F(Options, ValuesWrapAtTheirEndsAndAreWrittenToOptionDatOnLeaving)
{
    struct Case {
        std::int32_t item;
        std::int32_t cEdOption::*member;
        std::int32_t from;
        std::uint16_t dir;
        std::int32_t to;
    };
    const Case cases[] = {
        {OPTION_PALETTE, &cEdOption::nPalette, 23, kDirUp, 0},
        {OPTION_PALETTE, &cEdOption::nPalette, 0, kDirDown, 23},
        {OPTION_MUSIC, &cEdOption::bBgm, 1, kDirUp, 0},
        {OPTION_SE_VOLUME, &cEdOption::nSeVolume, 10, kDirUp, 0},
        {OPTION_SE_VOLUME, &cEdOption::nSeVolume, 7, kDirDown, 6},
        {OPTION_RANK_MODE, &cEdOption::nRankMode, 3, kDirUp, 0},
        {OPTION_RANK_MODE, &cEdOption::nRankMode, 1, kDirUp, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        DestroyScenes();
        g_SceneMgr.g_CurScene = SCENE_OPTION;
        g_Option.*c.member = c.from;
        Open();
        Edit(c.item);
        Press(c.dir);
        EXPECT_EQ(g_Option.*c.member, c.to);
        Confirm();
        ASSERT_NO_FATAL_FAILURE(Leave());
        cEdOption back;
        ASSERT_EQ(LoadFile(back, "user_data\\Option.dat"), 1);
        EXPECT_EQ(back.*c.member, c.to);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Options, TheVolumeActsAtOnceAndCancelPutsTheSavedValueBack)
{
    g_Option.nSeVolume = 10;
    ASSERT_NO_FATAL_FAILURE(LoadSystemSounds());
    cOptionScene& options = Open();
    Edit(OPTION_SE_VOLUME);
    for (int i = 0; i < 7; ++i)
        Press(kDirDown);
    EXPECT_EQ(g_Option.nSeVolume, 3);
    EXPECT_EQ(FirstCopyVolumes(), std::vector<int>(kSystemSounds, -1300));
    EXPECT_EQ(DSGetVolume(g_Sounds[1], 1), 0) << "other copies keep their volume";
    Cancel();
    EXPECT_EQ(g_Option.nSeVolume, 10);
    EXPECT_EQ(FirstCopyVolumes(), std::vector<int>(kSystemSounds, 0));
    EXPECT_EQ(options.m_SubState, cOptionScene::MENU_CHOOSE);
    EXPECT_EQ(g_MenuCursor.top->row, OPTION_SE_VOLUME) << "back on the item";
}

TEST_F(Options, TheRankingNameComesFromTheNameDialogAndIsKept)
{
    nameDialog = [] { g_Option.strRegName = "xyz"; };
    Open();
    Edit(OPTION_RANK_NAME);
    EXPECT_EQ(requests, std::vector<std::uint32_t>{UM_NAMEDLG});
    EXPECT_EQ(g_Option.strRegName, "xyz");
    ASSERT_NO_FATAL_FAILURE(Leave());
    cEdOption back;
    ASSERT_EQ(LoadFile(back, "user_data\\Option.dat"), 1);
    EXPECT_EQ(back.strRegName, "xyz");
}

TEST_F(Options, TheRowsAreTheEnabledItemsAndNeverMoreThanTheSixItems)
{
    struct Case {
        const char* name;
        int size;
        std::vector<int> enabled;
        std::vector<std::int32_t> rows;
    };
    const Case cases[] = {
        {"all six", 6, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {"name and back", 6, {4, 5}, {4, 5}},
        {"nine enabled", 9, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5}},
        {"none", 6, {}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_System.vOptionMenu.resize(static_cast<std::size_t>(c.size));
        for (int i = 0; i < c.size; ++i)
            g_System.vOptionMenu[static_cast<std::size_t>(i)].bEnabled =
                std::count(c.enabled.begin(), c.enabled.end(), i) ? 1 : 0;
        DestroyScenes();
        g_SceneMgr.g_CurScene = SCENE_OPTION;
        requests.clear();
        cOptionScene& options = Open();
        EXPECT_EQ(options.m_VisibleIds, c.rows);
        Confirm();
        EXPECT_EQ(options.m_EditId, c.rows[0]);
        EXPECT_EQ(requests.size(), c.rows[0] == OPTION_RANK_NAME ? 1u : 0u);
    }
}

TEST_F(Options, TheMusicPlayerIsSetUpAgainOnLeavingOnlyWithTheMusicOn)
{
    for (const std::int32_t on : {0, 1}) {
        SCOPED_TRACE(on);
        DestroyScenes();
        g_SceneMgr.g_CurScene = SCENE_OPTION;
        g_Option.bBgm = 1 - on;
        Open();
        Edit(OPTION_MUSIC);
        Press(kDirDown);
        Confirm();
        ASSERT_NO_FATAL_FAILURE(Leave());
        EXPECT_EQ(g_Option.bBgm, on);
        EXPECT_EQ(g_Bgm.Register(0, "bgm\\Title.mid"), on) << "a player that is set up";
    }
}

TEST_F(Options, OptionDatThatCannotBeWrittenIsSaidAndTheOptionsStayInForce)
{
    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    Open();
    Edit(OPTION_RANK_MODE);
    Press(kDirUp);
    Confirm();
    ASSERT_NO_FATAL_FAILURE(Leave());
    EXPECT_EQ(boxes, std::vector<std::string>{"user_data\\Option.dat に保存できませんでした！"});
    EXPECT_EQ(g_Option.nRankMode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "user_data/Option.dat"));
}

// The 8-bit colour mode of the surface back end, where palette variants act.
class PaletteVariants : public Options {
protected:
    void SetUp() override
    {
        mode = {"Surface8", 0, 8, 0};
        Options::SetUp();
        loaded = g_Palette;
        // The blend tables are the test's own: only those it writes are there.
        std::filesystem::remove_all(dir_ / "bmp/hbt");
    }
    // A blend table whose bytes tell the variant apart.
    std::string Table(int variant) const
    {
        std::string table(65536, '\0');
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = static_cast<char>((i + static_cast<std::size_t>(variant) * 7) & 0xFF);
        return table;
    }
    void WriteTable(int variant) const
    {
        char name[32];
        std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", variant);
        dir_.write(name, Table(variant));
    }
    std::string BlendTable() const { return std::string(g_BlendTable.begin(), g_BlendTable.end()); }

    std::array<DDPALENTRY, 256> loaded; // the palette picture's colours
};

bool SameColours(const DDPALENTRY& a, const DDPALENTRY& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST_F(PaletteVariants, AVariantShiftsTheColourGroupsAndBringsItsBlendTable)
{
    WriteTable(1);
    WriteTable(12);
    auto rotated = loaded;
    DDRotatePalette(rotated.data(), 16, 207, 16, 1, rotated.data());
    ASSERT_EQ(LoadHbtPalette(1), 1);
    EXPECT_TRUE(BlendTable() == Table(1));
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameColours(g_Palette[i], rotated[i])) << i;
    EXPECT_TRUE(SameColours(g_ScreenPalette[100], g_Palette[100]));

    ASSERT_EQ(LoadHbtPalette(12), 1);
    EXPECT_TRUE(BlendTable() == Table(12));
    for (int i = 16; i <= 207; ++i)
        EXPECT_TRUE(SameColours(g_Palette[i], loaded[16 + (i - 16) % 16])) << i;
    EXPECT_TRUE(SameColours(g_Palette[208], loaded[208])) << "past the groups: as loaded";
}

TEST_F(PaletteVariants, AVariantThatCannotBeReadChangesNeitherTableNorPalette)
{
    WriteTable(1);
    WriteTable(2);
    ASSERT_EQ(LoadHbtPalette(1), 1);
    const auto palette = g_Palette;
    // No blend table: said in a box.
    EXPECT_EQ(LoadHbtPalette(3), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"bmp\\hbt\\hbt03.dat の読み込みに失敗！"});
    // A blend table but no palette picture.
    std::filesystem::remove(dir_ / "bmp/plt/Palette.bmp");
    EXPECT_EQ(LoadHbtPalette(2), 0);
    EXPECT_TRUE(BlendTable() == Table(1)) << "the table of the colours in use";
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameColours(g_Palette[i], palette[i])) << i;
}

TEST_F(PaletteVariants, TheOptionsPutTheChosenVariantInForceAtOnce)
{
    WriteTable(0);
    WriteTable(1);
    cOptionScene& options = Open();
    Edit(OPTION_PALETTE);
    Press(kDirUp);
    EXPECT_EQ(g_Option.nPalette, 1);
    EXPECT_TRUE(BlendTable() == Table(1));
    EXPECT_FALSE(SameColours(g_Palette[16], loaded[16]));
    // Down to 0, then past it to 23, whose table is not there: said, and
    // variant 0 stays in force.
    Press(kDirDown);
    EXPECT_TRUE(BlendTable() == Table(0));
    EXPECT_TRUE(boxes.empty());
    Press(kDirDown);
    EXPECT_EQ(g_Option.nPalette, 23);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(BlendTable() == Table(0));
    Confirm();
    EXPECT_EQ(options.m_SubState, cOptionScene::MENU_CHOOSE);
}

} // namespace
