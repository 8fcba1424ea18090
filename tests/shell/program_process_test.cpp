// The program as a process of its own: a close signal at its very first step
// ends it in order; without a display it says so and ends with a non-zero
// status instead of running where nobody can see it; and when its display
// goes it ends without a crash.
#include "shell/child_program.h"
#include "support/generated_game.h"
#include "support/own_x_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

// A game folder that has its data\ already.
class ProgramFolder {
public:
    ProgramFolder()
    {
        test::copyGeneratedGame(dir.path());
        fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
    }
    bool reported(const std::string& line) const
    {
        return dir.read("Report_Game.txt").find(line + "\n") != std::string::npos;
    }

    test::TempDir dir;
};

struct CloseSignal {
    const char* name;
    int signal;
};

TEST(ProgramProcess, ACloseSignalAtTheFirstStepEndsTheProgramInOrder)
{
    for (const CloseSignal c : {CloseSignal{"SIGTERM", SIGTERM}, CloseSignal{"SIGINT", SIGINT}}) {
        SCOPED_TRACE(c.name);
        ProgramFolder game;
        const std::string report = (game.dir / "Report_Game.txt").string();
        test::ChildProgram program(game.dir.path(),
                                   {{"XDG_RUNTIME_DIR", game.dir.path().string()}});
        ASSERT_TRUE(program.started());
        // The run report is the program's first file: the signal comes as
        // soon as it is there.
        struct stat made {};
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (::stat(report.c_str(), &made) != 0 && std::chrono::steady_clock::now() < limit)
            std::this_thread::yield();
        ASSERT_EQ(::kill(program.pid(), c.signal), 0);
        const test::ChildEnd end = program.wait();
        ASSERT_TRUE(end.ended);
        EXPECT_EQ(end.signal, 0) << "ended by the signal's default action";
        EXPECT_EQ(end.status, 0) << program.errors();
        EXPECT_TRUE(game.reported("start-up ended: the window was closed"))
            << game.dir.read("Report_Game.txt");
    }
}

// A display number that no X server answers.
std::string unreachableDisplay()
{
    int n = 4321;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)))
        ++n;
    return ":" + std::to_string(n);
}

struct NoDisplay {
    const char* name;
    std::optional<std::string> display;
    const char* said;
};

TEST(ProgramProcess, WithoutADisplayTheProgramSaysSoAndEndsWithANonZeroStatus)
{
    const NoDisplay cases[] = {
        {"DisplayNotSet", std::nullopt, "there is no display (DISPLAY is not set)"},
        {"DisplayUnreachable", unreachableDisplay(), "cannot be reached"},
    };
    for (const NoDisplay& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder game;
        test::ChildProgram program(game.dir.path(), {{"XDG_RUNTIME_DIR", game.dir.path().string()},
                                                     {"SDL_VIDEODRIVER", std::nullopt},
                                                     {"WAYLAND_DISPLAY", std::nullopt},
                                                     {"DISPLAY", c.display}});
        ASSERT_TRUE(program.started());
        const test::ChildEnd end = program.wait();
        ASSERT_TRUE(end.ended) << "the program ran on without a display";
        EXPECT_EQ(end.signal, 0);
        EXPECT_NE(end.status, 0);
        EXPECT_NE(program.errors().find(c.said), std::string::npos) << program.errors();
        EXPECT_NE(game.dir.read("Report_Game.txt").find(c.said), std::string::npos);
    }
}

TEST(ProgramProcess, WhenTheDisplayGoesTheProgramEndsWithoutACrash)
{
    test::OwnXServer server;
    if (server.display().empty()) GTEST_SKIP() << "Xvfb cannot be started";
    ProgramFolder game;
    test::ChildProgram program(game.dir.path(), {{"XDG_RUNTIME_DIR", game.dir.path().string()},
                                                 {"SDL_VIDEODRIVER", "x11"},
                                                 {"DISPLAY", server.display()}});
    ASSERT_TRUE(program.started());
    // The graphics are set up once the report describes the display; a
    // little later the game runs, with its threads.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (game.dir.read("Report_Game.txt").find("Bpp : ") == std::string::npos) {
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << program.errors();
        ASSERT_FALSE(program.wait(0).ended) << program.errors();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    server.end();
    const test::ChildEnd end = program.wait();
    ASSERT_TRUE(end.ended) << "the program ran on without its display";
    EXPECT_EQ(end.signal, 0) << program.errors();
    EXPECT_NE(end.status, 0);
    EXPECT_EQ(program.errors().find("Sanitizer"), std::string::npos) << program.errors();
    EXPECT_TRUE(
        game.reported("the connection to the display broke: the program ends without its shutdown"))
        << game.dir.read("Report_Game.txt");
}

} // namespace
