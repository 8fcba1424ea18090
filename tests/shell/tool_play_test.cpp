// A test play started by the authoring tool: the tool's pipe, named by
// QUENHOLT_TOOL_FD, makes the run a test play and hears that the window
// exists, then that the program ended: with 1 once the window is gone, with
// 0 when the start-up failed. Without the pipe nothing is written.
#include "data/test_flows.h"
#include "platform/tool_channel.h"
#include "shell/child_program.h"
#include "shell/running_game.h"
#include "support/generated_game.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_pipe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<unsigned char>;

const Bytes kWindowExists = {1, 0, 0, 0, 1, 0, 0, 0};
const Bytes kWindowDestroyed = {0, 0, 0, 0, 1, 0, 0, 0};
const Bytes kStartUpFailed = {0, 0, 0, 0, 0, 0, 0, 0};

Bytes Join(const Bytes& a, const Bytes& b)
{
    Bytes joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

struct ToolRun {
    const char* name;
    bool withPipe;
    bool withData; // else the start-up fails: no data\ and no default\ to make it from
    Bytes notices;
    int startedByTool; // while the game runs
};

TEST(ToolPlay, TheToolsPipeHearsTheWindowAndTheEndOfATestPlay)
{
    const ToolRun cases[] = {
        {"PlayedAndClosed", true, true, Join(kWindowExists, kWindowDestroyed), 1},
        {"StartUpFailed", true, false, Join(kWindowExists, kStartUpFailed), -1},
        {"NotATestPlay", false, true, {}, 0},
    };
    for (const ToolRun& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir game;
        test::copyGeneratedGame(game.path());
        if (c.withData) {
            fs::copy(game / "default", game / "data", fs::copy_options::recursive);
        } else {
            fs::remove_all(game / "default");
        }
        test::ScopedCurrentDir cwd(game.path());
        test::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", game.path().string());
        test::TestPipe pipe;
        test::ScopedEnv channel(plat::kToolFdVariable,
                                c.withPipe ? std::optional(pipe.writingEnd()) : std::nullopt);
        std::atomic<int> startedByTool{-1};
        Bytes whileRunning;
        const auto run = test::RunGame({}, [&] {
            startedByTool = g_StartedByTool;
            whileRunning = pipe.written();
        });
        EXPECT_EQ(run.status, c.withData ? 0 : 1);
        EXPECT_EQ(startedByTool.load(), c.startedByTool);
        if (run.ran && c.withPipe) {
            EXPECT_EQ(whileRunning, kWindowExists) << "the end came early";
        }
        EXPECT_EQ(Join(whileRunning, pipe.written()), c.notices);
    }
}

TEST(ToolPlay, TheProgramStartedWithThePipeWritesToItFromItsOwnProcess)
{
    // A game that cannot start (no data\, no default\): the window, then the end.
    test::TempDir game;
    test::copyGeneratedGame(game.path());
    fs::remove_all(game / "default");
    test::TestPipe pipe;
    test::ChildProgram program(game.path(), {{"XDG_RUNTIME_DIR", game.path().string()},
                                             {plat::kToolFdVariable, pipe.inheritedWritingEnd()}});
    ASSERT_TRUE(program.started());
    // Only the program holds the writing end from now on.
    pipe.closeWriting();
    const test::ChildEnd end = program.wait();
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.status, 1) << program.errors();
    EXPECT_EQ(pipe.read(24, 10), Join(kWindowExists, kStartUpFailed));
}

} // namespace
