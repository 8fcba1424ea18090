// Keys are read by their Windows codes mapped from the keys' positions, held
// states are readable on any thread, key presses reach the game window as
// messages, and controllers (SDL's virtual ones here) are read as joystick
// snapshots from the moment they are plugged in.

#include "platform/game_window.h"
#include "platform/input.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

using plat::KeyLayout;

TEST(KeyCodes, KeysMapByPositionAndOnlyThePunctuationDependsOnTheLayout)
{
    struct Case {
        int scancode;
        bool numLock;
        KeyLayout layout;
        int vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, true, KeyLayout::Jis, 'A'},
        {SDL_SCANCODE_Z, true, KeyLayout::Us, 'Z'},
        {SDL_SCANCODE_1, true, KeyLayout::Jis, '1'},
        {SDL_SCANCODE_0, true, KeyLayout::Jis, '0'},
        {SDL_SCANCODE_F1, true, KeyLayout::Jis, 0x70},
        {SDL_SCANCODE_F12, true, KeyLayout::Jis, 0x7B},
        {SDL_SCANCODE_F13, true, KeyLayout::Jis, 0x7C},
        {SDL_SCANCODE_LEFT, true, KeyLayout::Jis, 0x25},
        {SDL_SCANCODE_UP, true, KeyLayout::Jis, 0x26},
        {SDL_SCANCODE_RIGHT, true, KeyLayout::Jis, 0x27},
        {SDL_SCANCODE_DOWN, true, KeyLayout::Jis, 0x28},
        {SDL_SCANCODE_ESCAPE, true, KeyLayout::Jis, 0x1B},
        {SDL_SCANCODE_KP_ENTER, true, KeyLayout::Jis, 0x0D},
        {SDL_SCANCODE_KP_4, true, KeyLayout::Jis, 0x64},
        {SDL_SCANCODE_KP_4, false, KeyLayout::Jis, 0x25},
        {SDL_SCANCODE_KP_5, false, KeyLayout::Jis, 0x0C},
        {SDL_SCANCODE_KP_PERIOD, false, KeyLayout::Jis, 0x2E},
        {SDL_SCANCODE_RSHIFT, true, KeyLayout::Jis, 0xA1},
        {SDL_SCANCODE_EQUALS, true, KeyLayout::Us, 0xBB},
        {SDL_SCANCODE_EQUALS, true, KeyLayout::Jis, 0xDE},
        {SDL_SCANCODE_APOSTROPHE, true, KeyLayout::Jis, 0xBA},
        {SDL_SCANCODE_INTERNATIONAL1, true, KeyLayout::Jis, 0xE2},
        {SDL_SCANCODE_UNKNOWN, true, KeyLayout::Jis, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::vkFromScancode(c.scancode, c.numLock, c.layout), c.vk) << c.scancode;
}

TEST(KeyStates, EitherSideOfAModifierHoldsItsCommonCodeAndCodesOutsideAreNeverHeld)
{
    plat::releaseAllKeys();
    plat::setKeyDown(0xA0, true);
    plat::setKeyDown(0xA1, true);
    plat::setKeyDown(0xA0, false);
    EXPECT_TRUE(plat::keyDown(plat::VK_SHIFT)) << "the right Shift still holds it";
    plat::setKeyDown(0xA1, false);
    EXPECT_FALSE(plat::keyDown(plat::VK_SHIFT));
    EXPECT_FALSE(plat::keyDown(256));
    EXPECT_FALSE(plat::keyDown(-1));
    plat::setKeyDown(300, true); // ignored
    plat::setKeyDown('Z', true);
    plat::releaseAllKeys();
    EXPECT_FALSE(plat::keyDown('Z'));
}

// SDL's events and a game window whose messages are recorded.
class Pump : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
        plat::setMainThread();
        ASSERT_TRUE(plat::initEvents()) << SDL_GetError();
        plat::releaseAllKeys();
        wnd = plat::createGameWindow(
            [this](plat::WindowId, std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
                seen.push_back(plat::Message{0, msg, w, l});
                return std::intptr_t{0};
            },
            640, 480);
        ASSERT_NE(wnd, 0u);
    }
    void TearDown() override
    {
        if (wnd) plat::destroyWindow(wnd);
        plat::shutdownEvents();
        plat::releaseAllKeys();
    }

    // Pumps and dispatches until the condition holds; false after 5 s.
    bool pumpUntil(const std::function<bool()>& done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            plat::Message m;
            while (plat::peekMessage(m))
                plat::dispatchMessage(m);
            if (std::chrono::steady_clock::now() > limit) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    std::vector<std::uint32_t> messages(std::uint32_t msg) const
    {
        std::vector<std::uint32_t> out;
        for (const auto& m : seen)
            if (m.msg == msg) out.push_back(static_cast<std::uint32_t>(m.wParam));
        return out;
    }

    std::vector<std::intptr_t> keyData(std::uint32_t msg) const
    {
        std::vector<std::intptr_t> out;
        for (const auto& m : seen)
            if (m.msg == msg) out.push_back(m.lParam);
        return out;
    }

    plat::WindowId wnd = 0;
    std::vector<plat::Message> seen;
};

TEST_F(Pump, AKeyPressIsHeldForEveryThreadAndReachesTheWindowAsMessages)
{
    plat::pushKeyEvent(SDL_SCANCODE_LEFT, true);
    plat::pushKeyEvent(SDL_SCANCODE_RSHIFT, true);
    ASSERT_TRUE(pumpUntil([&] { return messages(WM_KEYDOWN).size() == 2; }));
    std::atomic<bool> heldThere{false};
    std::thread([&] { heldThere = plat::keyDown(plat::VK_LEFT) && plat::keyDown(0x10); }).join();
    EXPECT_TRUE(heldThere);
    // Messages carry the common code of Shift, with Windows' key data.
    EXPECT_EQ(messages(WM_KEYDOWN), (std::vector<std::uint32_t>{0x25, 0x10}));
    EXPECT_EQ(static_cast<std::uint32_t>(keyData(WM_KEYDOWN).front()),
              1u | SDL_SCANCODE_LEFT << 16);

    plat::pushKeyEvent(SDL_SCANCODE_LEFT, false);
    ASSERT_TRUE(pumpUntil([&] { return !messages(WM_KEYUP).empty(); }));
    EXPECT_FALSE(plat::keyDown(plat::VK_LEFT));
    EXPECT_TRUE(plat::keyDown(0x10));
    EXPECT_EQ(static_cast<std::uint32_t>(keyData(WM_KEYUP).front()) >> 30, 3u);
}

TEST_F(Pump, ClosingTheWindowAsksItToCloseAndLosingTheFocusReleasesEveryKey)
{
    plat::requestWindowClose();
    ASSERT_TRUE(pumpUntil([&] { return !messages(WM_CLOSE).empty(); }));
    EXPECT_TRUE(plat::isWindow(wnd)) << "closing is the window's own decision";

    plat::setAppActive(true);
    plat::setKeyDown('Z', true);
    plat::setAppActive(false);
    ASSERT_TRUE(pumpUntil([&] { return messages(WM_ACTIVATEAPP).size() == 2; }));
    EXPECT_EQ(messages(WM_ACTIVATEAPP), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_FALSE(plat::appActive());
    EXPECT_FALSE(plat::keyDown('Z'));
}

TEST_F(Pump, AControllerPluggedInIsReadAtOnceAndIsGoneWhenPulledOut)
{
    plat::JoyReading reading;
    EXPECT_FALSE(plat::readJoystick(0, reading));
    const std::uint32_t changes = plat::joystickChanges();
    const int device = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_TRUE(pumpUntil([&] { return plat::readJoystick(0, reading); }));
    EXPECT_NE(plat::joystickChanges(), changes);
    EXPECT_EQ(reading.x, 32768u);
    EXPECT_EQ(reading.buttons, 0u);

    SDL_Joystick* joy = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(joy, nullptr);
    struct Case {
        int axis;
        Sint16 value;
        int button;
        std::uint32_t x, y, buttons;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, -32768, -1, 0, 32768, 0},
        {SDL_CONTROLLER_AXIS_LEFTY, 32767, -1, 32768, 65535, 0},
        {-1, 0, SDL_CONTROLLER_BUTTON_A, 32768, 32768, 1},
        {-1, 0, SDL_CONTROLLER_BUTTON_START, 32768, 32768, 1u << 7},
        {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 65535, 32768, 0},
        {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_UP, 32768, 0, 0},
    };
    for (const auto& c : cases) {
        for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a)
            SDL_JoystickSetVirtualAxis(joy, a, 0);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(joy, b, 0);
        if (c.axis >= 0) SDL_JoystickSetVirtualAxis(joy, c.axis, c.value);
        if (c.button >= 0) SDL_JoystickSetVirtualButton(joy, c.button, 1);
        ASSERT_TRUE(pumpUntil([&] {
            plat::readJoystick(0, reading);
            return reading.x == c.x && reading.y == c.y && reading.buttons == c.buttons;
        })) << c.axis
            << " " << c.button << ": " << reading.x << "," << reading.y << "," << reading.buttons;
    }

    SDL_JoystickDetachVirtual(device);
    ASSERT_TRUE(pumpUntil([&] { return !plat::readJoystick(0, reading); }));
}

} // namespace
