// What follows a cleared stage: the file of a chain's next stage, the next
// scene of every play mode with what the clear records in the progress
// (cleared flags, best scores, the next round, the challenge entry and
// Challenge.dat), the carried status, and a quit during the next stage's
// load, which records nothing.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/report.h"
#include "data/ed_world_map.h"
#include "data/path_table.h"
#include "platform/atomic_file.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "play_fixture.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class NextStage : public test::PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        cwd = std::make_unique<test::ScopedCurrentDir>(dir.path());
        ASSERT_EQ(ReportCreate("report.txt"), 1);
        std::filesystem::create_directories(dir / "data/stg4");
        std::filesystem::create_directories(dir / "user_data/challenge");
        g_System.nChallengeStages = 5;
        Begin(test::FloorStage());
        g_Progress.Check();
    }
    void TearDown() override
    {
        plat::setAtomicWriteFailureHook(nullptr);
        g_Progress.m_pMapEvent = nullptr;
        cwd.reset();
        PlayFixture::TearDown();
    }
    // A stage file of the given width in data\stg4\ (a game path's name).
    void WriteStage(const std::string& name, int width, int blocks = 0)
    {
        cEdStage stage = test::FloorStage();
        stage.nWidth = width;
        for (int i = 0; i < blocks; ++i)
            stage.PlacedBlocks.push_back(test::BlockAt(i % width, 13 + i / width % 5));
        const Bytes bytes = SaveToBytes(stage);
        dir.write("data/stg4/" + name, std::string(bytes.begin(), bytes.end()));
    }
    // The running stage is stage `number` of a chain (or a single stage).
    void Playing(const char* stageName, int chain, int number, int next)
    {
        g_Progress.strStage = stageName;
        g_Progress.bChainStage = chain;
        g_Progress.nChainNo = number;
        scene->m_NextStage = next;
    }
    std::string Read(const std::string& relative) const { return dir.read(relative); }
    int ReportLinesWith(const std::string& text) const
    {
        const std::string report = dir.read("report.txt");
        int count = 0;
        for (std::size_t at = report.find(text); at != std::string::npos;
             at = report.find(text, at + 1))
            ++count;
        return count;
    }

    test::TempDir dir;
    std::unique_ptr<test::ScopedCurrentDir> cwd;
};

TEST_F(NextStage, TheNextStagesFileIsTheNewestOfItsNumber)
{
    WriteStage("Ch-2.stg4_000", 30);
    WriteStage("Ch-2.stg4_004", 31);
    WriteStage("Ch-3.stg4_001", 32);
    const struct {
        const char* what;
        int chain, next, n;
        const char* file; // "" when none
    } cases[] = {
        {"the second stage", 1, 2, 2, "data\\stg4\\Ch-2.stg4_004"},
        {"the third stage", 1, 2, 3, "data\\stg4\\Ch-3.stg4_001"},
        {"a stage the chain does not have", 1, 4, 4, ""},
        {"no next stage was set", 1, 0, 2, ""},
        {"a single stage", 0, 2, 2, ""},
        {"a number below the first", 1, -2, -2, ""},
        {"a number of 0", 1, 2, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Playing("data\\stg4\\Ch.", c.chain, 1, c.next);
        std::string file = "previous";
        const int found = scene->NextStageFileName(file, c.n);
        EXPECT_EQ(found, *c.file ? 1 : 0);
        EXPECT_EQ(std::filesystem::path(file).filename(), std::filesystem::path(c.file).filename());
        EXPECT_EQ(scene->IsLastStage(c.n), found ? 0 : 1);
    }
}

// The story, free and replay modes: the next scene and what is recorded.
TEST_F(NextStage, EachPlayModeChoosesTheSceneThatFollows)
{
    WriteStage("Ch-2.stg4_000", 33);
    cEdWorldEventItem entry;
    entry.Clear();
    const struct {
        const char* what;
        int mode, chain, next, afterClear, directStart;
        int scene;
        bool recorded;  // cleared flag and best score
        bool nextStage; // the chain's next stage was loaded
        std::int32_t chainNo;
    } cases[] = {
        {"story: back to the world map", PLAYMODE_NEW_GAME, 0, 0, 0, 0, SCENE_WORLD_MAP, true,
         false, 5},
        {"story: the next round", PLAYMODE_CONTINUE, 0, 0, 1, 0, SCENE_WORLD_MAP, true, false, 5},
        {"story: the title", PLAYMODE_NEW_GAME, 0, 0, 2, 0, SCENE_TITLE, true, false, 5},
        {"story: the chain goes on", PLAYMODE_NEW_GAME, 1, 2, 0, 0, SCENE_GAME_PLAY, false, true,
         2},
        {"story: the chain's last stage", PLAYMODE_NEW_GAME, 1, 3, 0, 0, SCENE_WORLD_MAP, true,
         false, 5},
        {"story: a next-stage number below the first", PLAYMODE_NEW_GAME, 1, -4, 2, 0, SCENE_TITLE,
         true, false, 5},
        {"free: a single stage again", PLAYMODE_FREE, 0, 2, 0, 0, SCENE_GAME_PLAY, false, false, 5},
        {"free: a direct start again", PLAYMODE_FREE, 1, 2, 0, 1, SCENE_GAME_PLAY, false, false, 5},
        {"free: the chain goes on", PLAYMODE_FREE, 1, 2, 0, 0, SCENE_GAME_PLAY, false, true, 2},
        {"free: the end of a chain", PLAYMODE_FREE, 1, 3, 0, 0, SCENE_TITLE, false, false, 5},
        {"replay: again", PLAYMODE_REPLAY, 1, 2, 0, 0, SCENE_GAME_PLAY, false, false, 5},
        {"an unknown mode", 9, 0, 0, 0, 0, SCENE_CHALLENGE, false, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_Progress = cSaveData();
        g_Progress.nRound = 3;
        g_Progress.nStageIndex = 4;
        g_Progress.vStageFlags[2] = 1;
        g_Progress.nScore = 1234;
        g_Progress.nScoreAtStart = 1000;
        g_Progress.nMapX = 33;
        entry.m_AfterClear = c.afterClear;
        g_Progress.m_pMapEvent = &entry;
        g_Stage.nWidth = 40;
        g_SceneMgr.g_PlayMode = c.mode;
        scene->m_PlayMode = c.mode;
        scene->m_DirectStart = c.directStart;
        g_ReplayLog.Start(1, "x");
        g_ReplayLog.Record(1, 1);
        g_MenuCursor.top->row = 0;
        Playing("data\\stg4\\Ch.", c.chain, 5, c.next);

        EXPECT_EQ(scene->DecideNextScene(), c.scene);
        // A next round starts with no stage cleared, this one included.
        const bool nextRound = c.recorded && c.afterClear == 1;
        EXPECT_EQ(g_Progress.vStageFlags[4], c.recorded && !nextRound ? 1 : 0);
        EXPECT_EQ(g_Progress.GetBestScore("data\\stg4\\Ch."), c.recorded ? 1234 : 0);
        EXPECT_EQ(g_Stage.nWidth, c.nextStage ? 33 : 40);
        EXPECT_EQ(g_ReplayLog.FrameCount(), c.nextStage ? 0 : 1) << "a new stage, a new log";
        EXPECT_EQ(g_Progress.nChainNo, c.chainNo);
        EXPECT_EQ(g_Progress.nRound, nextRound ? 4 : 3);
        EXPECT_EQ(g_Progress.vStageFlags[2], nextRound ? 0 : 1);
        EXPECT_EQ(g_Progress.nMapX == 33, !nextRound);
        EXPECT_EQ(g_MenuCursor.top->row, c.scene == SCENE_TITLE && c.recorded ? c.mode : 0);
        // The replay starts again from its stage's start.
        EXPECT_EQ(g_Progress.nScore, c.mode == PLAYMODE_REPLAY ? 1000 : 1234);
        EXPECT_TRUE(Read("user_data/challenge/Challenge.dat").empty());
        g_ReplayLog.Clear();
    }
}

TEST_F(NextStage, AClearedChallengeIsRecordedAndWrittenToChallengeDat)
{
    const struct {
        const char* what;
        std::int32_t index, best, open, score;
        std::int32_t bestAfter, totalAfter, openAfter;
    } cases[] = {
        {"a better score, the next one opens", 2, 500, 2, 800, 800, 1300, 3},
        {"a lower score", 2, 900, 4, 800, 900, 1000, 4},
        {"the last challenge opens no more", 5, 0, 5, 300, 300, 1300, 5},
        {"an index beyond the entries", 9, 0, 2, 300, 0, 1000, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir / "user_data/challenge/Challenge.dat");
        g_Progress = cSaveData();
        g_Progress.Check();
        g_Progress.nStageIndex = c.index;
        g_Progress.nChallengeOpen = c.open;
        g_Progress.nTotalScore = 1000;
        g_Progress.nScore = c.score;
        cEdIntPair* entry = c.index <= 5 ? &g_Progress.vChallenge[c.index - 1] : nullptr;
        if (entry) entry->nBest = c.best;
        scene->m_PlayMode = PLAYMODE_CHALLENGE;
        Playing("data\\stg4\\c02.", 1, 1, 2);

        EXPECT_EQ(scene->DecideNextScene(), SCENE_CHALLENGE);
        if (entry) {
            EXPECT_EQ(entry->bCleared, 1);
            EXPECT_EQ(entry->nBest, c.bestAfter);
        }
        EXPECT_EQ(g_Progress.nTotalScore, c.totalAfter);
        EXPECT_EQ(g_Progress.nChallengeOpen, c.openAfter);
        EXPECT_EQ(g_Progress.nChainNo, 1);
        // The file holds the challenge state as recorded.
        cSaveData written;
        ASSERT_EQ(LoadFile(written, g_PathTable[PATH_CHALLENGE_DATA]), 1);
        EXPECT_EQ(written.nTotalScore, c.totalAfter);
        EXPECT_EQ(written.nChallengeOpen, c.openAfter);
        if (entry) {
            EXPECT_EQ(written.vChallenge[c.index - 1].bCleared, 1);
            EXPECT_EQ(written.vChallenge[c.index - 1].nBest, c.bestAfter);
        }
    }
}

TEST_F(NextStage, AFailedWriteOfChallengeDatIsReportedAndKeepsTheOldFile)
{
    dir.write("user_data/challenge/Challenge.dat", "old");
    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    g_Progress.nStageIndex = 1;
    scene->m_PlayMode = PLAYMODE_CHALLENGE;
    Playing("data\\stg4\\c01.", 1, 1, 2);
    EXPECT_EQ(scene->DecideNextScene(), SCENE_CHALLENGE);
    EXPECT_EQ(Read("user_data/challenge/Challenge.dat"), "old");
    EXPECT_EQ(ReportLinesWith("user_data\\challenge\\Challenge.dat could not be written"), 1);
}

TEST_F(NextStage, AQuitDuringTheNextStagesLoadRecordsNothing)
{
    // A next stage big enough that the loader is still reading when the
    // quit is first seen.
    WriteStage("c01-2.stg4_000", 200, 5000);
    g_Progress.nStageIndex = 1;
    scene->m_PlayMode = PLAYMODE_CHALLENGE;
    Playing("data\\stg4\\c01.", 1, 1, 2);
    g_Stage.nWidth = 40;
    plat::postQuitMessage(0);
    EXPECT_EQ(scene->DecideNextScene(), SCENE_GAME_PLAY);
    EXPECT_TRUE(Read("user_data/challenge/Challenge.dat").empty());
    EXPECT_EQ(g_Progress.vChallenge[0].bCleared, 0);
    EXPECT_EQ(g_Progress.nChallengeOpen, 1);
    EXPECT_EQ(g_Progress.nChainNo, 1);
    EXPECT_EQ(g_Stage.nWidth, 40);
    // The quit is handed back to the game thread's own loop.
    plat::Message message;
    bool quit = false;
    while (plat::peekMessage(message))
        quit = quit || message.msg == WM_QUIT;
    EXPECT_TRUE(quit);
}

TEST_F(NextStage, TheStoringStageKeepsThePlayersStatusForTheNext)
{
    g_System.vCarryOver.assign(25, 0);
    g_System.vCarryOver[11] = 1; // the HP
    g_System.vCarryOver[22] = 1; // the remaining time
    g_Stage.bStoreStatus = 1;
    scene->Player[P1].m_Hp = 7;
    scene->m_TimeLeft = 45;
    scene->m_PlayMode = PLAYMODE_FREE;
    Playing("data\\stg4\\One.", 0, 1, 0);
    scene->DecideNextScene();
    EXPECT_EQ(g_Progress.bCarryValid, 1);
    EXPECT_EQ(g_Progress.vPlayer[0].nHp, 7);
    EXPECT_EQ(g_Progress.vPlayer[0].nTime, 45);
    EXPECT_EQ(g_Progress.vCarried[11], 1);
    EXPECT_EQ(g_Progress.vCarried[12], 0);

    // Without the stage's switch nothing is stored.
    g_Progress = cSaveData();
    g_Stage.bStoreStatus = 0;
    scene->DecideNextScene();
    EXPECT_EQ(g_Progress.bCarryValid, 0);
}

} // namespace
