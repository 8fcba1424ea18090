// The game thread's requests to the main window: F1 and F2 save a replay of
// the attempt when it can be saved with the stage and only warn otherwise;
// the save asks before it replaces a file; a file that cannot be written or
// read is said in a box and the game goes on; a sound out of range closes
// the game; and a thread waiting in a request is released when it is asked
// to quit.
#include "core/request.h"
#include "core/request_messages.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/stage_fixtures.h"
#include "media/ds_sound.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/thread.h"
#include "platform/window_messages.h"
#include "scenes/replay_keys.h"
#include "scenes/scene_mgr.h"
#include "shell/main_window.h"
#include "shell/running_game.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kStageFile = "data\\stg4\\Stage1.stg4_001";

class Requests : public test::ReportFixture {
protected:
    void SetUp() override
    {
        test::ReportFixture::SetUp();
        test::ResetStageGlobals();
        CreateGameFolders();
        plat::releaseAllKeys();
        ResetReplayKeys();
        g_Stage.strFileName = kStageFile;
        g_ReplayLog.Clear();
        g_ReplayLog2.Clear();
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return answer;
        });
        plat::setFileDialogResponder(
            [this](const plat::FileDialogDesc& d) -> std::optional<std::string> {
                proposed.push_back(d.proposedNameSjis);
                if (choice.empty()) return std::nullopt;
                return choice;
            });
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        plat::setFileDialogResponder(nullptr);
        plat::setDialogResponder(nullptr);
        plat::releaseAllKeys();
        g_SceneMgr = cSceneMgr{};
        g_System = cEdSystem();
        g_ReplayLog.Clear();
        g_ReplayLog2.Clear();
        g_Sounds.clear();
        test::ResetStageGlobals();
        test::ReportFixture::TearDown();
    }

    // Records some frames of an attempt at a stage into the log.
    static void Played(cReplayLog& log, const char* stageFile, int frames)
    {
        log.Start(77, stageFile);
        for (int f = 0; f < frames; ++f)
            log.Record(static_cast<std::uint16_t>(f % 3), 0);
    }

    std::vector<std::string> boxes;
    std::vector<std::string> proposed;
    std::string choice;
    int answer = IDYES;
};

// The main window as a recorder of what reaches it.
class ReplayKeys : public Requests {
protected:
    void SetUp() override
    {
        Requests::SetUp();
        real = g_hMainWnd;
        g_hMainWnd = plat::createWindow(
            [this](plat::WindowId, std::uint32_t msg, std::uintptr_t w, std::intptr_t) {
                if (msg >= WM_USER) sent.push_back({msg, w});
                if (msg == UM_SAVEREPLAY) g_RequestDone = 1;
                return std::intptr_t{0};
            });
    }
    void TearDown() override
    {
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = real;
        Requests::TearDown();
    }
    plat::WindowId real = 0;
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> sent;
};

TEST_F(ReplayKeys, F1AndF2AskForTheSaveOfTheCurrentOrThePreviousAttempt)
{
    Played(g_ReplayLog, kStageFile, 10);
    Played(g_ReplayLog2, kStageFile, 5);
    EXPECT_EQ(CheckReplayKeys(), 0);
    EXPECT_TRUE(sent.empty());
    plat::setKeyDown(plat::VK_F2, true);
    EXPECT_EQ(CheckReplayKeys(), 1);
    plat::setKeyDown(plat::VK_F1, true); // F1 wins when both are held
    EXPECT_EQ(CheckReplayKeys(), 1);
    using Sent = std::vector<std::pair<std::uint32_t, std::uintptr_t>>;
    EXPECT_EQ(sent, (Sent{{UM_SE, 1}, {UM_SAVEREPLAY, 1}, {UM_SE, 1}, {UM_SAVEREPLAY, 0}}));
}

TEST_F(ReplayKeys, ALogThatCannotBeSavedWithThisStageOnlyWarnsOnceASecond)
{
    struct Case {
        const char* name;
        int frames;
        const char* stage;
    };
    const Case cases[] = {{"empty", 0, kStageFile},
                          {"another stage", 10, "data\\stg4\\x.stg4_001"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetReplayKeys();
        g_ReplayLog.Clear();
        if (c.frames) Played(g_ReplayLog, c.stage, c.frames);
        sent.clear();
        plat::setKeyDown(plat::VK_F1, true);
        int warnings = 0;
        for (int call = 0; call < 121; ++call) {
            EXPECT_EQ(CheckReplayKeys(), 0);
        }
        for (const auto& s : sent) {
            EXPECT_EQ(s.first, UM_SE);
            EXPECT_EQ(s.second, 3u);
            ++warnings;
        }
        EXPECT_EQ(warnings, 3) << "calls 1, 61 and 121";
    }
}

TEST_F(ReplayKeys, NothingIsSavedDuringPlaybackOrWithRecordingOff)
{
    Played(g_ReplayLog, kStageFile, 10);
    plat::setKeyDown(plat::VK_F1, true);
    g_SceneMgr.g_PlayMode = PLAYMODE_REPLAY;
    EXPECT_EQ(CheckReplayKeys(), 0);
    g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
    g_System.bRecordReplay = 0;
    EXPECT_EQ(CheckReplayKeys(), 0);
    EXPECT_TRUE(sent.empty());
}

// The real main window serving the requests on this thread.
class MainWindowRequests : public Requests {
protected:
    void SetUp() override
    {
        Requests::SetUp();
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = plat::createWindow(MainWndProc);
        drainPosted();
    }
    bool closePosted()
    {
        for (const auto& m : drainPosted())
            if (m.msg == WM_CLOSE) return true;
        return false;
    }
};

TEST_F(MainWindowRequests, ASavedReplayCanBeReadBackAndAReplacedOneIsAskedAbout)
{
    Played(g_ReplayLog, kStageFile, 30);
    g_Progress.strStage = "data\\stg4\\Stage1.";
    choice = "user_data\\rpl4\\mine";
    ASSERT_TRUE(SendRequest(UM_SAVEREPLAY, 0, 0, &g_RequestDone));
    EXPECT_EQ(g_RequestResult, 1);
    ASSERT_FALSE(proposed.empty());
    EXPECT_EQ(proposed.back(), "Stage1_00.rpl4_511");
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "user_data/rpl4/mine.rpl4_511"));
    EXPECT_TRUE(boxes.empty());

    // Saving over it: asked, and "No" keeps the file.
    choice = "user_data\\rpl4\\mine.rpl4_511";
    answer = IDNO;
    const std::string before = dir_.read("user_data/rpl4/mine.rpl4_511");
    g_ReplayLog.Record(1, 1);
    ASSERT_TRUE(SendRequest(UM_SAVEREPLAY, 0, 0, &g_RequestDone));
    EXPECT_EQ(g_RequestResult, 0);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(dir_.read("user_data/rpl4/mine.rpl4_511"), before);

    // Reading it back makes it the stage being played.
    g_Stage.strFileName.clear();
    ASSERT_TRUE(SendRequest(UM_OPENREPLAY, 0, 0, &g_RequestDone));
    EXPECT_EQ(g_RequestResult, 1);
    EXPECT_EQ(g_Stage.strFileName, choice);
    EXPECT_EQ(g_ReplayLog.FrameCount(), 30);
    EXPECT_FALSE(closePosted());
}

TEST_F(MainWindowRequests, AFileThatCannotBeWrittenOrReadIsSaidAndTheGameGoesOn)
{
    Played(g_ReplayLog, kStageFile, 30);
    struct Case {
        std::uint32_t request;
        const char* choice;
        const char* box;
    };
    const Case cases[] = {
        {UM_SAVEREPLAY, "user_data\\missing\\x.rpl4_511",
         "user_data\\missing\\x.rpl4_511 にリプレイを保存できませんでした！"},
        {UM_OPENREPLAY, "data\\damaged.rpl4_511",
         "data\\damaged.rpl4_511 の読み込みに失敗しました！"},
    };
    dir_.write("data/damaged.rpl4_511", "not a replay");
    for (const auto& c : cases) {
        boxes.clear();
        choice = c.choice;
        ASSERT_TRUE(SendRequest(c.request, 0, 0, &g_RequestDone));
        EXPECT_EQ(g_RequestResult, 0);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        EXPECT_FALSE(closePosted()) << "the game goes on";
    }
    // Cancelled: nothing read or written, nothing said.
    choice.clear();
    boxes.clear();
    ASSERT_TRUE(SendRequest(UM_OPENREPLAY, 0, 0, &g_RequestDone));
    EXPECT_EQ(g_RequestResult, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowRequests, ASoundOutOfRangeIsReportedAndClosesTheGame)
{
    g_Sounds.resize(3);
    EXPECT_TRUE(SendRequest(UM_SE, 2, 0));
    EXPECT_FALSE(closePosted());
    EXPECT_TRUE(SendRequest(UM_SE, 3, 0));
    EXPECT_TRUE(closePosted());
    const auto report = reportLines();
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back().rfind("err V[3] ( 3 , ", 0), 0u) << report.back();
}

TEST_F(MainWindowRequests, TheNameDialogRequestIsDoneWhenTheDialogHasEnded)
{
    plat::setDialogResponder([](plat::DialogPlayer& p) { p.close(); });
    g_NameDlgDone = 0;
    ASSERT_TRUE(SendRequest(UM_NAMEDLG, 0, 0, &g_NameDlgDone));
    EXPECT_EQ(g_NameDlgDone, 1);
}

TEST_F(MainWindowRequests, AThreadWaitingInARequestIsReleasedWhenAskedToQuit)
{
    // A main window whose thread never serves its messages.
    std::atomic<plat::WindowId> window{0};
    std::atomic<bool> release{false};
    std::thread owner([&] {
        window = plat::createWindow(MainWndProc);
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        plat::destroyWindow(window);
    });
    ASSERT_TRUE(test::WaitFor([&] { return window.load() != 0; }));
    const plat::WindowId ours = g_hMainWnd;
    g_hMainWnd = window.load();
    std::atomic<int> outcome{-1};
    plat::Thread game;
    ASSERT_TRUE(game.start([&] { outcome = SendRequest(UM_NAMEDLG, 0, 0, &g_NameDlgDone); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(outcome, -1);
    game.requestQuit();
    EXPECT_TRUE(game.join(2000));
    EXPECT_EQ(outcome, 0) << "not delivered";
    release = true;
    owner.join();
    g_hMainWnd = ours;
}

TEST_F(MainWindowRequests, ARequestWithoutAWindowIsRefusedAtOnce)
{
    plat::destroyWindow(g_hMainWnd);
    EXPECT_FALSE(SendRequest(UM_OPENREPLAY, 0, 0, &g_RequestDone));
    EXPECT_EQ(RequestOpenReplay(), 0);
}

} // namespace
