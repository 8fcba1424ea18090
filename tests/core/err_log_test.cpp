// The error log: off, it writes nothing; on, a run's first entry empties it
// and entries are written in UTF-8.
#include "core/err_log.h"
#include "core/sjis_text.h"
#include "platform/window_messages.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

namespace {

class ErrorLog : public test::ReportFixture {
protected:
    void TearDown() override
    {
        ErrLogSetFile(0, "EC_Game.txt");
        test::ReportFixture::TearDown();
    }
};

TEST_F(ErrorLog, OffItWritesNothingAndMakesNoFile)
{
    ErrLogSetFile(0, "log.txt");
    EXPECT_EQ(ErrLog("entry"), 0);
    EXPECT_EQ(ErrLogText("entry"), 0);
    ErrLogF("entry %d", 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "log.txt"));
}

TEST_F(ErrorLog, OnTheFirstEntryOfARunEmptiesTheFileAndLaterOnesAppend)
{
    dir_.write("log.txt", "left from the last run\n");
    ErrLogSetFile(1, "log.txt");
    EXPECT_EQ(ErrLog("Exit A"), 0);
    ErrLogF("%s %d", "GameLoop", 2);
    EXPECT_EQ(ErrLogText("100%"), 0);
    EXPECT_EQ(dir_.read("log.txt"), "Exit A\nGameLoop 2\n100%\n");
}

TEST_F(ErrorLog, TheGamesShiftJisTextsAreWrittenInUtf8)
{
    ErrLogSetFile(1, "log.txt");
    EXPECT_EQ(ErrLog(Sjis("DDInit成功")), 0);
    ErrLogF(Sjis("%s読み込み失敗！"), "wave\\hit.wav");
    EXPECT_EQ(dir_.read("log.txt"), "DDInit成功\nwave\\hit.wav読み込み失敗！\n");
}

TEST_F(ErrorLog, FatalErrFClosesTheWindowWhetherOrNotTheLogIsOn)
{
    for (int enabled : {0, 1}) {
        ErrLogSetFile(enabled, "log.txt");
        FatalErrF(g_hMainWnd, "scene error %s", "x");
        const auto posted = drainPosted();
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].msg, WM_CLOSE);
        EXPECT_EQ(posted[0].wnd, g_hMainWnd.load());
    }
}

} // namespace
