// Story slots and the challenge progress on disk: where each is written, a
// write that fails, loads that fail, and the summaries of the slots.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/report.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "data/story_slots.h"
#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class StorySlots : public testing::Test {
protected:
    StorySlots() : cwd_(dir_.path()), system_(g_System), slots_(g_StorySlots)
    {
        CreateGameFolders();
        g_StorySlots = InitStorySlots(kStorySlots);
    }
    ~StorySlots() override
    {
        plat::setAtomicWriteFailureHook(nullptr);
        g_System = system_;
        g_StorySlots = slots_;
    }

    Bytes fileBytes(const std::string& relative) const
    {
        const std::string text = dir_.read(relative);
        return Bytes(text.begin(), text.end());
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
    cEdSystem system_;
    std::vector<cEdSlotInfo> slots_;
};

TEST_F(StorySlots, SlotNumbersNameTheirFiles)
{
    EXPECT_EQ(StoryPath(0), "user_data\\story\\Story01.dat");
    EXPECT_EQ(StoryPath(8), "user_data\\story\\Story09.dat");
    EXPECT_EQ(StoryPath(9), "user_data\\story\\Story10.dat");
    EXPECT_EQ(StoryPath(98), "user_data\\story\\Story99.dat");
}

TEST_F(StorySlots, SavedSlotIsWrittenStampedAndShownUsed)
{
    cSaveData p;
    p.nScore = 1234;
    ASSERT_EQ(p.SaveStorySlot(4), 1);
    EXPECT_NE(p.stSaved.nYear, 0);
    EXPECT_EQ(fileBytes("user_data/story/Story05.dat"), SaveToBytes(p));
    EXPECT_EQ(g_StorySlots[4].bUsed, 1);
    EXPECT_EQ(g_StorySlots[4].stSaved.nMinute, p.stSaved.nMinute);
    EXPECT_EQ(g_StorySlots[4].stSaved.nMilliseconds, p.stSaved.nMilliseconds);
    EXPECT_EQ(g_StorySlots[3].bUsed, 0);
}

TEST_F(StorySlots, AFailedWriteKeepsTheOldFileAndTheSlotAsItWas)
{
    cSaveData first;
    first.nScore = 1;
    ASSERT_EQ(first.SaveStorySlot(0), 1);
    const Bytes before = fileBytes("user_data/story/Story01.dat");
    const SaveTime firstTime = g_StorySlots[0].stSaved;

    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    cSaveData second;
    second.nScore = 2;
    EXPECT_EQ(second.SaveStorySlot(0), 0);
    EXPECT_EQ(second.SaveStorySlot(1), 0);
    EXPECT_EQ(fileBytes("user_data/story/Story01.dat"), before);
    EXPECT_EQ(g_StorySlots[0].bUsed, 1);
    EXPECT_EQ(g_StorySlots[0].stSaved.nMilliseconds, firstTime.nMilliseconds);
    EXPECT_EQ(g_StorySlots[1].bUsed, 0);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "user_data/story/Story02.dat"));
}

// A carried command that nothing can run does not make the save unreadable:
// it loads as a command without effect, and the run report names the file.
TEST_F(StorySlots, ACarriedCommandThatNothingCanRunLoadsWithoutEffect)
{
    ASSERT_EQ(ReportCreate("report.txt"), 1);
    cSaveData saved;
    saved.vPlayer.resize(1);
    cEdCommand shot;
    shot.m_Kind = 11;
    MakeShotPart(shot.m_Shot);
    shot.m_Shot->m_MoveKind = 12;
    saved.vPlayer[0].Chara.Flows.resize(1);
    saved.vPlayer[0].Chara.Flows[0].m_Commands = {shot};
    saved.nScore = 55;
    ASSERT_EQ(saved.SaveStorySlot(2), 1);

    cSaveData loaded;
    ASSERT_EQ(loaded.LoadStorySlot(2), 1);
    EXPECT_EQ(loaded.nScore, 55);
    ASSERT_EQ(loaded.vPlayer.size(), 1u);
    EXPECT_EQ(loaded.vPlayer[0].Chara.Flows[0].m_Commands[0].m_Kind, 0);
    const std::string report = dir_.read("report.txt");
    EXPECT_EQ(report.rfind(StoryPath(2) + ": the command at byte ", 0), 0u) << report;
    EXPECT_NE(report.find("shot movement 12"), std::string::npos) << report;
}

TEST_F(StorySlots, ASlotOutsideTheNinetyNineIsNotWritten)
{
    for (const int slot : {-1, 99}) {
        cSaveData p;
        EXPECT_EQ(p.SaveStorySlot(slot), 0) << slot;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "user_data/story"));
}

TEST_F(StorySlots, LoadingReturnsTheRealResult)
{
    g_System.vUnlimitedLives = {0, 0, 0, 0};
    g_System.vInitialLives = {5, 6, 7, 8};
    cSaveData saved;
    saved.nLives = 999999;
    saved.nScore = 77;
    ASSERT_EQ(saved.SaveStorySlot(2), 1);
    dir_.write("user_data/story/Story04.dat", "damaged");

    cSaveData p;
    p.nScore = 5;
    EXPECT_EQ(p.LoadStorySlot(0), 0); // missing
    EXPECT_EQ(p.nScore, 5);
    EXPECT_EQ(p.LoadStorySlot(3), 0); // damaged
    EXPECT_EQ(p.nScore, 5);
    ASSERT_EQ(p.LoadStorySlot(2), 1);
    EXPECT_EQ(p.nScore, 77);
    EXPECT_EQ(p.nLives, 5); // unlimited lives are no longer the game's: story's initial lives
}

TEST_F(StorySlots, ChallengeProgressLoadsWithTheChallengeLives)
{
    g_System.vUnlimitedLives = {0, 1, 0, 0};
    cSaveData p;
    p.nScore = 5;
    EXPECT_EQ(p.LoadChallengeData(), 0);
    EXPECT_EQ(p.nScore, 5);

    cSaveData saved;
    saved.nScore = 300;
    saved.nLives = 2;
    ASSERT_EQ(saved.SaveFile(g_PathTable[PATH_CHALLENGE_DATA]), 1);
    ASSERT_EQ(p.LoadChallengeData(), 1);
    EXPECT_EQ(p.nScore, 300);
    EXPECT_EQ(p.nLives, 999999);
    EXPECT_EQ(p.nInitialLives, 999999);
    EXPECT_EQ(p.vChallenge.size(), static_cast<std::size_t>(g_System.nChallengeStages));
}

TEST_F(StorySlots, ScanShowsWhichSlotsHoldASaveAndWhen)
{
    cSaveData a;
    ASSERT_EQ(a.SaveStorySlot(0), 1);
    cSaveData b;
    b.stSaved = SaveTime{2001, 2, 0, 3, 4, 5, 6, 7};
    ASSERT_EQ(b.SaveFile("user_data\\story\\story03.DAT"), 1); // any case
    dir_.write("user_data/story/Story04.dat", "damaged");

    std::vector<cEdSlotInfo> slots = InitStorySlots(5);
    slots[1].bUsed = 1; // a slot whose file went away
    ScanStorySlots(slots);
    EXPECT_EQ(slots[0].bUsed, 1);
    EXPECT_EQ(slots[0].stSaved.nMilliseconds, a.stSaved.nMilliseconds);
    EXPECT_EQ(slots[1].bUsed, 0);
    EXPECT_EQ(slots[2].bUsed, 1);
    EXPECT_EQ(slots[2].stSaved.nYear, 2001);
    EXPECT_EQ(StorySlotTimeText(slots[2]), "2001/02/03 04:05\n");
    // A damaged file is still no free slot, and shows dashes for its time.
    EXPECT_EQ(slots[3].bUsed, 1);
    EXPECT_EQ(slots[3].bDamaged, 1);
    EXPECT_EQ(slots[3].stSaved.nYear, 0);
    EXPECT_EQ(StorySlotTimeText(slots[3]), "----/--/-- --:--\n");
    EXPECT_EQ(slots[4].bUsed, 0);
    EXPECT_EQ(slots[0].bDamaged, 0);

    // Saved over, it is whole again.
    ASSERT_EQ(a.SaveStorySlot(3), 1);
    EXPECT_EQ(g_StorySlots[3].bDamaged, 0);
    ScanStorySlots(slots);
    EXPECT_EQ(slots[3].bDamaged, 0);
}

} // namespace
