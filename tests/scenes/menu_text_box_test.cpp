// The box of system texts: its left edge centres it, its size counts
// characters (a Shift-JIS pair is one) in 16-pixel cells with the cursor
// cell, and its text is the system texts as they stand, percent signs
// included.

#include <gtest/gtest.h>

#include <string>

#include "core/sjis_text.h"
#include "data/ed_system.h"
#include "scenes/menu_text_box.h"

namespace {

class MenuTextBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_System = cEdSystem();
        g_System.SysText[19] = Sjis("しゅうりょう");                // 6 characters
        g_System.SysText[20] = "ABCD";                              // 4
        g_System.SysText[21] = std::string(Sjis("リトライ")) + "!"; // 5
        g_System.SysText[22] = "100%s";
    }
    void TearDown() override { g_System = cEdSystem(); }
};

TEST_F(MenuTextBox, TheBoxIsTheWidestTextAndOneRowPerText)
{
    int w = 0, h = 0;
    SysTextMenuSize(19, 3, 1, &w, &h);
    EXPECT_EQ(w, 112) << "6 characters and the cursor cell";
    EXPECT_EQ(h, 48);
    SysTextMenuSize(19, 3, 0, &w, &h);
    EXPECT_EQ(w, 96);
    SysTextMenuSize(20, 1, 0, &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 16);
}

TEST_F(MenuTextBox, TheLeftEdgeCentresTheBox)
{
    g_System.SysText[23] = "1234567";
    EXPECT_EQ(SysTextMenuX(320, 23, 1, 1), 256);
    EXPECT_EQ(SysTextMenuX(320, 23, 1, 0), 264);
    EXPECT_EQ(SysTextMenuX(320, 19, 3, 1), 320 - 56);
}

TEST_F(MenuTextBox, TheTextIsOneLinePerSystemTextWithTheCursorCell)
{
    EXPECT_EQ(SysTextMenuText(20, 3, 1),
              " ABCD\n " + std::string(Sjis("リトライ")) + "!\n 100%s\n");
    EXPECT_EQ(SysTextMenuText(20, 2, 0), "ABCD\n" + std::string(Sjis("リトライ")) + "!\n");
    EXPECT_EQ(SysTextMenuText(20, 0, 1), "");
}

} // namespace
