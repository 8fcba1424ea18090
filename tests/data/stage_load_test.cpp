// Loading a stage by name on the loader thread: the newest numbered file,
// the end-code check, the hero check, the failure messages, the copy kept
// of the stage's settings, and a quit that arrives during the load.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/stage_load.h"
#include "platform/message_box.h"
#include "platform/thread.h"
#include "platform/window_messages.h"
#include "stage_fixtures.h"
#include "support/report_fixture.h"

namespace {

// A playable stage of the given width, with a hero and a few blocks.
cEdStage PlayableStage(int width, int blocks = 3)
{
    cEdStage stage;
    stage.nWidth = width;
    stage.nHeight = 20;
    stage.PlacedCharas = {test::Hero()};
    for (int i = 0; i < blocks; ++i) {
        cEdBlock block = NoneBlock();
        block.nX = static_cast<std::int16_t>(i % width);
        block.nY = static_cast<std::int16_t>(i / width);
        block.nGraphicNo = 1;
        stage.PlacedBlocks.push_back(block);
    }
    stage.Layers[0].strPicture = "sky.bmp";
    stage.ResultFlags = {1, 0, 1, 0, 1};
    stage.Areas[4].Set(1, 0, 1, 0, 5, 5, 5, 5);
    return stage;
}

class StageLoading : public test::StageReportTest {
protected:
    void SetUp() override
    {
        test::StageReportTest::SetUp();
        // The live stage as a previous load left it.
        g_Stage.nWidth = 77;
    }

    // Writes a stage file into the game folder with the records' own save code.
    void WriteStage(const std::string& path, cEdStage stage, int version = kDataVersion,
                    std::size_t cut = 0)
    {
        auto bytes = test::StageAtVersion(stage, version);
        bytes.resize(bytes.size() - cut);
        dir_.write(path, std::string(bytes.begin(), bytes.end()));
    }

    // Whether the main window was asked to close.
    bool CloseRequested()
    {
        for (const plat::Message& m : drainPosted()) {
            if (m.wnd == g_hMainWnd && m.msg == WM_CLOSE) return true;
        }
        return false;
    }

    void ExpectLiveStageUntouched()
    {
        EXPECT_EQ(g_Stage.nWidth, 77);
        EXPECT_TRUE(g_Stage.PlacedCharas.empty());
    }
};

TEST_F(StageLoading, NewestNumberedFileBecomesTheLiveStage)
{
    WriteStage("data/stg4/Stage.stg4_002", PlayableStage(2));
    WriteStage("data/stg4/stage.STG4_010", PlayableStage(10));
    WriteStage("data/stg4/Other.stg4_011", PlayableStage(11));
    ASSERT_EQ(LoadStage("data\\stg4\\Stage.stg4", 1, &g_StageAtStart), 1);
    EXPECT_EQ(g_Stage.nWidth, 10);
    EXPECT_NE(g_Stage.strFileName.find("_010"), std::string::npos);
    EXPECT_EQ(g_Stage.bVersioned, 1);
    EXPECT_EQ(g_Stage.bLoaded, 1);
    EXPECT_EQ(g_Stage.PlacedBlocks.size(), 3u);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(CloseRequested());

    // The copy keeps the settings and none of the objects.
    EXPECT_EQ(g_StageAtStart.nWidth, 10);
    EXPECT_EQ(g_StageAtStart.nSubSteps, g_Stage.nSubSteps);
    EXPECT_EQ(g_StageAtStart.Layers[0].strPicture, "sky.bmp");
    EXPECT_EQ(g_StageAtStart.ResultFlags, g_Stage.ResultFlags);
    EXPECT_EQ(g_StageAtStart.Areas[4].nLeft, 5);
    EXPECT_TRUE(g_StageAtStart.PlacedBlocks.empty());
    EXPECT_TRUE(g_StageAtStart.PlacedCharas.empty());
    EXPECT_TRUE(g_StageAtStart.PlacedItems.empty());
    EXPECT_TRUE(g_StageAtStart.PaletteBlocks.empty());
    EXPECT_TRUE(g_StageAtStart.PaletteCharas.empty());
    EXPECT_TRUE(g_StageAtStart.PaletteItems.empty());

    // A file named exactly, without a copy.
    ASSERT_EQ(LoadStage("data\\stg4\\Stage.stg4_002", 0, nullptr), 1);
    EXPECT_EQ(g_Stage.nWidth, 2);
    EXPECT_EQ(g_Stage.bVersioned, 0);
    EXPECT_EQ(g_StageAtStart.nWidth, 10);
}

TEST_F(StageLoading, FailuresSayWhyAndLeaveTheLiveStageAlone)
{
    cEdStage noHero = PlayableStage(5);
    noHero.PlacedCharas[0].nGraphicNo = 0;

    WriteStage("cut.stg4_000", PlayableStage(5), 200, 1);
    WriteStage("nohero.stg4_000", noHero);

    struct Case {
        const char* what;
        const char* path;
        int versioned;
        std::string box; // empty: none
        bool closes;
    };
    const Case cases[] = {
        {"no numbered file", "missing.stg4", 1, "", false},
        {"a named file that is missing", "missing.stg4_000", 0,
         "ステージファイル missing.stg4_000 の読み込みに失敗しました！", false},
        {"a file cut short", "cut.stg4", 1, "ステージファイル cut.stg4_000 が破損しています！",
         true},
        {"no hero", "nohero.stg4", 1, "主人公が配置されていないのでプレイできません！", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        g_StageAtStart.nWidth = 66;
        EXPECT_EQ(LoadStage(c.path, c.versioned, &g_StageAtStart), 0);
        ExpectLiveStageUntouched();
        EXPECT_EQ(g_StageAtStart.nWidth, 66);
        if (c.box.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], Sjis(c.box.c_str()));
        }
        EXPECT_EQ(CloseRequested(), c.closes);
    }
}

// A command that nothing can run does not make the stage unplayable: it
// loads as a command without effect, and the run report names the file.
TEST_F(StageLoading, CommandsThatNothingCanRunLoadWithoutEffect)
{
    cEdStage stage = PlayableStage(5);
    cEdCommand unknownKind;
    unknownKind.m_Kind = 37;
    cEdCommand unknownPattern;
    unknownPattern.m_Kind = 11;
    MakeShotPart(unknownPattern.m_Shot);
    unknownPattern.m_Shot->m_Pattern = 6;
    cEdCommand wait;
    wait.m_Kind = 1;
    stage.PlacedCharas[0].Flows.resize(1);
    stage.PlacedCharas[0].Flows[0].m_Commands = {unknownKind, wait};
    stage.PaletteCharas.push_back(test::Hero());
    stage.PaletteCharas.back().Flows.resize(1);
    stage.PaletteCharas.back().Flows[0].m_Commands = {unknownPattern};
    WriteStage("data/stg4/odd.stg4_000", stage);

    ASSERT_EQ(LoadStage("data\\stg4\\odd.stg4", 1, &g_StageAtStart), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(CloseRequested());
    const auto& commands = g_Stage.PlacedCharas[0].Flows[0].m_Commands;
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].m_Kind, 0);
    EXPECT_EQ(commands[1].m_Kind, 1);
    EXPECT_EQ(g_Stage.PaletteCharas.back().Flows[0].m_Commands[0].m_Kind, 0);
    EXPECT_FALSE(g_Stage.PaletteCharas.back().Flows[0].m_Commands[0].m_Shot);

    // The palette comes first in the file.
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& [line, unknown] :
         {std::pair{lines[0], "fire pattern 6"}, std::pair{lines[1], "command kind 37"}}) {
        EXPECT_EQ(line.rfind(g_Stage.strFileName + ": the command at byte ", 0), 0u) << line;
        EXPECT_NE(line.find(unknown), std::string::npos) << line;
    }
}

TEST_F(StageLoading, OldFilesAreNotCheckedForTheirEndCode)
{
    // Version 172 has no end code and 173 one that is never compared: a
    // file of either, cut in its last list, is read as far as it goes.
    cEdStage stage = PlayableStage(8);
    stage.TextItems.resize(2);
    stage.TextItems[1].strText = "a long text that the cut takes away";
    WriteStage("old.stg4_000", stage, 172, 10);
    WriteStage("older.stg4_000", stage, 173, 12);
    for (const char* name : {"old.stg4", "older.stg4"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(LoadStage(name, 1, &g_StageAtStart), 1);
        EXPECT_EQ(g_Stage.nWidth, 8);
        EXPECT_EQ(g_Stage.PlacedCharas.size(), 1u);
        g_Stage.nWidth = 77;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StageLoading, QuitDuringTheLoadCancelsItAndReachesTheCallerAgain)
{
    // A stage big enough that the loader is still reading when the caller
    // first looks at its messages.
    WriteStage("big.stg4_000", PlayableStage(200, 5000));
    plat::postQuitMessage(3);
    EXPECT_EQ(LoadStage("big.stg4", 1, &g_StageAtStart), 0);
    ExpectLiveStageUntouched();
    EXPECT_TRUE(boxes.empty());
    const auto posted = drainPosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_QUIT);
    EXPECT_EQ(posted[0].wParam, 3u);

    // The loader is free again for the next load.
    ASSERT_EQ(LoadStage("big.stg4", 1, &g_StageAtStart), 1);
    EXPECT_EQ(g_Stage.PlacedBlocks.size(), 5000u);
}

TEST_F(StageLoading, CallerKeepsServingItsMessagesWhileTheStageLoads)
{
    WriteStage("big.stg4_000", PlayableStage(200, 5000));
    WriteStage("small.stg4_000", PlayableStage(3));
    int served = 0;
    int nestedResult = -1;
    const plat::WindowId window = plat::createWindow(
        [&](plat::WindowId, std::uint32_t msg, std::uintptr_t, std::intptr_t) -> std::intptr_t {
            if (msg != WM_USER) return 0;
            ++served;
            // A load asked for while one is under way is refused.
            nestedResult = LoadStage("small.stg4", 1, &g_StageAtStart);
            return 0;
        });
    plat::postMessage(window, WM_USER, 0, 0);
    ASSERT_EQ(LoadStage("big.stg4", 1, nullptr), 1);
    EXPECT_EQ(served, 1);
    EXPECT_EQ(nestedResult, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], Sjis("ステージファイル small.stg4 の読み込みに失敗しました！"));
    EXPECT_EQ(g_Stage.PlacedBlocks.size(), 5000u);
    EXPECT_NE(g_Stage.strFileName.find("big"), std::string::npos);
    plat::destroyWindow(window);
}

} // namespace
