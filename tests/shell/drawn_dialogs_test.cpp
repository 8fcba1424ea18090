// The dialogs as the player meets them: drawn in a window on X and answered
// with keys, clicks and typing that arrive as SDL events, one frame after
// another. The player's part runs on the main thread between two frames of
// the dialog; a dialog that does not end in time is closed, so a test fails
// instead of waiting for ever.
#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "platform/dialog.h"
#include "platform/game_window.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "scenes/scene_mgr.h"
#include "shell/name_dialog.h"
#include "support/x_display.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// How long a dialog may take before the test closes it: long enough for the
// first frame, which builds the font, in the sanitized build on a busy
// machine.
constexpr auto kDialogLimit = std::chrono::seconds(120);
// Frames that a pointer may take to be seen over its target.
constexpr int kHoverFrames = 60;

// One thing the player does, asked once a frame until it says it is done.
using Step = std::function<bool()>;

// The player's steps, played by a main-thread service while a dialog runs.
class Player {
public:
    void play(std::vector<Step> steps)
    {
        std::lock_guard lock(mutex_);
        steps_ = std::move(steps);
        next_ = 0;
        context_ = nullptr;
    }
    bool finished()
    {
        std::lock_guard lock(mutex_);
        return next_ == steps_.size();
    }

    // Main thread, at each pump: one step per frame of the dialog.
    void onPump()
    {
        std::lock_guard lock(mutex_);
        ImGuiContext* context = ImGui::GetCurrentContext();
        if (!context || next_ == steps_.size()) return;
        if (context != context_ || ImGui::GetFrameCount() != frame_) {
            context_ = context;
            frame_ = ImGui::GetFrameCount();
            if (frame_ > 0 && steps_[next_]()) ++next_;
        }
    }

private:
    std::mutex mutex_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    ImGuiContext* context_ = nullptr;
    int frame_ = -1;
};

Player& ThePlayer()
{
    static Player player;
    static std::once_flag registered;
    std::call_once(registered, [] { plat::addMainThreadService([] { player.onPump(); }); });
    return player;
}

// A key pressed and let go at once, before the next frame.
Step Tap(SDL_Scancode key)
{
    return [key] {
        plat::pushKeyEvent(key, true);
        plat::pushKeyEvent(key, false);
        return true;
    };
}

// Waits until an edit has the keyboard.
Step WaitForEdit()
{
    return [] { return ImGui::GetIO().WantTextInput; };
}

// Types one character into the edit that has the keyboard.
Step Type(const char* utf8)
{
    return [utf8] {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
        return true;
    };
}

// The dialog's ImGui window.
ImGuiWindow* DialogWindow()
{
    return ImGui::FindWindowByName("###dialog");
}

// Clicks at a point of the dialog's window, found once its window is up:
// the pointer goes there, and the button is pressed once ImGui sees an
// item under it (it is let go on the frame after, as the backend reads the
// buttons' state then).
Step Click(std::function<ImVec2(const ImGuiWindow&)> where)
{
    int waited = -1;
    return [where, waited]() mutable {
        const ImGuiWindow* window = DialogWindow();
        // The dialog's own window has the keyboard: the display is the test's alone.
        SDL_Window* shown = SDL_GetKeyboardFocus();
        if (!window || !shown) return false;
        if (waited < 0) {
            const ImVec2 at = where(*window);
            SDL_WarpMouseInWindow(shown, static_cast<int>(at.x), static_cast<int>(at.y));
            waited = 0;
            return false;
        }
        if (!ImGui::IsAnyItemHovered()) {
            // Not seen there yet: the pointer is moved again now and then.
            if (++waited > kHoverFrames) waited = -1;
            return false;
        }
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = SDL_PRESSED;
        e.button.windowID = SDL_GetWindowID(shown);
        SDL_PushEvent(&e);
        return true;
    };
}

// The centre of button `index` of a message box with `lines` lines of text
// above one row of buttons labelled `labels`, laid out as ImGui lays out
// rows: left to right from the window's content start.
Step ClickBoxButton(int lines, std::vector<std::string> labels, std::size_t index)
{
    return Click([=](const ImGuiWindow& window) {
        const ImGuiStyle& style = ImGui::GetStyle();
        const float font = ImGui::GetFontSize();
        float x = window.DC.CursorStartPos.x;
        for (std::size_t i = 0;; ++i) {
            const float width = ImGui::CalcTextSize(labels[i].c_str()).x + style.FramePadding.x * 2;
            if (i == index) {
                x += width / 2;
                break;
            }
            x += width + style.ItemSpacing.x;
        }
        const float y = window.DC.CursorStartPos.y +
                        static_cast<float>(lines) * (font + style.ItemSpacing.y) +
                        style.FramePadding.y + font / 2;
        return ImVec2(x, y);
    });
}

// The close box at the right end of the title bar.
Step ClickCloseBox()
{
    return Click([](const ImGuiWindow& window) {
        const ImGuiStyle& style = ImGui::GetStyle();
        const float font = ImGui::GetFontSize();
        const ImRect bar = window.TitleBarRect();
        return ImVec2(bar.Max.x - style.FramePadding.x - font / 2,
                      bar.Min.y + style.FramePadding.y + font / 2);
    });
}

class DrawnDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!x.present())
            GTEST_SKIP() << "no X display (the test script runs the tests under Xvfb)";
        ASSERT_TRUE(x.held()) << "another test kept the X display";
        ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "an earlier test left SDL's video running";
        plat::setMainThread();
        ASSERT_TRUE(plat::initEvents()) << SDL_GetError();
        started = true;
    }
    void TearDown() override
    {
        if (started) plat::shutdownEvents();
    }

    // Runs a dialog on this (the main) thread while the player plays the
    // steps; closes it when it outlasts the limit. Whether it ended by itself.
    bool Answer(std::vector<Step> steps, const std::function<void()>& dialog)
    {
        ThePlayer().play(std::move(steps));
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
        bool closed = false;
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (!ended.wait_for(lock, kDialogLimit, [&] { return done; })) {
                closed = true;
                plat::requestWindowClose();
            }
        });
        dialog();
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        ended.notify_one();
        watchdog.join();
        ThePlayer().play({});
        return !closed;
    }

    test::XDisplay x;
    bool started = false;
};

const std::vector<std::string> kYesNo = {"はい", "いいえ"};
const std::vector<std::string> kYesNoCancel = {"はい", "いいえ", "キャンセル"};
const std::vector<std::string> kOkCancel = {"OK", "キャンセル"};

TEST_F(DrawnDialogs, AMessageBoxIsAnsweredByItsKeysAndByClicks)
{
    struct Case {
        const char* what;
        std::uint32_t type;
        std::function<std::vector<Step>()> steps;
        int answer;
    };
    const Case cases[] = {
        {"Enter: the only button", MB_OK, [] { return std::vector{Tap(SDL_SCANCODE_RETURN)}; },
         IDOK},
        {"Enter: the first button", MB_YESNO, [] { return std::vector{Tap(SDL_SCANCODE_RETURN)}; },
         IDYES},
        {"Escape: No when there is no Cancel", MB_YESNO,
         [] { return std::vector{Tap(SDL_SCANCODE_ESCAPE)}; }, IDNO},
        {"Escape: Cancel", MB_YESNOCANCEL, [] { return std::vector{Tap(SDL_SCANCODE_ESCAPE)}; },
         IDCANCEL},
        {"a click on No", MB_YESNOCANCEL,
         [] { return std::vector{ClickBoxButton(2, kYesNoCancel, 1)}; }, IDNO},
        {"a click on Cancel", MB_OKCANCEL,
         [] { return std::vector{ClickBoxButton(2, kOkCancel, 1)}; }, IDCANCEL},
        {"a click on Yes", MB_YESNO, [] { return std::vector{ClickBoxButton(2, kYesNo, 0)}; },
         IDYES},
        {"the close box: No", MB_YESNO, [] { return std::vector{ClickCloseBox()}; }, IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int answer = -1;
        EXPECT_TRUE(Answer(c.steps(), [&] {
            answer = plat::messageBox(0, Sjis("データが存在しません！\n作成しますか？"),
                                      Sjis("確認"), c.type | MB_ICONQUESTION);
        })) << "the box did not end";
        EXPECT_EQ(answer, c.answer);
        EXPECT_TRUE(ThePlayer().finished());
    }
}

TEST_F(DrawnDialogs, AKeyTappedBeforeTheFirstFrameIsNotLost)
{
    // Pressed and let go before the dialog has drawn anything (its first
    // frame builds the font, which can take long): both arrive together.
    plat::pushKeyEvent(SDL_SCANCODE_RETURN, true);
    plat::pushKeyEvent(SDL_SCANCODE_RETURN, false);
    int answer = -1;
    EXPECT_TRUE(Answer({}, [&] { answer = plat::messageBox(0, "?", "", MB_YESNO); }))
        << "the press was lost";
    EXPECT_EQ(answer, IDYES);
}

class DrawnNameDialog : public DrawnDialogs {
protected:
    void SetUp() override
    {
        DrawnDialogs::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        g_Option.strRegName = "aaa";
        g_SceneMgr.g_PlayMode = 5; // the options ask
    }
    void TearDown() override
    {
        g_SceneMgr = cSceneMgr{};
        g_Option = cEdOption();
        DrawnDialogs::TearDown();
    }

    // Clears the edit (its whole text is selected, or the key deletes one
    // character at a time), types the characters one a frame, then presses a key.
    int TypeAndPress(const std::vector<const char*>& typed, SDL_Scancode key)
    {
        std::vector<Step> steps{WaitForEdit()};
        for (int i = 0; i < 4; ++i)
            steps.push_back(Tap(SDL_SCANCODE_BACKSPACE));
        for (const char* c : typed)
            steps.push_back(Type(c));
        steps.push_back(Tap(key));
        int result = -1;
        EXPECT_TRUE(Answer(steps, [&] { result = RunNameDialog(); })) << "the dialog did not end";
        EXPECT_TRUE(ThePlayer().finished());
        return result;
    }
};

TEST_F(DrawnNameDialog, TypingStopsAtThreeCharactersAndEnterKeepsTheName)
{
    EXPECT_EQ(TypeAndPress({"a", "b", "c", "d"}, SDL_SCANCODE_RETURN), 1);
    EXPECT_EQ(g_Option.strRegName, "abc");
    EXPECT_EQ(TypeAndPress({"ゲ", "ー", "ム", "だ"}, SDL_SCANCODE_RETURN), 1);
    EXPECT_EQ(g_Option.strRegName, Sjis("ゲーム")) << "double-byte characters count one each";
}

TEST_F(DrawnNameDialog, EscapeLeavesTheNameAsItWas)
{
    EXPECT_EQ(TypeAndPress({"x", "y"}, SDL_SCANCODE_ESCAPE), 0);
    EXPECT_EQ(g_Option.strRegName, "aaa");
}

} // namespace
