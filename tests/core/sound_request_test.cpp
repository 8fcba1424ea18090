// Sound requests reach the main window as UM_SE with the slot.
#include "core/main_window_handle.h"
#include "core/request_messages.h"
#include "core/sound_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

class SoundRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hMainWnd = plat::createWindow(
            [this](plat::WindowId, std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
                if (msg == UM_SE) slots.push_back({w, l});
                return std::intptr_t{0};
            });
    }
    void TearDown() override
    {
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = 0;
    }
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> slots;
};

TEST_F(SoundRequests, ASoundNumberPlaysItsSlotAboveTheSystemSoundsAndZeroPlaysNothing)
{
    struct Case {
        std::int16_t number;
        std::vector<std::pair<std::uintptr_t, std::intptr_t>> sent;
    };
    const Case cases[] = {
        {0, {}},
        {3, {{19, 0}}},
        {1, {{17, 0}}},
        {32767, {{32783, 0}}},
    };
    for (const auto& c : cases) {
        slots.clear();
        SendDataSeRequest(c.number);
        EXPECT_EQ(slots, c.sent) << c.number;
    }
}

TEST_F(SoundRequests, TheGameThreadWaitsUntilTheMainThreadHasServedTheRequest)
{
    std::atomic<bool> returned{false};
    std::thread game([&] {
        SendSeRequest(5);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(returned.load());
    EXPECT_TRUE(slots.empty());
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!returned && std::chrono::steady_clock::now() < limit) {
        plat::Message m;
        while (plat::peekMessage(m))
            plat::dispatchMessage(m);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    game.join();
    EXPECT_EQ(slots, (std::vector<std::pair<std::uintptr_t, std::intptr_t>>{{5, 0}}));
}

} // namespace
