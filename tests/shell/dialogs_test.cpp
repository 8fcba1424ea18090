// The start-up dialog with Boot.dat, the ranking-name dialog with its limit
// of three characters, and the placement and mouse sampling of the window
// framework, driven through the dialog hook.
#include "core/sjis_text.h"
#include "data/ed_data.h"
#include "data/ed_option.h"
#include "data/ed_system.h"
#include "platform/dialog.h"
#include "platform/input.h"
#include "platform/text_encoding.h"
#include "scenes/scene_mgr.h"
#include "shell/boot_dialog.h"
#include "shell/dialog_controls.h"
#include "shell/name_dialog.h"
#include "shell/system_ini.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::int32_t> Ints(const std::string& bytes)
{
    std::vector<std::int32_t> out(bytes.size() / 4);
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

class BootDialog : public ::testing::Test {
protected:
    BootDialog() : cwd(dir.path()) {}
    void SetUp() override
    {
        g_BootData = cBootData();
        g_System.strTitle = Sjis("ゲーム");
        std::filesystem::create_directory(dir / "user_data"); // made by every start
        plat::setDialogResponder([this](plat::DialogPlayer& p) {
            ++shown;
            caption = p.caption();
            d3d = p.check(IDC_BOOT_D3D);
            skip = p.check(IDC_BOOT_SKIP);
            if (play) play(p);
        });
    }
    void TearDown() override
    {
        plat::setDialogResponder(nullptr);
        g_System = cEdSystem();
        g_BootData = cBootData();
    }

    test::TempDir dir;
    test::ScopedCurrentDir cwd;
    std::function<void(plat::DialogPlayer&)> play;
    int shown = 0, d3d = -1, skip = -1;
    std::string caption;
};

TEST_F(BootDialog, TheFirstStartAsksWithDirect3DAndStartingKeepsTheAnswer)
{
    play = [](plat::DialogPlayer& p) { p.click(IDC_BOOT_START); };
    SYSTEMINI s;
    s.Direct3D = 2;
    ASSERT_TRUE(AskBackEnd(s));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(caption, Sjis("ゲーム"));
    EXPECT_EQ(d3d, 1);
    EXPECT_EQ(skip, 0);
    EXPECT_EQ(s.Direct3D, 1);
    EXPECT_EQ(Ints(dir.read("user_data/Boot.dat")), (std::vector<std::int32_t>{511, 2, 1, 0, 0}));
}

TEST_F(BootDialog, DirectDrawWithTheBoxTickedIsUsedWithoutAskingAgain)
{
    play = [](plat::DialogPlayer& p) {
        p.click(IDC_BOOT_DDRAW);
        p.click(IDC_BOOT_SKIP);
        p.click(IDC_BOOT_START);
    };
    SYSTEMINI s;
    ASSERT_TRUE(AskBackEnd(s));
    EXPECT_EQ(s.Direct3D, 0);
    EXPECT_EQ(Ints(dir.read("user_data/Boot.dat")), (std::vector<std::int32_t>{511, 2, 0, 1, 0}));

    g_BootData = cBootData();
    shown = 0;
    s.Direct3D = 2;
    ASSERT_TRUE(AskBackEnd(s));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(s.Direct3D, 0);
}

TEST_F(BootDialog, QuittingOrClosingEndsTheStartAndWritesNothing)
{
    for (int quitBy : {static_cast<int>(IDC_BOOT_QUIT), 0}) {
        play = [quitBy](plat::DialogPlayer& p) {
            p.click(IDC_BOOT_DDRAW);
            if (quitBy)
                p.click(quitBy);
            else
                p.close();
        };
        SYSTEMINI s;
        EXPECT_FALSE(AskBackEnd(s));
        EXPECT_FALSE(std::filesystem::exists(dir / "user_data/Boot.dat"));
    }
}

class NameDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Option.strRegName = "aaa";
        g_SceneMgr.g_PlayMode = 5; // the options ask
    }
    void TearDown() override
    {
        plat::setDialogResponder(nullptr);
        g_SceneMgr = cSceneMgr{};
        g_Option = cEdOption();
        g_RankingNameTarget = nullptr;
    }
    // Plays the dialog with the typed texts, then OK (or a close).
    std::vector<std::string> play(std::vector<std::string> typed, bool ok, int* result = nullptr)
    {
        std::vector<std::string> shown;
        plat::setDialogResponder([&](plat::DialogPlayer& p) {
            shown.push_back(plat::sjisToUtf8(p.text(IDC_NAME_EDIT)));
            for (const auto& t : typed) {
                p.type(IDC_NAME_EDIT, t);
                shown.push_back(plat::sjisToUtf8(p.text(IDC_NAME_EDIT)));
            }
            if (ok)
                p.click(IDC_NAME_OK);
            else
                p.close();
        });
        const int r = RunNameDialog();
        if (result) *result = r;
        return shown;
    }
};

TEST_F(NameDialog, TheOptionsNameIsShownAndReplacedByOK)
{
    int result = -1;
    EXPECT_EQ(play({"b", "bc", "bcd"}, true, &result),
              (std::vector<std::string>{"aaa", "b", "bc", "bcd"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_Option.strRegName, "bcd");
}

TEST_F(NameDialog, AFourthCharacterIsRefusedAndThreeDoubleByteOnesFit)
{
    EXPECT_EQ(play({"abcd", "ゲーム", "ゲームだ", "ab"}, true),
              (std::vector<std::string>{"aaa", "aaa", "ゲーム", "ゲーム", "ab"}));
    EXPECT_EQ(g_Option.strRegName, "ab");
}

TEST_F(NameDialog, ClosingLeavesTheNameAsItWas)
{
    int result = -1;
    play({"xyz"}, false, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_Option.strRegName, "aaa");
}

TEST_F(NameDialog, AStoredNameLongerThanTheLimitIsCutFromItsEnd)
{
    g_Option.strRegName = Sjis("ゲームです");
    EXPECT_EQ(play({}, true), (std::vector<std::string>{"ゲーム"}));
    EXPECT_EQ(g_Option.strRegName, Sjis("ゲーム"));
}

TEST_F(NameDialog, TheGamePlaySceneNamesTheStringItEditsAndWithoutOneNothingIsBound)
{
    g_SceneMgr.g_PlayMode = 3;
    std::string rankingName = "zz";
    g_RankingNameTarget = &rankingName;
    EXPECT_EQ(play({"qq"}, true), (std::vector<std::string>{"zz", "qq"}));
    EXPECT_EQ(rankingName, "qq");
    EXPECT_EQ(g_Option.strRegName, "aaa");
    g_RankingNameTarget = nullptr;
    EXPECT_EQ(play({"rr"}, true).front(), "");
    EXPECT_EQ(g_Option.strRegName, "aaa");
}

TEST(WindowPlacement, ARequestedPositionIsKeptInsideTheWorkArea)
{
    struct Case {
        int x, y, wantX, wantY;
    };
    const Case cases[] = {
        {240, 220, 240, 220}, {900, 600, 724, 538}, {-5, -1, 0, 0}, {-1000, 5, -1000, 5}};
    for (const auto& c : cases) {
        const PlacedPos p = PlaceWindow(c.x, c.y, 300, 200, 1024, 738);
        EXPECT_EQ(p.x, c.wantX);
        EXPECT_EQ(p.y, c.wantY);
    }
}

TEST(MouseButtons, HeldPressedAndReleasedFollowTheButtonFrameByFrame)
{
    plat::releaseAllKeys();
    MouseState m;
    struct Step {
        bool down;
        std::int32_t held, pressed, released;
    };
    const Step steps[] = {{true, 1, 1, 0}, {true, 1, 0, 0}, {false, 0, 0, 1}, {false, 0, 0, 0}};
    for (const auto& s : steps) {
        plat::setKeyDown(plat::VK_LBUTTON, s.down);
        EXPECT_EQ(UpdateMouseButtons(m, 7), 1);
        EXPECT_EQ(m.leftHeld, s.held);
        EXPECT_EQ(m.leftPressed, s.pressed);
        EXPECT_EQ(m.leftReleased, s.released);
        EXPECT_EQ(m.rightHeld, 0);
    }
    plat::releaseAllKeys();
}

} // namespace
