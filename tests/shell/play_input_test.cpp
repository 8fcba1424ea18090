// The bundled game's first stage played in a window (on X when the tests
// run under Xvfb, else over SDL's dummy video): the arrow keys, and a game
// controller plugged in during play, move the player the way they point.
// Keys and controller go through SDL's event queue and the program's own
// event pump, as a player's would.
#include "platform/game_window.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "shell/running_game.h"
#include "support/played_game.h"
#include "support/x_display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace {

// How far (map pixels) a held direction must carry the player.
constexpr double kStride = 16;
// The stage is loaded and started by a sanitized build on a busy machine.
constexpr int kStartSeconds = 60;

// The player's position after each frame of play, published by the game
// thread for the test's driver thread.
std::atomic<double> g_PlayerX{0};
std::atomic<int> g_PlayFrames{0};

// The game's own play scene, which also publishes where the player is.
class WatchedPlay : public cGamePlay {
public:
    void Run() override
    {
        cGamePlay::Run();
        if (m_Phase != PHASE_PLAY || Player.empty()) return;
        g_PlayerX = Player[P1].m_X;
        ++g_PlayFrames;
    }
};

class PlayInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.dir.write("System.ini", "Direct3D=1\nWindowMode=1\nVSync=0\nExit\n");
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDOK;
        });
        g_PlayFrames = 0;
    }
    void TearDown() override { plat::setMessageBoxResponder(nullptr); }

    // Waits until the player has gone a stride from x the given way (+1
    // right, -1 left); the position it reached.
    static double WalkedFrom(double x, int way)
    {
        test::WaitFor([&] { return (g_PlayerX - x) * way >= kStride; }, 10);
        return g_PlayerX;
    }

    test::PlayedGame game{[] { return std::unique_ptr<cScene>(new WatchedPlay); }};
    std::vector<std::string> boxes;
};

TEST_F(PlayInput, TheArrowKeysAndAControllerPluggedInDuringPlayMoveThePlayer)
{
    test::XDisplay x;
    if (x.present()) {
        ASSERT_TRUE(x.held()) << "another test kept the X display";
    }
    double start = 0, afterRight = 0, afterLeftKey = 0, afterStick = 0;
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
        ASSERT_TRUE(test::WaitFor([] { return g_PlayFrames > 10; }, kStartSeconds));
        start = g_PlayerX;

        plat::pushKeyEvent(SDL_SCANCODE_RIGHT, true);
        afterRight = WalkedFrom(start, +1);
        plat::pushKeyEvent(SDL_SCANCODE_RIGHT, false);

        plat::pushKeyEvent(SDL_SCANCODE_LEFT, true);
        afterLeftKey = WalkedFrom(afterRight, -1);
        plat::pushKeyEvent(SDL_SCANCODE_LEFT, false);

        // A controller plugged in now; its stick held to the right.
        int device = -1;
        SDL_Joystick* joystick = nullptr;
        plat::runOnMainThread([&] {
            device =
                SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
            joystick = SDL_JoystickOpen(device);
            SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MAX);
        });
        afterStick = WalkedFrom(afterLeftKey, +1);
        plat::runOnMainThread([&] {
            SDL_JoystickClose(joystick);
            SDL_JoystickDetachVirtual(device);
        });
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.ran);
    EXPECT_GE(afterRight - start, kStride) << "the right arrow";
    EXPECT_GE(afterRight - afterLeftKey, kStride) << "the left arrow";
    EXPECT_GE(afterStick - afterLeftKey, kStride) << "the controller's stick";
    EXPECT_TRUE(boxes.empty());
}

} // namespace
