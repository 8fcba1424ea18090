// Message boxes: plain boxes in a window or before the graphics exist,
// the graphics layer's box in full screen, and the error boxes.
#include "core/display_facts.h"
#include "core/err_log.h"
#include "core/message_box.h"
#include "core/sjis_text.h"
#include "media/dd_mes_box.h"
#include "platform/dialog.h"
#include "platform/window_messages.h"
#include "support/report_fixture.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

class MessageBoxes : public test::ReportFixture {
protected:
    void SetUp() override
    {
        test::ReportFixture::SetUp();
        saved_ = {g_DDReady, g_DDWindowed};
        // The box over the full-screen game, as the shell registers it.
        SetFullScreenBox(DDMesBox);
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r);
            threads.push_back(std::this_thread::get_id());
            return answer;
        });
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        SetFullScreenBox(nullptr);
        g_DDReady = saved_.first;
        g_DDWindowed = saved_.second;
        ErrLogSetFile(0, "EC_Game.txt");
        test::ReportFixture::TearDown();
    }

    std::vector<plat::BoxRequest> boxes;
    std::vector<std::thread::id> threads;
    int answer = IDOK;
    std::pair<std::int32_t, std::int32_t> saved_;
};

TEST_F(MessageBoxes, APlainBoxGivesTheButtonPressedAndTheFullScreenBoxOnlyWhetherItShowed)
{
    struct Case {
        std::int32_t ready, windowed;
        int pressed, result;
    };
    const Case cases[] = {
        {0, 0, IDNO, IDNO}, // before the graphics are set up: plain box
        {1, 1, IDNO, IDNO}, // in a window: plain box
        {1, 0, IDNO, 1},    // full screen: shown, the button is not told
        {1, 0, 0, 0},       // full screen, not shown
    };
    for (const auto& c : cases) {
        g_DDReady = c.ready;
        g_DDWindowed = c.windowed;
        answer = c.pressed;
        boxes.clear();
        EXPECT_EQ(MesBox(Sjis("続けますか？"), Sjis("確認"), MB_YESNO), c.result);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].textUtf8(), "続けますか？");
        EXPECT_EQ(boxes[0].captionUtf8(), "確認");
        EXPECT_EQ(boxes[0].type, MB_YESNO);
    }
}

TEST_F(MessageBoxes, WithoutARegisteredFullScreenBoxEveryBoxIsPlain)
{
    SetFullScreenBox(nullptr);
    g_DDReady = 1;
    g_DDWindowed = 0;
    answer = IDNO;
    EXPECT_EQ(MesBox(Sjis("続けますか？"), Sjis("確認"), MB_YESNO), IDNO);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MessageBoxes, ErrorBoxesHaveTheFixedCaptionAndShowTheirTextAsItStands)
{
    ErrBox("50% done");
    ErrBoxF("%s %d%%", "x", 7);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "50% done");
    EXPECT_EQ(boxes[1].text, "x 7%");
    for (const auto& b : boxes) {
        EXPECT_EQ(b.captionUtf8(), "エラー");
        EXPECT_EQ(b.type, MB_OK);
    }
}

TEST_F(MessageBoxes, DebugBoxesShowOnlyWhileTheErrorLogIsOn)
{
    ErrLogSetFile(0, "log.txt");
    EXPECT_EQ(DebugBoxF("state %d", 1), 0);
    EXPECT_TRUE(boxes.empty());
    ErrLogSetFile(1, "log.txt");
    EXPECT_EQ(DebugBoxF("state %d", 2), IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "state 2");
}

TEST_F(MessageBoxes, OutOfMemoryShowsItsBoxThenClosesTheGame)
{
    std::vector<plat::Message> queuedAtTheBox;
    plat::setMessageBoxResponder([&](const plat::BoxRequest& r) {
        boxes.push_back(r);
        plat::Message m;
        while (plat::peekMessage(m))
            queuedAtTheBox.push_back(m);
        return IDOK;
    });
    OutOfMemory();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].textUtf8(), "メモリが不足しています！");
    EXPECT_EQ(boxes[0].captionUtf8(), "エラー");
    EXPECT_TRUE(queuedAtTheBox.empty());
    const auto posted = drainPosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_CLOSE);
    EXPECT_EQ(posted[0].wnd, g_hMainWnd.load());
}

TEST_F(MessageBoxes, ABoxAskedForOnAnotherThreadIsAnsweredThere)
{
    // The responder answers at once, so no thread waits on a main thread
    // that is not pumping.
    std::atomic<int> result{-1};
    std::thread worker([&] { result = ErrBox("from the game thread"); });
    worker.join();
    EXPECT_EQ(result.load(), IDOK);
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(threads[0], std::this_thread::get_id());
}

TEST_F(MessageBoxes, ABoxRaisedOnTheGameThreadIsShownByTheMainThread)
{
    // A display to show boxes on; the box, drawn as a dialog, is answered
    // by the dialog hook wherever it runs.
    plat::setMessageBoxResponder(nullptr);
    test::ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    test::ScopedEnv display("DISPLAY", ":0");
    plat::setMainThread();
    std::thread::id shownOn;
    std::string caption;
    plat::setDialogResponder([&](plat::DialogPlayer& p) {
        shownOn = std::this_thread::get_id();
        caption = p.caption();
        p.click(IDOK);
    });
    std::atomic<int> result{-1};
    std::thread game([&] { result = ErrBox("from the game thread"); });
    // The main thread serves its queue, as its message loop does.
    while (result == -1) {
        plat::Message m;
        while (plat::peekMessage(m)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    game.join();
    plat::setDialogResponder(nullptr);
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_EQ(shownOn, std::this_thread::get_id());
    EXPECT_EQ(caption, Sjis("エラー"));
}

} // namespace
