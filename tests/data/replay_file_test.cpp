// Replay files: what they hold, saving and reading them back, the replays
// that are refused, and files that are damaged or cannot be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kStageFile = "data\\stg4\\c01-1.stg4_002";
constexpr const char* kReplayPath = "user_data\\rpl4\\c01_00.rpl4_511";

// A stage being played: the live stage with a hero and another placed
// character, and its settings as loaded, which the play has since changed.
struct PlayedStage {
    cEdStage live;
    cEdStage atStart;

    PlayedStage()
    {
        live.nWidth = 40;
        live.nHeight = 20;
        live.PlacedCharas.resize(2);
        live.PlacedCharas[0].nOperator = 0;
        live.PlacedCharas[0].nGraphicNo = 3;
        live.PlacedCharas[0].nX = 5;
        live.PlacedCharas[1].nX = 9;
        live.nTimeLimit = 300;
        live.strFileName = kStageFile;
        live.SetSpeedLevel(live.nSpeedLevel); // as loading a stage derives them
        atStart.CopySettingsFrom(live);
        live.nTimeLimit = 12; // changed by the play, not part of the replay
    }
};

cReplayLog attemptLog(const std::string& stageFile)
{
    cReplayLog log;
    log.Start(4242, stageFile);
    for (int frame = 0; frame < 100; ++frame) {
        log.Record(static_cast<std::uint16_t>(frame / 10 % 3),
                   static_cast<std::uint16_t>(frame % 7));
    }
    return log;
}

cSaveData progressAtStart()
{
    cSaveData p;
    p.nLives = 3;
    p.nScore = 800;
    p.strStage = "data\\stg4\\c01.";
    p.vCommonVar[9] = 99;
    return p;
}

class ReplayFile : public testing::Test {
protected:
    ReplayFile() : cwd_(dir_.path()) { CreateGameFolders(); }
    ~ReplayFile() override { plat::setAtomicWriteFailureHook(nullptr); }

    Bytes fileBytes(const std::string& relative) const
    {
        const std::string text = dir_.read(relative);
        return Bytes(text.begin(), text.end());
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(ReplayFile, HoldsTheStageAtStartTheLogAndTheProgress)
{
    PlayedStage stage;
    cReplayLog log = attemptLog(kStageFile);
    cSaveData progress = progressAtStart();
    ASSERT_EQ(log.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 1);

    // The same bytes as the records' own save code gives, part after part.
    ByteWriter expected;
    expected.writeI32(511);
    PlayedStage again;
    again.live.SaveForReplay(expected, again.atStart);
    cReplayLog logAgain = attemptLog(kStageFile);
    logAgain.Save(expected);
    cSaveData progressAgain = progressAtStart();
    progressAgain.Save(expected);
    const Bytes want(expected.bytes().begin(), expected.bytes().end());
    EXPECT_EQ(fileBytes("user_data/rpl4/c01_00.rpl4_511"), want);
}

TEST_F(ReplayFile, ReadsBackIntoTheStagesTheLogAndTheProgress)
{
    PlayedStage played;
    cReplayLog log = attemptLog(kStageFile);
    cSaveData progress = progressAtStart();
    ASSERT_EQ(log.SaveReplay(kReplayPath, played.live, played.atStart, progress), 1);

    cEdStage stage;
    cEdStage atStart;
    cReplayLog loaded;
    loaded.nPosA = 3;
    cSaveData loadedProgress;
    ASSERT_EQ(loaded.LoadReplay(kReplayPath, stage, atStart, loadedProgress), 1);
    EXPECT_EQ(loaded.nSeed, 4242);
    EXPECT_EQ(loaded.InputsA, log.InputsA);
    EXPECT_EQ(loaded.RunsB, log.RunsB);
    EXPECT_EQ(loaded.nPosA, 3); // rewinding is the stage set-up's
    EXPECT_EQ(loadedProgress.nScore, 800);
    EXPECT_EQ(loadedProgress.vCommonVar[9], 99);
    // The settings are those at the start, the placed objects the stage's.
    EXPECT_EQ(stage.nTimeLimit, 300);
    EXPECT_EQ(atStart.nTimeLimit, 300);
    ASSERT_EQ(stage.PlacedCharas.size(), 2u);
    EXPECT_EQ(stage.PlacedCharas[1].nX, 9);
    EXPECT_TRUE(atStart.PlacedCharas.empty());

    // Saved again from what was read, the file is the same.
    ASSERT_EQ(loaded.SaveReplay("user_data\\rpl4\\copy.rpl4_511", stage, atStart, loadedProgress),
              1);
    EXPECT_EQ(fileBytes("user_data/rpl4/copy.rpl4_511"),
              fileBytes("user_data/rpl4/c01_00.rpl4_511"));
}

TEST_F(ReplayFile, ALogThatDoesNotBelongToTheStageIsRefused)
{
    PlayedStage stage;
    cSaveData progress = progressAtStart();
    // The previous attempt was on the chain's first stage; the second is played now.
    cReplayLog previous = attemptLog("data\\stg4\\c01-1.stg4_001");
    EXPECT_EQ(previous.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 0);
    cReplayLog empty;
    empty.Start(1, kStageFile);
    EXPECT_EQ(empty.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 0);
    cReplayLog broken = attemptLog(kStageFile);
    broken.RunsA.pop_back();
    EXPECT_EQ(broken.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "user_data/rpl4"));
}

TEST_F(ReplayFile, AWriteThatFailsKeepsTheOldFile)
{
    PlayedStage stage;
    cSaveData progress = progressAtStart();
    cReplayLog log = attemptLog(kStageFile);
    ASSERT_EQ(log.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 1);
    const Bytes before = fileBytes("user_data/rpl4/c01_00.rpl4_511");

    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    log.Record(8, 8);
    EXPECT_EQ(log.SaveReplay(kReplayPath, stage.live, stage.atStart, progress), 0);
    EXPECT_EQ(fileBytes("user_data/rpl4/c01_00.rpl4_511"), before);
    plat::setAtomicWriteFailureHook(nullptr);

    // A folder that does not exist cannot take the file.
    EXPECT_EQ(log.SaveReplay("user_data\\none\\x.rpl4_511", stage.live, stage.atStart, progress),
              0);
}

TEST_F(ReplayFile, DamagedFilesAreRefusedAndChangeNothing)
{
    PlayedStage played;
    cReplayLog log = attemptLog(kStageFile);
    cSaveData progress = progressAtStart();
    ASSERT_EQ(log.SaveReplay(kReplayPath, played.live, played.atStart, progress), 1);
    const Bytes good = fileBytes("user_data/rpl4/c01_00.rpl4_511");

    // The file with an empty log in place of the recorded one.
    ByteWriter emptyLog;
    emptyLog.writeI32(511);
    PlayedStage again;
    again.live.SaveForReplay(emptyLog, again.atStart);
    cReplayLog none;
    none.Save(emptyLog);
    cSaveData progressAgain = progressAtStart();
    progressAgain.Save(emptyLog);

    std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty log", Bytes(emptyLog.bytes().begin(), emptyLog.bytes().end())},
        {"empty file", {}},
    };
    for (std::size_t cut = 4; cut < good.size(); cut += 37) {
        cases.emplace_back("cut at " + std::to_string(cut),
                           Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
    }
    cases.emplace_back("one byte short", Bytes(good.begin(), good.end() - 1));

    for (const auto& [what, bytes] : cases) {
        dir_.write("user_data/rpl4/bad.rpl4_511", std::string(bytes.begin(), bytes.end()));
        cEdStage stage;
        stage.nWidth = 77;
        cEdStage atStart;
        atStart.nWidth = 78;
        cReplayLog loaded = attemptLog("other");
        cSaveData loadedProgress;
        loadedProgress.nScore = 5;
        EXPECT_EQ(
            loaded.LoadReplay("user_data\\rpl4\\bad.rpl4_511", stage, atStart, loadedProgress), 0)
            << what;
        EXPECT_EQ(stage.nWidth, 77) << what;
        EXPECT_EQ(atStart.nWidth, 78) << what;
        EXPECT_EQ(loaded.nSeed, 4242) << what;
        EXPECT_TRUE(loaded.RecordedOn("other")) << what;
        EXPECT_EQ(loadedProgress.nScore, 5) << what;
    }

    cEdStage stage;
    cEdStage atStart;
    cReplayLog loaded;
    cSaveData loadedProgress;
    EXPECT_EQ(
        loaded.LoadReplay("user_data\\rpl4\\missing.rpl4_511", stage, atStart, loadedProgress), 0);
}

} // namespace
