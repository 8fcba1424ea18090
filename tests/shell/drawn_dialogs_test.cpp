// The dialogs as the player meets them: drawn in a window on X and answered
// with keys, clicks and typing that arrive as SDL events, one frame after
// another. The player's part runs on the main thread between two frames of
// the dialog; a dialog that does not end in time is closed, so a test fails
// instead of waiting for ever.
#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "data/ed_system.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/font_lookup.h"
#include "platform/game_window.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "scenes/scene_mgr.h"
#include "shell/boot_dialog.h"
#include "shell/name_dialog.h"
#include "shell/system_ini.h"
#include "support/temp_dir.h"
#include "support/x_display.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
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

// Lets a few frames of the dialog pass (its window settles on its size).
Step WaitFrames(int frames)
{
    return [frames]() mutable { return --frames <= 0; };
}

// Looks once at the dialog as its last frame drew it.
Step Look(std::function<void()> look)
{
    return [look] {
        look();
        return true;
    };
}

// A code point as it is written, U+ and four hexadecimal digits.
std::string Hex(char32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// Whether the last frame drew the glyph of a character.
bool Drawn(char32_t c)
{
    const ImFontGlyph* glyph = ImGui::GetFont()->FindGlyphNoFallback(static_cast<ImWchar>(c));
    const ImDrawData* data = ImGui::GetDrawData();
    if (!glyph || !data) return false;
    for (int i = 0; i < data->CmdListsCount; ++i)
        for (const ImDrawVert& v : data->CmdLists[i]->VtxBuffer)
            if (v.uv.x == glyph->U0 && v.uv.y == glyph->V0) return true;
    return false;
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
        // The virtual display starts afresh when its last client leaves (as
        // the test before this one did) and turns connections away until it
        // is ready again: it is waited for.
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(started = plat::initEvents()) && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(started) << SDL_GetError();
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

TEST_F(DrawnDialogs, ThePointerShowsWhileADialogIsUpAndHidesAgainAfter)
{
    // The full-screen game hides the pointer.
    SDL_ShowCursor(SDL_DISABLE);
    int during = -1;
    EXPECT_TRUE(
        Answer({Look([&] { during = SDL_ShowCursor(SDL_QUERY); }), Tap(SDL_SCANCODE_RETURN)},
               [] { plat::messageBox(0, Sjis("保存しました"), "", MB_OK); }));
    EXPECT_EQ(during, SDL_ENABLE);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    SDL_ShowCursor(SDL_ENABLE);
}

TEST_F(DrawnDialogs, TheFaceHasShiftJisSymbolsAndEveryGlyphShowsWithinItsLine)
{
    if (!plat::findJapaneseFontFile("IPAGothic")) GTEST_SKIP() << "no Japanese face installed";
    std::vector<std::string> missing, blank, outside;
    const std::u32string symbols = U"…‥※①Ⅱ㈱★←～―∞♪№髙_";
    EXPECT_TRUE(Answer({WaitFrames(2), Look([&] {
                            const ImFont* font = ImGui::GetFont();
                            for (char32_t c : symbols)
                                if (!font->FindGlyphNoFallback(static_cast<ImWchar>(c)))
                                    missing.push_back(Hex(c));
                            // Every glyph but a space draws something, and
                            // within its line: widgets clip their text to its
                            // lines (the underscore was flattened to nothing,
                            // and lay below its line).
                            for (const ImFontGlyph& g : font->Glyphs) {
                                const bool space = g.Codepoint <= U' ' || g.Codepoint == U'\u3000';
                                if (!space && (!g.Visible || g.Y1 <= g.Y0))
                                    blank.push_back(Hex(g.Codepoint));
                                if (g.Y0 < 0 || g.Y1 > font->FontSize)
                                    outside.push_back(Hex(g.Codepoint));
                            }
                        }),
                        Tap(SDL_SCANCODE_RETURN)},
                       [] { plat::messageBox(0, "a_b", "", MB_OK); }));
    EXPECT_TRUE(missing.empty()) << "shown as the fallback: " << missing.front();
    EXPECT_TRUE(blank.empty()) << blank.size() << " blank glyphs, the first " << blank.front();
    EXPECT_TRUE(outside.empty()) << outside.size() << " glyphs, the first " << outside.front();
}

TEST_F(DrawnDialogs, APathShowsWithTheSlashesOfThePlayersSystem)
{
    bool slash = false, backslash = true, ellipsis = false;
    EXPECT_TRUE(Answer({WaitFrames(2), Look([&] {
                            slash = Drawn(U'/');
                            backslash = Drawn(U'\\');
                            ellipsis = Drawn(U'…');
                        }),
                        Tap(SDL_SCANCODE_RETURN)},
                       [] {
                           plat::messageBox(0, Sjis("data\\System.dat の読み込みに失敗…"),
                                            Sjis("エラー"), MB_OK);
                       }));
    EXPECT_TRUE(slash);
    EXPECT_FALSE(backslash) << "the Japanese face draws it as a yen sign";
    EXPECT_TRUE(ellipsis);
}

TEST_F(DrawnDialogs, ATextWiderThanItsDialogWrapsAndEveryButtonStaysInside)
{
    test::TempDir dir;
    test::ScopedCurrentDir here(dir.path());
    g_System.strTitle = Sjis("テスト");
    struct Case {
        const char* what;
        std::function<void()> dialog;
    };
    const Case cases[] = {
        {"the start-up question",
         [] {
             g_BootData = cBootData();
             SYSTEMINI settings;
             settings.Direct3D = 2;
             EXPECT_TRUE(AskBackEnd(settings));
         }},
        {"a box with a long line",
         [] {
             std::string line;
             for (int i = 0; i < 6; ++i)
                 line += "ステージファイルの読み込みに失敗しました。";
             plat::messageBox(0, Sjis(line.c_str()), "", MB_OK);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImVec2 content, region;
        EXPECT_TRUE(Answer({WaitFrames(3), Look([&] {
                                const ImGuiWindow* window = DialogWindow();
                                ASSERT_NE(window, nullptr);
                                content = window->ContentSize;
                                region = window->ContentRegionRect.GetSize();
                            }),
                            Tap(SDL_SCANCODE_RETURN)},
                           c.dialog));
        EXPECT_GT(content.x, 0.0f);
        EXPECT_LE(content.x, region.x);
        EXPECT_LE(content.y, region.y);
    }
    g_System = cEdSystem();
}

class DrawnFileDialog : public DrawnDialogs {
protected:
    void SetUp() override
    {
        DrawnDialogs::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        dir.write("user_data/rpl4/Old_1.rpl4_511", "replay");
        save.save = true;
        save.initialDirSjis = "user_data\\rpl4";
        save.titleSjis = Sjis("保存先のファイル選択");
        save.patterns = {"*.rpl4_511"};
        save.defExt = "rpl4_511";
    }

    test::TempDir dir;
    test::ScopedCurrentDir here{dir.path()};
    plat::FileDialogDesc save;
};

TEST_F(DrawnFileDialog, EnterSavesUnderTheProposedNameAndEscapeCancels)
{
    struct Case {
        const char* proposed;
        std::vector<SDL_Scancode> keys;
        std::optional<std::string> chosen;
    };
    const Case cases[] = {
        {"Stage1_02", {SDL_SCANCODE_RETURN}, "user_data\\rpl4\\Stage1_02.rpl4_511"},
        {"Stage1_02", {SDL_SCANCODE_ESCAPE}, std::nullopt},
        // An existing file: Enter again answers the question with Yes.
        {"Old_1", {SDL_SCANCODE_RETURN, SDL_SCANCODE_RETURN}, "user_data\\rpl4\\Old_1.rpl4_511"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proposed);
        save.proposedNameSjis = c.proposed;
        std::vector<Step> steps{WaitFrames(2)};
        for (SDL_Scancode key : c.keys) {
            steps.push_back(Tap(key));
            steps.push_back(WaitFrames(2));
        }
        std::optional<std::string> chosen = "none";
        EXPECT_TRUE(Answer(steps, [&] { chosen = plat::runFileDialog(save); }))
            << "the dialog did not end";
        EXPECT_EQ(chosen, c.chosen);
        EXPECT_TRUE(ThePlayer().finished());
    }
}

TEST_F(DrawnFileDialog, ClosingTheProgramDuringItsQuestionEndsTheQuestionAndTheDialog)
{
    save.proposedNameSjis = "Old_1";
    std::optional<std::string> chosen = "none";
    EXPECT_TRUE(Answer({WaitFrames(2), Tap(SDL_SCANCODE_RETURN), WaitFrames(2),
                        Look([] { plat::requestWindowClose(); })},
                       [&] { chosen = plat::runFileDialog(save); }))
        << "the file dialog stayed up";
    EXPECT_EQ(chosen, std::nullopt);
}

} // namespace
