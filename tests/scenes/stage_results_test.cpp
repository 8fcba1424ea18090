// The results of a cleared stage: the totals added with the extra lives and
// their notices, the places the results would take in the rankings, and
// the registration (the name, the insert, the file, the board) once per
// clear, from F3 or from the confirm button.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ed_option.h"
#include "platform/atomic_file.h"
#include "play_fixture.h"
#include "scenes/rankings.h"
#include "scripted_frame_host.h"
#include "support/temp_dir.h"

namespace {

using test::cScopedFrameHost;
using test::cScriptedFrameHost;

constexpr int kVkF3 = 0x72;
constexpr std::uint32_t kExtraLifeSound = 15;
constexpr std::uint32_t kRegisterSound = 16;

// What a pause wait saw of the scene when it was asked for.
struct SeenWait {
    PauseWait wait;
    std::size_t messages;
    cMessage notice;
};

// Services that keep what each pause wait saw.
class WaitWatchingServices : public cRecordingServices {
public:
    void RunPauseWait() override
    {
        cRecordingServices::RunPauseWait();
        const cRunningStage& stage = RunStage();
        if (!stage.m_MessageList.empty())
            seen.push_back(
                {stage.m_PauseWait, stage.m_MessageList.size(), stage.m_MessageList.back()});
    }
    std::vector<SeenWait> seen;
};

class StageResults : public test::PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        SetWorldServices(&watching);
        savedOption = g_Option;
        ResetRankSet(g_RankSet);
        // The free play shows the score and the clear time; the stage shows
        // every row.
        cEdModeFlags& flags = g_System.vModeFlags[PLAYKIND_FREE];
        flags.bRanking = 1;
        flags.vRankKinds = {1, 0, 1, 0, 0};
        g_SceneMgr.m_ResultsOn = 1;
        g_System.bExtraLife = 1;
        g_System.nExtraLifeScore = 1000;
        cEdStage stage = test::FloorStage();
        stage.ResultFlags = {1, 1, 1, 1, 1};
        Begin(stage);
        scene->m_ResultsOn = 1;
        g_Progress.nLives = 3;
    }
    void TearDown() override
    {
        g_AskRankingName = nullptr;
        g_Option = savedOption;
        ResetRankSet(g_RankSet);
        SetWorldServices(&services);
        PlayFixture::TearDown();
    }
    int SoundsOf(std::uint32_t slot) const
    {
        return static_cast<int>(
            std::count(watching.m_Sounds.begin(), watching.m_Sounds.end(), slot));
    }

    WaitWatchingServices watching;
    cEdOption savedOption;
};

TEST_F(StageResults, TheStagesResultsAreAddedToThePlaysTotals)
{
    cSaveData& p = g_Progress;
    p.nScore = 100;
    p.nStageScore = 250;
    p.nRestTime = 7;
    p.nClearTime = 1000;
    p.nRestHp = 2;
    p.nRestSp = 1;
    scene->m_NoTimeLimit = 0;
    scene->m_TimeLeft = 40;
    scene->m_PlayTime = 345;
    scene->Player[P1].m_Hp = 6;
    scene->Player[P1].m_Sp = 3;
    scene->AddStageTotals();
    EXPECT_EQ(p.nScore, 350);
    EXPECT_EQ(p.nRestTime, 47);
    EXPECT_EQ(p.nClearTime, 1345);
    EXPECT_EQ(p.nRestHp, 8);
    EXPECT_EQ(p.nRestSp, 4);

    // Without a time limit the remaining time adds nothing; totals at the
    // top of their range stay there.
    scene->m_NoTimeLimit = 1;
    p.nScore = INT_MAX - 5;
    p.nClearTime = INT_MAX;
    p.nRestHp = INT_MIN + 1;
    scene->Player[P1].m_Hp = -10;
    scene->AddStageTotals();
    EXPECT_EQ(p.nRestTime, 47);
    EXPECT_EQ(p.nScore, INT_MAX);
    EXPECT_EQ(p.nClearTime, INT_MAX);
    EXPECT_EQ(p.nRestHp, INT_MIN);
}

TEST_F(StageResults, ALifeForEveryMultipleOfThePointsPerLifeThatTheScoreCrossed)
{
    const struct {
        const char* what;
        std::int32_t score, stageScore, perLife, switchOn, lives;
        int gained; // extra lives given
        std::int32_t livesAfter;
    } cases[] = {
        {"one multiple crossed", 900, 200, 1000, 1, 3, 1, 4},
        {"landing on a multiple", 900, 100, 1000, 1, 3, 1, 4},
        {"no multiple crossed", 1000, 999, 1000, 1, 3, 0, 3},
        {"two multiples crossed", 900, 1200, 1000, 1, 3, 2, 5},
        {"lives stop at 99", 900, 1200, 1000, 1, 98, 2, 99},
        {"lives above 99 are kept", 900, 200, 1000, 1, 150, 1, 150},
        {"unlimited lives", 900, 5000, 1000, 1, kUnlimitedLives, 0, kUnlimitedLives},
        {"no points per life", 900, 5000, 0, 1, 3, 0, 3},
        {"the switch off", 900, 5000, 1000, 0, 3, 0, 3},
        {"a negative stage score", 2100, -200, 1000, 1, 3, 0, 3},
        {"a score crossing 99 multiples at most", 0, 999999, 1, 1, 3, 99, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        watching.m_Sounds.clear();
        watching.seen.clear();
        watching.m_PauseWaits = 0;
        g_Progress.nScore = c.score;
        g_Progress.nStageScore = c.stageScore;
        g_Progress.nLives = c.lives;
        g_System.nExtraLifeScore = c.perLife;
        g_System.bExtraLife = c.switchOn;
        scene->AddStageTotals();
        EXPECT_EQ(g_Progress.nLives, c.livesAfter);
        EXPECT_EQ(SoundsOf(kExtraLifeSound), c.gained);
        EXPECT_EQ(watching.m_PauseWaits, c.gained);
        EXPECT_TRUE(scene->m_MessageList.empty()) << "each notice is taken off again";
    }
}

TEST_F(StageResults, EachExtraLifeShowsItsIconOverThePlayerForThirtyFrames)
{
    g_Progress.nScore = 1900;
    g_Progress.nStageScore = 200;
    scene->m_MessageList.emplace_back(cMessage::TIMER, "", 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      cMessage::UNTIL_STAGE_END, 0, 0, 0, 0, 0);
    scene->AddStageTotals();
    ASSERT_EQ(watching.seen.size(), 1u);
    const SeenWait& seen = watching.seen[0];
    EXPECT_EQ(seen.wait.m_Kind, PauseWait::EXTRA_LIFE);
    EXPECT_EQ(seen.wait.m_KeyLock, 0);
    EXPECT_EQ(seen.wait.m_WaitButton, 0);
    EXPECT_EQ(seen.wait.m_Frames, 30);
    EXPECT_EQ(seen.wait.m_Counter, 0);
    EXPECT_EQ(seen.messages, 2u);
    const cMessage& icon = seen.notice;
    EXPECT_EQ(icon.m_Kind, cMessage::ICON);
    EXPECT_EQ(icon.m_Placement, 4) << "over the player";
    EXPECT_EQ(icon.m_ObjectNo, scene->Player[P1].m_ObjNo);
    EXPECT_EQ(icon.m_DurationMode, cMessage::TIMED);
    EXPECT_EQ(icon.m_TimeLeft, 30);
    EXPECT_EQ(icon.m_StopsGame, 1);
    EXPECT_EQ(icon.m_Zoom, 0);
    // The message that was there before stays; only the notice goes.
    ASSERT_EQ(scene->m_MessageList.size(), 1u);
    EXPECT_EQ(scene->m_MessageList.front().m_Kind, cMessage::TIMER);
}

TEST_F(StageResults, ThePlacesTheResultsWouldTakeAreSoughtForTheShownKinds)
{
    InsertRank(g_RankSet.m_Tables[RANK_SCORE], "TOP", 5000);
    InsertRank(g_RankSet.m_Tables[RANK_CLEAR_TIME], "FST", 100);
    g_Progress.nScore = 0;
    g_Progress.nStageScore = 3000;
    scene->m_PlayTime = 250;
    scene->PrepareResults();
    EXPECT_EQ(scene->m_Results,
              (std::vector<std::int32_t>{3000, g_Progress.nRestTime, 250, g_Progress.nRestHp,
                                         g_Progress.nRestSp}));
    EXPECT_EQ(scene->m_RankPos, (std::vector<std::int32_t>{1, -1, 1, -1, -1}));
    EXPECT_EQ(scene->m_RankEligible, 1);
    EXPECT_EQ(scene->m_Registered, 0);
}

TEST_F(StageResults, NoPlaceIsSoughtWhereNothingCanRank)
{
    const struct {
        const char* what;
        int resultsOn, byTool, directStart;
        std::vector<std::int32_t> stageRows;
        bool results; // the results are taken
    } cases[] = {
        {"the results are off for the play", 0, 0, 0, {1, 1, 1, 1, 1}, false},
        {"a test play of the authoring tool", 1, 1, 0, {1, 1, 1, 1, 1}, true},
        {"the stage shows no row", 1, 0, 0, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scene->m_ResultsOn = c.resultsOn;
        g_StartedByTool = c.byTool;
        scene->m_DirectStart = c.directStart;
        g_Stage.ResultFlags = c.stageRows;
        scene->m_Results.assign(kRankKinds, 77);
        scene->m_RankPos.assign(kRankKinds, 3);
        scene->m_RankEligible = 1;
        scene->m_Registered = 1;
        scene->PrepareResults();
        EXPECT_EQ(scene->m_RankPos, std::vector<std::int32_t>(kRankKinds, -1));
        EXPECT_EQ(scene->m_RankEligible, 0);
        EXPECT_EQ(scene->m_Registered, 0);
        EXPECT_EQ(scene->m_Results.front() != 77, c.results);
    }
    g_StartedByTool = 0;
    scene->m_DirectStart = 0;
    g_Stage.ResultFlags = {1, 1, 1, 1, 1};
    // A direct start has its results even with them off, and its positions
    // still follow the play kind's kinds.
    scene->m_ResultsOn = 0;
    scene->m_DirectStart = 1;
    scene->PrepareResults();
    EXPECT_EQ(scene->m_RankPos, (std::vector<std::int32_t>{0, -1, 0, -1, -1}));
}

// The clear phase with the results shown and the registration's ways in.
class Registration : public StageResults {
protected:
    void SetUp() override
    {
        StageResults::SetUp();
        cwd = std::make_unique<test::ScopedCurrentDir>(dir.path());
        std::filesystem::create_directories(dir / "user_data/free");
        g_Progress.strStage = "data\\stg4\\Reg.";
        g_Progress.strRankName = "OLD";
        g_AskRankingName = [this](std::string& name) {
            ++nameRequests;
            askedWith = name;
            name = "NEW";
        };
        plat::setAtomicWriteFailureHook([this](const std::filesystem::path& target) {
            if (target.filename() == "Reg.rkg") ++writes;
            return true;
        });
        InsertRank(g_RankSet.m_Tables[RANK_SCORE], "TOP", 5000);
        g_DrawRankingBoard = [this](cGamePlay& drawn) {
            const int kind = g_Progress.nRankKind;
            const int cursor = drawn.m_RankPos[static_cast<std::size_t>(kind)];
            const cEdRankEntry& entry = g_RankSet.m_Tables[static_cast<std::size_t>(kind)]
                                            .m_Entries[static_cast<std::size_t>(cursor)];
            boards.push_back(entry.m_Name + ":" + std::to_string(entry.m_Value) + "@" +
                             std::to_string(cursor));
        };
        // The stage is cleared with 4000 points.
        g_Progress.nScore = 0;
        g_Progress.nStageScore = 4000;
        scene->m_Phase = PHASE_CLEAR;
        scene->m_SubState = 0;
        scene->StageCleared();
    }
    void TearDown() override
    {
        g_DrawRankingBoard = savedBoard;
        plat::setAtomicWriteFailureHook(nullptr);
        cwd.reset();
        StageResults::TearDown();
    }
    // Frames of the clear phase; a ranking board is shown for one frame
    // and ends with the button.
    void ClearFrames(const cInputScript& script, int count)
    {
        cScriptedFrameHost host(cInputScript().Hold(0, 0, 1).Hold(0, 1, 1), 20);
        cScopedFrameHost scoped(host);
        Frames(script, count);
        boardPresents += host.presents;
    }
    int Inserted() const
    {
        int count = 0;
        for (const cEdRankEntry& entry : g_RankSet.m_Tables[RANK_SCORE].m_Entries)
            count += entry.m_Valid && entry.m_Name != "TOP" ? 1 : 0;
        return count;
    }

    test::TempDir dir;
    std::unique_ptr<test::ScopedCurrentDir> cwd;
    std::function<void(cGamePlay&)> savedBoard = g_DrawRankingBoard;
    int nameRequests = 0;
    std::string askedWith;
    int writes = 0;
    std::vector<std::string> boards;
    int boardPresents = 0;
};

TEST_F(Registration, F3InAManualModeRegistersOnceAndShowsTheNewPlace)
{
    g_Option.nRankMode = RANKMODE_MANUAL_ASK;
    EXPECT_EQ(scene->m_RankPos[RANK_SCORE], 1);
    // F3 held over several frames, then the confirm button once the clear
    // display may be left.
    watching.m_KeysDown = {kVkF3};
    ClearFrames(cInputScript(), 5);
    watching.m_KeysDown.clear();
    ClearFrames(cInputScript().Hold(0, 0, 60).Hold(0, 1, 2), 62);
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(nameRequests, 1);
    EXPECT_EQ(askedWith, "OLD") << "the name entered last is offered";
    EXPECT_EQ(g_Progress.strRankName, "NEW");
    EXPECT_EQ(Inserted(), 1);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(SoundsOf(kRegisterSound), 1);
    EXPECT_EQ(SoundsOf(1), 2) << "the board's button, then the confirm that leaves";
    ASSERT_FALSE(boards.empty());
    EXPECT_EQ(boards.front(), "NEW:4000@1");
    EXPECT_EQ(boards.size(), 1u);
    EXPECT_EQ(boardPresents, 1);
    // What was written is what the rankings now hold.
    cEdRankSet stored;
    EXPECT_EQ(LoadRankSet(stored, PLAYKIND_FREE, "Reg."), 1);
    EXPECT_EQ(SaveToBytes(stored), SaveToBytes(g_RankSet));
}

TEST_F(Registration, TheAutomaticModesRegisterOnceOnTheConfirmButton)
{
    for (const int mode : {RANKMODE_AUTO_ASK, RANKMODE_AUTO_FIXED}) {
        SCOPED_TRACE(mode);
        g_Option.nRankMode = mode;
        g_Option.strRegName = "FIX";
        // F3 does nothing here; the confirm button registers.
        watching.m_KeysDown = {kVkF3};
        ClearFrames(cInputScript().Hold(0, 0, 60).Hold(0, 1, 2), 62);
        EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
        EXPECT_EQ(nameRequests, mode == RANKMODE_AUTO_ASK ? 1 : 0);
        EXPECT_EQ(Inserted(), 1);
        EXPECT_EQ(writes, 1);
        EXPECT_EQ(SoundsOf(kRegisterSound), 1);
        ASSERT_FALSE(boards.empty());
        EXPECT_EQ(boards.front(),
                  std::string(mode == RANKMODE_AUTO_ASK ? "NEW" : "FIX") + ":4000@1");
        // Once registered, another try does nothing.
        scene->RegisterRanking();
        EXPECT_EQ(Inserted(), 1);
        EXPECT_EQ(writes, 1);

        // The next clear of the same stage starts afresh.
        nameRequests = writes = 0;
        watching.m_Sounds.clear();
        boards.clear();
        ResetRankSet(g_RankSet);
        InsertRank(g_RankSet.m_Tables[RANK_SCORE], "TOP", 5000);
        g_Progress.nScore = 0;
        scene->m_Phase = PHASE_CLEAR;
        scene->m_SubState = 0;
        scene->StageCleared();
    }
}

TEST_F(Registration, ATestPlayOfTheAuthoringToolOffersNoRanking)
{
    g_Option.nRankMode = RANKMODE_MANUAL_ASK;
    g_StartedByTool = 1;
    g_Progress.nScore = 0;
    scene->m_Phase = PHASE_CLEAR;
    scene->m_SubState = 0;
    scene->StageCleared();
    EXPECT_EQ(scene->m_RankEligible, 0);
    watching.m_KeysDown = {kVkF3};
    ClearFrames(cInputScript().Hold(0, 0, 60).Hold(0, 1, 2), 62);
    g_Option.nRankMode = RANKMODE_AUTO_FIXED;
    scene->RegisterRanking();
    EXPECT_EQ(nameRequests, 0);
    EXPECT_EQ(Inserted(), 0);
    EXPECT_EQ(writes, 0);
    EXPECT_TRUE(boards.empty());
    EXPECT_EQ(SoundsOf(kRegisterSound), 0);
    g_StartedByTool = 0;
}

} // namespace
