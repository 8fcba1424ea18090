// The pause thread holds the frame loop while a blocking command waits: a
// button wait ignores every button while its key lock runs and any button
// still held from the frame before (so one held when the wait began never
// counts), the first new press ends it with the confirm sound; a timed wait
// counts its frames down; the stop flag ends the thread two seconds after
// it is seen, and WM_QUIT at once. The live pause wait runs it on its own
// thread while the caller waits.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/thread.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "play_fixture.h"
#include "scripted_frame_host.h"
#include "world/world_services.h"

namespace {

using test::cScopedFrameHost;
using test::cScriptedFrameHost;

class PauseThread : public test::PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        Begin(test::FloorStage());
    }
    void WaitForButton(int keyLock)
    {
        scene->m_PauseWait = PauseWait();
        scene->m_PauseWait.m_Kind = 1;
        scene->m_PauseWait.m_KeyLock = keyLock;
        scene->m_PauseWait.m_WaitButton = 1;
    }
    int ConfirmSounds() const
    {
        return static_cast<int>(std::count(services.m_Sounds.begin(), services.m_Sounds.end(), 1u));
    }
};

struct ButtonCase {
    const char* what;
    int keyLock;
    cInputScript script;
    int endsOnFrame; // 0: the wait never ends
};

TEST_F(PauseThread, AButtonWaitEndsOnTheFirstNewPressAfterItsKeyLock)
{
    const ButtonCase cases[] = {
        {"message: key lock 10, a press on the first free frame", 10,
         cInputScript().Hold(0, 0, 10).Hold(0, 1, 1), 11},
        {"a press inside the lock, held past it, counts only when pressed again", 10,
         cInputScript().Hold(0, 0, 4).Hold(0, 1, 12).Hold(0, 0, 2).Hold(0, 1, 1), 19},
        {"chained: no lock, the first press", 0, cInputScript().Hold(0, 0, 3).Hold(0, 1, 1), 4},
        {"chained: a button held when the wait began never counts", 0,
         cInputScript().Hold(0, 1, 30), 0},
        {"chained: held before, released, pressed anew", 0,
         cInputScript().Hold(0, 1, 5).Hold(0, 0, 1).Hold(0, 1, 1), 7},
        {"another button does not end it", 0, cInputScript().Hold(0, 0, 2).Hold(0, 2 | 4, 20), 0},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.what);
        services.m_Sounds.clear();
        scene->m_HoldButtons = 0;
        WaitForButton(c.keyLock);
        cScriptedFrameHost host(c.script, 60);
        cScopedFrameHost scoped(host);
        EXPECT_EQ(PauseThreadMain(scene.get()), 1);
        if (c.endsOnFrame) {
            EXPECT_FALSE(host.capped);
            EXPECT_EQ(host.frames, c.endsOnFrame);
            EXPECT_EQ(host.presents, c.endsOnFrame - 1) << "the last frame is not drawn";
            EXPECT_EQ(ConfirmSounds(), 1);
            EXPECT_EQ(scene->m_HoldButtons, 1) << "play ignores the button until released";
        } else {
            EXPECT_TRUE(host.capped);
            EXPECT_EQ(ConfirmSounds(), 0);
            EXPECT_EQ(scene->m_HoldButtons, 0);
        }
    }
}

TEST_F(PauseThread, TheKeyLockCountsDownOnlyOnFramesThatRun)
{
    WaitForButton(10);
    cScriptedFrameHost host(cInputScript().Hold(0, 1, 1), 40);
    // Every other pass the application is inactive: nothing runs then.
    host.inactive = [](int pass) { return pass % 2 == 0; };
    cScopedFrameHost scoped(host);
    PauseThreadMain(scene.get());
    EXPECT_TRUE(host.capped);
    EXPECT_EQ(host.frames, 20);
    EXPECT_EQ(scene->m_PauseWait.m_KeyLock, 0);
}

TEST_F(PauseThread, ATimedWaitEndsWhenItsFramesRunOut)
{
    scene->m_PauseWait = PauseWait();
    scene->m_PauseWait.m_Frames = 5;
    cScriptedFrameHost host(cInputScript().Hold(0, 1, 10), 60);
    cScopedFrameHost scoped(host);
    EXPECT_EQ(PauseThreadMain(scene.get()), 1);
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.frames, 6) << "5 frames drawn, the count goes negative on the 6th";
    EXPECT_EQ(host.presents, 5);
    EXPECT_TRUE(services.m_Sounds.empty()) << "buttons do not end a timed wait";
}

TEST_F(PauseThread, TheStopFlagEndsTheThreadTwoSecondsAfterItIsSeen)
{
    WaitForButton(0);
    cScriptedFrameHost host(cInputScript(), 1000);
    host.onPoll = [this](int frame) {
        if (frame == 3) scene->m_StopFlag = 1;
    };
    cScopedFrameHost scoped(host);
    EXPECT_EQ(PauseThreadMain(scene.get()), 1);
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.quitPosted, 1);
    EXPECT_EQ(host.presents, 3) << "nothing is drawn after the frame that set it";
    EXPECT_GE(host.clock, 3 * 16u + 2000u);
    EXPECT_LT(host.clock, 3 * 16u + 2000u + 2 * 16u);

    // A wait that starts after the close ends at once.
    cScriptedFrameHost later(cInputScript(), 10);
    cScopedFrameHost scopedLater(later);
    EXPECT_EQ(PauseThreadMain(scene.get()), 0);
    EXPECT_EQ(later.passes, 0);
}

TEST_F(PauseThread, TheLiveWaitRunsOnThePauseThreadWhileTheCallerWaits)
{
    LiveServiceHooks hooks;
    hooks.runPauseWait = [] { RunPauseThread(); };
    SetLiveServiceHooks(hooks);
    WaitForButton(10);
    cScriptedFrameHost host(cInputScript().Hold(0, 0, 12).Hold(0, 1, 1), 200);
    std::atomic<plat::ThreadId> ranOn{0};
    host.onPoll = [&](int) { ranOn = plat::currentThreadId(); };
    cScopedFrameHost scoped(host);
    cWorldServices live;
    live.RunPauseWait();
    SetLiveServiceHooks({});
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.frames, 13);
    EXPECT_NE(ranOn.load(), 0u);
    EXPECT_NE(ranOn.load(), plat::currentThreadId());
    EXPECT_EQ(thPause.m_hThread.load(), nullptr) << "the caller waited for its end";
    EXPECT_EQ(scene->m_HoldButtons, 1);
}

TEST_F(PauseThread, ClosingWhilePausedEndsThePauseThreadAtOnce)
{
    WaitForButton(0);
    cScriptedFrameHost host(cInputScript(), 100000);
    host.realQueue = true;
    std::atomic<bool> running{false};
    host.onPoll = [&](int) { running = true; };
    cScopedFrameHost scoped(host);
    // What the main window does on WM_CLOSE while the pause thread runs.
    std::thread closer([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!running && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        scene->m_StopFlag = 1;
        plat::postThreadMessage(thPause.m_dwThreadId, WM_QUIT, 0, 0);
    });
    const auto start = std::chrono::steady_clock::now();
    RunPauseThread();
    closer.join();
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.quitPosted, 0) << "WM_QUIT ended it before the two seconds";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(thPause.m_hThread.load(), nullptr);
}

TEST_F(PauseThread, WithoutAPlayTheLiveWaitDoesNothing)
{
    g_GamePlay = nullptr;
    cScriptedFrameHost host(cInputScript(), 10);
    cScopedFrameHost scoped(host);
    RunPauseThread();
    EXPECT_EQ(host.passes, 0);
}

} // namespace
