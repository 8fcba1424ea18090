// The demo-sync check: the stored demos of the bundled game (tests/demos,
// replays with their state summaries, recorded from the running game by
// scripts/record-demos.sh) each play back, without a window, to every
// state they were recorded with. A change of the game's behaviour fails
// this; when the change is meant, the demos are recorded again on purpose
// with the script.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/headless_game.h"
#include "tools/default_game_fixture.h"

namespace {

namespace fs = std::filesystem;

fs::path DemoFolder()
{
    const char* source = std::getenv("RT_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "demos";
}

// The names of the stored demos (their replay files without the extension).
std::vector<std::string> Demos()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(DemoFolder(), ec))
        if (entry.path().extension() == ".rpl4_511") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

constexpr const char* kRecordAgain =
    "The game's behaviour has changed. If that is meant (a change of the world's rules or of the "
    "bundled game's stages), record the demos again with scripts/record-demos.sh and commit them "
    "with the change.";

class DemoSync : public test::DefaultGame, public testing::WithParamInterface<std::string> {};

TEST_P(DemoSync, PlaysBackToEveryRecordedState)
{
    const std::string name = GetParam();
    fs::create_directories(dir_ / "user_data" / "rpl4");
    for (const char* ext : {".rpl4_511", ".sync"})
        fs::copy_file(DemoFolder() / (name + ext), dir_ / "user_data" / "rpl4" / (name + ext));
    const std::string path = "user_data\\rpl4\\" + name + ".rpl4_511";

    const test::ReplayPlayback back = test::PlayBackReplay(path);
    ASSERT_TRUE(back.read) << "demo " << name << " cannot be read. " << kRecordAgain;
    ASSERT_GT(back.checkpoints, 0);
    ASSERT_EQ(back.outOfSyncAt, 0) << "demo " << name << " left its recorded states at frame "
                                   << back.outOfSyncAt << ". " << kRecordAgain;
    EXPECT_EQ(back.completed, 1) << "demo " << name << " never reached its last frame "
                                 << back.frames << ". " << kRecordAgain;
    EXPECT_EQ(back.matched, back.checkpoints) << "demo " << name;
    EXPECT_EQ(back.closeRequests, 0) << "demo " << name;
}

INSTANTIATE_TEST_SUITE_P(Stored, DemoSync, testing::ValuesIn(Demos()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Every demo comes with its summary, and there are demos to play: an empty
// or half-copied folder must not pass the check unnoticed.
TEST(DemoSyncSet, EveryDemoHasItsSummary)
{
    const std::vector<std::string> demos = Demos();
    EXPECT_GE(demos.size(), 4u) << "the demos are missing from " << DemoFolder();
    for (const std::string& name : demos)
        EXPECT_TRUE(fs::exists(DemoFolder() / (name + ".sync"))) << name;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(DemoFolder(), ec)) {
        if (entry.path().extension() != ".sync") continue;
        EXPECT_TRUE(fs::exists(fs::path(entry.path()).replace_extension(".rpl4_511")))
            << entry.path();
    }
}

} // namespace
