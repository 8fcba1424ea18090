// The replay extension and the file name proposed for a new replay.

#include <gtest/gtest.h>

#include <string>

#include "core/format.h"
#include "data/path_table.h"
#include "data/replay_name.h"
#include "support/temp_dir.h"

namespace {

class ReplayName : public testing::Test {
protected:
    ReplayName() : cwd_(dir_.path()) { CreateGameFolders(); }

    // Replay files Stage_ij for the pairs first to last, in proposal order.
    void writeReplays(const std::string& stem, int count)
    {
        std::string name;
        for (int n = 0; n < count; ++n) {
            FormatStr(name, "user_data/rpl4/%s_%d%d.rpl4_511", stem.c_str(), n / 9, n % 9);
            dir_.write(name, "");
        }
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(ReplayName, ExtensionCarriesTheDataVersion)
{
    EXPECT_EQ(ReplayExtension(), "rpl4_511");
}

TEST_F(ReplayName, FirstFreePairIsProposed)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Stage_00.rpl4_511"},  {5, "Stage_05.rpl4_511"},
        {9, "Stage_10.rpl4_511"}, // after _08 comes _10: 9 is never tried
        {80, "Stage_88.rpl4_511"}, {81, "Stage_88.rpl4_511"}, // all taken: the last is proposed
    };
    for (const auto& [existing, proposal] : cases) {
        test::TempDir dir;
        test::ScopedCurrentDir cwd(dir.path());
        CreateGameFolders();
        std::string name;
        for (int n = 0; n < existing; ++n) {
            FormatStr(name, "user_data/rpl4/Stage_%d%d.rpl4_511", n / 9, n % 9);
            dir.write(name, "");
        }
        EXPECT_EQ(ProposeReplayName("Stage.stg4_001"), proposal) << existing << " existing";
    }
}

TEST_F(ReplayName, StageNamesOfEveryShapeGiveAFileName)
{
    writeReplays("c01", 2);
    // The progress record's stage name keeps its folders and ends in a dot.
    EXPECT_EQ(ProposeReplayName("data\\stg4\\c01."), "c01_02.rpl4_511");
    // A file of another case counts as taken.
    dir_.write("user_data/rpl4/FREE_00.RPL4_511", "");
    EXPECT_EQ(ProposeReplayName("free.stg4_003"), "free_01.rpl4_511");
    EXPECT_EQ(ProposeReplayName(""), "");
    // A stage name without an extension is proposed as it is.
    EXPECT_EQ(ProposeReplayName("data\\stg4\\plain"), "plain");
}

} // namespace
