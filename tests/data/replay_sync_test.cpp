// The state summary of a replay: its checkpoints, its text, the file it is
// kept in beside the replay, and the summaries that are not used (damaged,
// another replay's, none for a log not recorded here).

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/report.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/replay_sync.h"
#include "support/temp_dir.h"

namespace {

// A summary of n frames whose state after frame k is k * 1000003.
cReplaySync SummaryOf(std::int64_t frames)
{
    cReplaySync sync;
    for (std::int64_t k = 1; k <= frames; ++k)
        sync.NoteFrame(static_cast<std::uint64_t>(k) * 1000003u);
    return sync;
}

TEST(ReplaySummary, KeepsEverySixtiethFrameAndTheLast)
{
    struct Case {
        std::int64_t frames;
        std::vector<std::int64_t> checkpoints;
    };
    const Case cases[] = {
        {1, {1}},
        {59, {59}},
        {60, {60}},
        {61, {60, 61}},
        {150, {60, 120, 150}},
        {180, {60, 120, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        const cReplaySync sync = SummaryOf(c.frames);
        EXPECT_EQ(sync.Frames(), c.frames);
        std::vector<std::int64_t> found;
        for (std::int64_t k = -1; k <= c.frames + 2; ++k) {
            const auto hash = sync.Expected(k);
            if (!hash) continue;
            found.push_back(k);
            EXPECT_EQ(*hash, static_cast<std::uint64_t>(k) * 1000003u);
        }
        EXPECT_EQ(found, c.checkpoints);
    }
    EXPECT_FALSE(cReplaySync().Expected(0));
}

TEST(ReplaySummary, TextRoundTripsWithItsSeed)
{
    const cReplaySync sync = SummaryOf(125);
    const std::string text = sync.ToText(-77);
    EXPECT_EQ(text, "replay-sync 1\nseed -77\nframes 125\n"
                    "60 00000000039387b4\n120 0000000007270f68\n125 0000000007735ab7\n");
    std::int32_t seed = 0;
    const auto back = cReplaySync::FromText(text, seed);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, sync);
    EXPECT_EQ(seed, -77);
    // Line ends of another system are read too.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(cReplaySync::FromText(crlf, seed));
}

TEST(ReplaySummary, DamagedTextIsRefused)
{
    const std::string good = SummaryOf(125).ToText(5);
    auto edit = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string cases[] = {
        "",
        edit("replay-sync 1", "replay-sync 2"),
        edit("seed 5", "seed five"),
        edit("seed 5", "seed 99999999999"),
        edit("seed 5", "seeds 5"),
        edit("frames 125", "frames 0"),
        edit("frames 125", "frames -125"),
        edit("frames 125", "frames 9223372036854775807"),
        edit("frames 125", "frames 126"),
        edit("120 ", "119 "),
        edit("120 0000000007270f68\n", ""),
        edit("60 00000000039387b4\n120 0000000007270f68\n",
             "120 0000000007270f68\n60 00000000039387b4\n"),
        edit("0000000007270f68", "7270f68"),
        edit("0000000007270f68", "0000000007270f6g"),
        edit("0000000007270f68", "0000000007270f680"),
        edit("60 00000000039387b4", "60  00000000039387b4"),
        good + "180 0000000000000000\n",
        good + "x",
        good.substr(0, good.size() - 3),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        std::int32_t seed = 123;
        EXPECT_FALSE(cReplaySync::FromText(text, seed));
        EXPECT_EQ(seed, 123) << "left as it was";
    }
}

TEST(ReplaySummary, LivesBesideTheReplayUnderTheExtensionSync)
{
    const std::pair<std::string, std::string> cases[] = {
        {"user_data\\rpl4\\Stage1_00.rpl4_511", "user_data\\rpl4\\Stage1_00.sync"},
        {"user_data\\rpl4\\noext", "user_data\\rpl4\\noext.sync"},
        {"a.b\\name", "a.b\\name.sync"},
    };
    for (const auto& [replay, sync] : cases)
        EXPECT_EQ(ReplaySyncPath(replay), sync) << replay;
}

constexpr const char* kStageFile = "data\\stg4\\Stage1.stg4_001";
constexpr const char* kReplayPath = "user_data\\rpl4\\Stage1_00.rpl4_511";
constexpr const char* kSyncFile = "user_data/rpl4/Stage1_00.sync";

class ReplaySummaryFile : public testing::Test {
protected:
    ReplaySummaryFile() : cwd_(dir_.path())
    {
        CreateGameFolders();
        ReportCreate("report.txt");
        stage_.nWidth = 20;
        stage_.nHeight = 15;
        stage_.PlacedCharas.resize(1);
        stage_.strFileName = kStageFile;
        atStart_.CopySettingsFrom(stage_);
    }

    // A log recorded here: each frame's state noted as the play notes it.
    static cReplayLog Recorded(int frames, std::int32_t seed)
    {
        cReplayLog log;
        log.Start(seed, kStageFile);
        for (int k = 1; k <= frames; ++k) {
            log.Record(static_cast<std::uint16_t>(k / 30 % 4), 0);
            log.m_Sync.NoteFrame(static_cast<std::uint64_t>(k) * 77);
        }
        return log;
    }

    int Save(const cReplayLog& log)
    {
        cReplayLog copy = log;
        return copy.SaveReplay(kReplayPath, stage_, atStart_, progress_);
    }

    // Reads the replay as the main window does; the log read.
    cReplayLog Load()
    {
        cReplayLog log;
        cEdStage stage;
        cEdStage atStart;
        cSaveData progress;
        EXPECT_EQ(log.LoadReplay(kReplayPath, stage, atStart, progress), 1);
        return log;
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
    cEdStage stage_;
    cEdStage atStart_;
    cSaveData progress_;
};

TEST_F(ReplaySummaryFile, IsWrittenWithTheReplayAndReadWithIt)
{
    const cReplayLog log = Recorded(130, 4711);
    ASSERT_EQ(Save(log), 1);
    std::int32_t seed = 0;
    EXPECT_EQ(cReplaySync::FromText(dir_.read(kSyncFile), seed), log.m_Sync);
    EXPECT_EQ(seed, 4711);

    const cReplayLog loaded = Load();
    EXPECT_EQ(loaded.m_SyncFile, cReplayLog::SyncFile::kRead);
    EXPECT_EQ(loaded.m_Sync, log.m_Sync);
}

TEST_F(ReplaySummaryFile, ThatIsMissingDamagedOrAnotherReplaysIsNotUsed)
{
    using SyncFile = cReplayLog::SyncFile;
    ASSERT_EQ(Save(Recorded(130, 4711)), 1);
    const std::string own = dir_.read(kSyncFile);
    struct Case {
        const char* name;
        std::optional<std::string> text; // nothing: no file
        SyncFile found;
    };
    const Case cases[] = {
        {"own", own, SyncFile::kRead},
        {"none", std::nullopt, SyncFile::kNone},
        {"damaged", own.substr(0, 40), SyncFile::kDamaged},
        {"another seed", Recorded(130, 4712).m_Sync.ToText(4712), SyncFile::kForeign},
        {"other frames", Recorded(129, 4711).m_Sync.ToText(4711), SyncFile::kForeign},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir_ / kSyncFile);
        if (c.text) dir_.write(kSyncFile, *c.text);
        const cReplayLog loaded = Load();
        EXPECT_EQ(loaded.m_SyncFile, c.found);
        EXPECT_EQ(loaded.m_Sync.Frames(), c.found == SyncFile::kRead ? 130 : 0);
    }
}

TEST_F(ReplaySummaryFile, IsNotWrittenForALogReadFromAFile)
{
    ASSERT_EQ(Save(Recorded(130, 4711)), 1);
    std::filesystem::remove(dir_ / kSyncFile);
    // Saved again after it was read without a summary: still none.
    cReplayLog loaded = Load();
    loaded.m_StageFile = kStageFile;
    ASSERT_EQ(Save(loaded), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / kSyncFile));
}

TEST_F(ReplaySummaryFile, ThatCannotBeWrittenIsReportedAndTheReplayIsSaved)
{
    // A folder stands where the summary would go.
    std::filesystem::create_directories(dir_ / kSyncFile);
    ASSERT_EQ(Save(Recorded(130, 4711)), 1);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "user_data/rpl4/Stage1_00.rpl4_511"));
    EXPECT_NE(dir_.read("report.txt")
                  .find("user_data\\rpl4\\Stage1_00.sync could not be written: the replay will "
                        "play unchecked"),
              std::string::npos);
}

} // namespace
