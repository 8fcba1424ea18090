// The bundled game's stages played to their clear from input scripts, by
// the game's own play scene from its set-up: the stage's totals, an extra
// life with its notice on the pause thread when the score crosses the
// points per life (none without them or with unlimited lives), the results
// panel, a registration with F3 and its ranking board, the cleared flag and
// best score of a story stage, a challenge's chain going on to its second
// stage and then Challenge.dat written with the next challenge opened, and
// a directly started stage played again after its clear.
//
// With RT_WRITE_FRAMES=<folder> set, the notice, the results panel and the
// ranking board are written there as BMP files (clear-<back end>-<what>.bmp)
// to be looked at.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bundled_play.h"
#include "data/ed_option.h"
#include "data/path_table.h"
#include "scenes/free_play.h"
#include "scenes/play_pause.h"
#include "scenes/rankings.h"
#include "scripted_frame_host.h"
#include "shown_frame.h"

namespace {

constexpr int kVkF3 = 0x72;
constexpr std::uint32_t kExtraLifeSound = 15;
constexpr std::uint32_t kRegisterSound = 16;
// Frames a scripted run may take to clear its stage, and to reach a phase.
constexpr int kPlayLimit = 2000;
constexpr int kPhaseLimit = 400;
// The clear display may be left once its sign is in place.
constexpr int kClearShownFrames = 50;

using Frame = std::vector<std::uint32_t>;

// Right all the way, a jump of `hold` frames every `period` frames, and a
// shot with every jump.
cInputScript RunRight(int period, int hold)
{
    cInputScript script;
    script.Hold(0, 0, 10);
    for (int frame = 0; frame < kPlayLimit; frame += period)
        script.Hold(kDirRight, 1 | 2, hold).Hold(kDirRight, 0, period - hold);
    return script;
}

// The scripts that clear the stages without losing a life.
cInputScript ClearsStage1()
{
    return RunRight(48, 12);
}
cInputScript ClearsC01Part1()
{
    return RunRight(36, 24);
}
cInputScript ClearsC01Part2()
{
    return RunRight(36, 12);
}

// The pixels of a rectangle that differ between two frames.
int Differing(const Frame& a, const Frame& b, int x, int y, int w, int h)
{
    int count = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            count +=
                a[static_cast<std::size_t>(j * 640 + i)] != b[static_cast<std::size_t>(j * 640 + i)]
                    ? 1
                    : 0;
    return count;
}

// The pause and ranking threads' frames: an input script, and every
// presented frame kept.
class CapturingHost : public test::cScriptedFrameHost {
public:
    using cScriptedFrameHost::cScriptedFrameHost;
    void PresentFrame() override
    {
        cScriptedFrameHost::PresentFrame();
        frames.push_back(test::ShownFrame());
    }
    std::vector<Frame> frames;
};

// Services whose blocking waits run the real pause thread.
class PlayedServices : public cRecordingServices {
public:
    void RunPauseWait() override
    {
        cRecordingServices::RunPauseWait();
        RunPauseThread();
    }
    int SoundsOf(std::uint32_t slot) const
    {
        return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), slot));
    }
};

class BundledClear : public test::BundledPlay {
protected:
    void SetUp() override
    {
        BundledPlay::SetUp();
        SetWorldServices(&played);
        played.m_Clock = services.m_Clock;
        savedOption = g_Option;
        g_Option = cEdOption();
        ResetRankSet(g_RankSet);
        savedRestart = g_RestartFreePlay;
        g_AskRankingName = [this](std::string& name) {
            ++nameRequests;
            name = "ABC";
        };
    }
    void TearDown() override
    {
        EndPlay();
        g_AskRankingName = nullptr;
        g_RestartFreePlay = savedRestart;
        g_DirectStart = 0;
        g_Option = savedOption;
        ResetRankSet(g_RankSet);
        SetWorldServices(&services);
        BundledPlay::TearDown();
    }

    // From the scene's set-up to its first frame of play.
    void ReachPlay() { ASSERT_TRUE(PlayUntilPhase(cInputScript(), PHASE_PLAY, kPhaseLimit)); }
    // Plays the script until the stage is cleared; the notices' frames go
    // to the host.
    void PlayToClear(const cInputScript& script, CapturingHost& host)
    {
        const std::int32_t lives = g_Progress.nLives;
        test::cScopedFrameHost scoped(host);
        ASSERT_TRUE(PlayUntilPhase(script, PHASE_CLEAR, kPlayLimit))
            << g_Stage.strFileName << ": the script no longer clears the stage (phase "
            << scene->m_Phase << ", x " << scene->Player[P1].m_X << ")";
        EXPECT_GE(g_Progress.nLives, lives) << "cleared without losing a life";
    }
    // The clear display until it may be left, then `buttons` on one frame.
    void LeaveClear(std::uint16_t buttons)
    {
        Frames(cInputScript().Hold(0, 0, kClearShownFrames).Hold(0, buttons, 1),
               kClearShownFrames + 1);
    }
    // The fade-out to the scene asked for.
    void FadeOut()
    {
        ASSERT_EQ(scene->m_Phase, PHASE_FADE_OUT);
        for (int i = 0; i < kPhaseLimit && scene->m_Phase == PHASE_FADE_OUT; ++i)
            scene->Run();
        ASSERT_EQ(scene->m_Phase, -1);
    }

    PlayedServices played;
    cEdOption savedOption;
    std::function<int()> savedRestart;
    int nameRequests = 0;
};

TEST_F(BundledClear, AStoryStageGivesItsTotalsAnExtraLifeAndItsRankingAndGoesBackToTheMap)
{
    for (const test::BackEnd& backEnd : test::BundledBackEnds()) {
        SCOPED_TRACE(backEnd.name);
        SetUpDisplay(backEnd.mode);
        ASSERT_FALSE(HasFatalFailure());
        const cEdWorldEventItem& entry = g_WorldMap.m_Events.front().m_Items.front();
        StartPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME, entry.m_StageFile, entry.m_ClearFlag);
        g_Progress.m_pMapEvent = &entry;
        ReachPlay();
        const std::int32_t lives = g_Progress.nLives;
        played.m_Sounds.clear();

        CapturingHost noticeHost(cInputScript(), 100);
        PlayToClear(ClearsStage1(), noticeHost);
        ASSERT_FALSE(HasFatalFailure());

        // The totals: the stage's score, its remaining time and clear time,
        // the hero's HP.
        const cSaveData& p = g_Progress;
        EXPECT_EQ(p.nScore, p.nStageScore);
        EXPECT_GE(p.nScore, 1000);
        EXPECT_EQ(p.nRestTime, scene->m_TimeLeft);
        EXPECT_EQ(p.nClearTime, scene->m_PlayTime);
        EXPECT_GT(p.nClearTime, 0);
        EXPECT_EQ(p.nRestHp, scene->Player[P1].m_Hp);
        // A life for the 1000 points, its sound and a 30-frame notice over
        // the play field, gone again afterwards.
        EXPECT_EQ(p.nLives, lives + p.nScore / 1000);
        EXPECT_EQ(played.SoundsOf(kExtraLifeSound), p.nScore / 1000);
        ASSERT_EQ(noticeHost.presents, 30 * (p.nScore / 1000));
        EXPECT_TRUE(std::none_of(scene->m_MessageList.begin(), scene->m_MessageList.end(),
                                 [](const cMessage& m) { return m.m_Kind == cMessage::ICON; }));
        // The icon rises over the player: the first and last notice frames
        // differ above the player and nowhere far from it.
        const Frame& first = noticeHost.frames.front();
        const Frame& last = noticeHost.frames[29];
        const cPlayerObj& hero = scene->Player[P1];
        const int heroX = static_cast<int>(hero.m_X - scene->m_ScrollX.m_Pos);
        const int heroY = static_cast<int>(hero.m_Y - scene->m_ScrollY.m_Pos);
        EXPECT_GT(Differing(first, last, std::max(heroX - 32, 0), std::max(heroY - 64, 0), 64, 64),
                  0);
        EXPECT_EQ(Differing(first, last, 0, 0, 640, 240), 0) << "the field stands still";
        test::WriteFrame("clear-" + std::string(backEnd.name) + "-notice", noticeHost.frames[10]);

        // Every kind ranks first in empty rankings: the F3 hint, then the
        // results panel once the clear sign is in place.
        EXPECT_EQ(scene->m_RankPos, std::vector<std::int32_t>(kRankKinds, 0));
        EXPECT_EQ(scene->m_RankEligible, 1);
        Frames(cInputScript(), kClearShownFrames);
        const Frame results = test::ShownFrame();
        test::WriteFrame("clear-" + std::string(backEnd.name) + "-results", results);

        // F3 registers: the name is asked, the place inserted and the file
        // written, and the board shows the new first place.
        CapturingHost boardHost(cInputScript().Hold(0, 0, 3).Hold(0, 1, 1), 100);
        {
            test::cScopedFrameHost scoped(boardHost);
            played.m_KeysDown = {kVkF3};
            Frames(cInputScript(), 2);
            played.m_KeysDown.clear();
        }
        EXPECT_EQ(nameRequests, 1);
        EXPECT_EQ(played.SoundsOf(kRegisterSound), 1);
        ASSERT_EQ(boardHost.presents, 3);
        EXPECT_GT(Differing(boardHost.frames.front(), results, 184, 64, 270, 350), 1000)
            << "the board over the play field";
        test::WriteFrame("clear-" + std::string(backEnd.name) + "-board", boardHost.frames.front());
        cEdRankSet stored;
        ASSERT_EQ(LoadRankSet(stored, PLAYKIND_STORY, p.strStage), 1);
        EXPECT_EQ(stored.m_Tables[RANK_SCORE].m_Entries[0].m_Name, "ABC");
        EXPECT_EQ(stored.m_Tables[RANK_SCORE].m_Entries[0].m_Value, p.nScore);
        EXPECT_EQ(stored.m_Tables[RANK_CLEAR_TIME].m_Entries[0].m_Value, p.nClearTime);
        EXPECT_EQ(stored.m_Tables[RANK_SCORE].m_Entries[1].m_Valid, 0);

        // The confirm button leaves for the world map with the stage cleared
        // and its best score kept.
        LeaveClear(1);
        EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_WORLD_MAP);
        EXPECT_EQ(p.vStageFlags[static_cast<std::size_t>(entry.m_ClearFlag)], 1);
        EXPECT_EQ(p.GetBestScore(p.strStage), p.nScore);
        FadeOut();
        EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_WORLD_MAP);
        EndPlay();
        nameRequests = 0;
        ResetRankSet(g_RankSet);
        std::filesystem::remove_all(dir_ / "user_data/story/Stage1.rkg");
    }
}

TEST_F(BundledClear, NoExtraLifeWithoutPointsPerLife)
{
    SetUpDisplay(test::BundledBackEnds().front().mode);
    g_System.nExtraLifeScore = 0;
    const cEdWorldEventItem& entry = g_WorldMap.m_Events.front().m_Items.front();
    StartPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME, entry.m_StageFile, entry.m_ClearFlag);
    ReachPlay();
    const std::int32_t lives = g_Progress.nLives;
    CapturingHost host(cInputScript(), 100);
    PlayToClear(ClearsStage1(), host);
    EXPECT_GE(g_Progress.nScore, 1000);
    EXPECT_EQ(g_Progress.nLives, lives);
    EXPECT_EQ(played.SoundsOf(kExtraLifeSound), 0);
    EXPECT_EQ(host.presents, 0);
}

TEST_F(BundledClear, AChallengeChainGoesOnToItsSecondStageThenOpensTheNextChallenge)
{
    SetUpDisplay(test::BundledBackEnds().back().mode);
    StartPlay(PLAYKIND_CHALLENGE, PLAYMODE_CHALLENGE, ChallengeName(1), 1);
    ReachPlay();
    const std::int32_t lives = g_Progress.nLives;
    CapturingHost host(cInputScript(), 100);
    PlayToClear(ClearsC01Part1(), host);
    ASSERT_FALSE(HasFatalFailure());
    // Not the chain's last stage: no results, nothing to rank.
    EXPECT_EQ(scene->m_RankPos, std::vector<std::int32_t>(kRankKinds, -1));
    const std::int32_t firstScore = g_Progress.nScore;
    EXPECT_GT(firstScore, 0);
    EXPECT_LT(firstScore, 1000);

    // The confirm button goes on to the chain's second stage in the same scene.
    LeaveClear(1);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY);
    EXPECT_EQ(g_Progress.nChainNo, 2);
    EXPECT_NE(g_Stage.strFileName.find("c01-2"), std::string::npos) << g_Stage.strFileName;
    FadeOut();
    ASSERT_EQ(g_SceneMgr.g_CurScene, SCENE_GAME_PLAY);
    ReachPlay();
    const cEdChara& hero = g_Stage.PlacedCharas[static_cast<std::size_t>(g_Stage.FindHero())];
    EXPECT_EQ(static_cast<int>(scene->Player[P1].m_X) / 32, hero.nX + kMapMargin);
    EXPECT_EQ(g_Progress.nLives, lives) << "the chain takes no life";
    EXPECT_EQ(g_Progress.nScore, firstScore) << "the totals carry on";

    // Its clear crosses the 1000 points: a life; then the results and the
    // challenge's record.
    PlayToClear(ClearsC01Part2(), host);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GE(g_Progress.nScore, 1000);
    EXPECT_EQ(g_Progress.nLives, lives + 1);
    EXPECT_EQ(host.presents, 30);
    EXPECT_EQ(scene->m_RankPos, std::vector<std::int32_t>(kRankKinds, 0));

    // What Challenge.dat must hold: the progress as it stood at the clear,
    // with the challenge cleared at its best score, the total raised by it,
    // the next challenge opened, and the number of the next stage tried.
    cSaveData expected = g_Progress;
    expected.vChallenge[0].bCleared = 1;
    expected.vChallenge[0].nBest = g_Progress.nScore;
    expected.nTotalScore = g_Progress.nScore;
    expected.nChallengeOpen = 2;
    expected.nChainNo = 3;
    const std::vector<std::uint8_t> bytes = SaveToBytes(expected);
    LeaveClear(1);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_CHALLENGE);
    EXPECT_EQ(g_Progress.nChainNo, 2) << "the stage number is put back";
    const std::string written = dir_.read("user_data/challenge/Challenge.dat");
    EXPECT_EQ(written.size(), bytes.size());
    EXPECT_TRUE(written == std::string(bytes.begin(), bytes.end()))
        << "Challenge.dat differs from the progress at the clear";
    cSaveData loaded;
    ASSERT_EQ(LoadFile(loaded, g_PathTable[PATH_CHALLENGE_DATA]), 1);
    EXPECT_EQ(loaded.nChallengeOpen, 2);
    EXPECT_EQ(loaded.vChallenge[0].bCleared, 1);
}

TEST_F(BundledClear, ADirectlyStartedStageIsPlayedAgainAfterItsClear)
{
    SetUpDisplay(test::BundledBackEnds().front().mode);
    g_RestartFreePlay = [] { return StartFreePlay(g_LastStagePath.c_str(), 0); };
    // As the start-up arranges a stage given to it.
    g_DirectStart = 1;
    ASSERT_EQ(StartFreePlay("data\\stg4\\Stage1.stg4_001", 1), 1);
    g_Progress.bChainStage = 0;
    g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
    g_SceneMgr.m_ResultsOn = 1;
    g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
    g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
    scene = std::make_unique<cGamePlay>();
    g_GamePlay = scene.get();
    ReachPlay();
    const double startX = scene->Player[P1].m_X;
    CapturingHost host(cInputScript(), 100);
    PlayToClear(ClearsStage1(), host);
    ASSERT_FALSE(HasFatalFailure());
    // Unlimited lives: the 1000 points give none.
    EXPECT_GE(g_Progress.nScore, 1000);
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives);
    EXPECT_EQ(played.SoundsOf(kExtraLifeSound), 0);
    EXPECT_EQ(host.presents, 0);
    EXPECT_EQ(scene->m_RankEligible, 1) << "a direct start has its rankings";

    LeaveClear(1);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY);
    FadeOut();
    ASSERT_EQ(g_SceneMgr.g_CurScene, SCENE_GAME_PLAY);
    ReachPlay();
    EXPECT_EQ(scene->Player[P1].m_X, startX) << "the stage starts again";
    EXPECT_EQ(g_Progress.nScore, 0);
    EXPECT_NE(g_Stage.strFileName.find("Stage1"), std::string::npos);
}

} // namespace
