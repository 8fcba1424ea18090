#include "platform/dialog_host.h"

#include "platform/font_lookup.h"
#include "platform/game_window.h"
#include "platform/input_pump.h"
#include "platform/message_loop.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace plat::detail {
namespace {

constexpr float kFontPixels = 16.0f;
constexpr auto kFramePeriod = std::chrono::milliseconds(15);

// Input that the dialog takes for itself; everything else (controllers,
// exposure, focus) goes on to the pump.
bool isInput(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

bool isClose(const SDL_Event& e)
{
    return e.type == SDL_QUIT ||
           (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
}

// The glyphs to build: every character a Shift-JIS text can hold (the
// punctuation, symbols and kanji beyond ImGui's common Japanese set among
// them), and the replacement character of bytes that are not Shift-JIS.
const ImWchar* glyphRanges()
{
    static const std::vector<ImWchar> ranges = [] {
        std::vector<ImWchar> r;
        std::u32string characters = sjisCharacters();
        characters += U'\uFFFD';
        for (const char32_t c : characters) {
            if (c > 0xFFFF) continue;
            const auto glyph = static_cast<ImWchar>(c);
            if (!r.empty() && r.back() + 1 == glyph)
                r.back() = glyph;
            else
                r.insert(r.end(), {glyph, glyph});
        }
        r.push_back(0);
        return r;
    }();
    return ranges.data();
}

// The Japanese face through FreeType, so that names and labels show and
// can be typed; ImGui's own font when none is installed.
void loadFont(ImGuiIO& io)
{
    io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    ImFont* font = nullptr;
    if (const auto file = findJapaneseFontFile("IPAGothic")) {
        // The face's own hinting flattens thin strokes at this size (the
        // underscore to nothing); FreeType's light hinting keeps them.
        ImFontConfig config;
        config.FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
        font = io.Fonts->AddFontFromFileTTF(file->c_str(), kFontPixels, &config, glyphRanges());
    }
    if (!font) font = io.Fonts->AddFontDefault();
    // A line is as high as the face reaches above and below its baseline:
    // at its nominal size the lowest row of a face such as IPA Gothic (the
    // underscore's) lies below the line, where widgets clip it away.
    io.Fonts->Build();
    font->FontSize = std::max(font->FontSize, std::ceil(font->Ascent - font->Descent));
}

} // namespace

bool runImGuiDialog(const std::string& titleUtf8, int width, int height,
                    const std::function<bool()>& frame)
{
    if (!initEvents()) return false;
    Presenter* over = gameWindowPresenter();
    SDL_Window* window = over ? over->window() : nullptr;
    SDL_Renderer* renderer = over ? over->renderer() : nullptr;
    SDL_Window* own = nullptr;
    SDL_Renderer* ownRenderer = nullptr;
    if (!renderer) {
        own = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, SDL_WINDOW_SHOWN);
        if (!own) return false;
        ownRenderer = SDL_CreateRenderer(own, -1, 0);
        if (!ownRenderer) ownRenderer = SDL_CreateRenderer(own, -1, SDL_RENDERER_SOFTWARE);
        if (!ownRenderer) {
            SDL_DestroyWindow(own);
            return false;
        }
        window = own;
        renderer = ownRenderer;
    }

    // A dialog may open another (a question asked from the file dialog): each
    // has its own context, and the one below is put back as it was.
    ImGuiContext* below = ImGui::GetCurrentContext();
    ImGuiContext* context = ImGui::CreateContext();
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    loadFont(io);
    ImGui_ImplSDL2_InitForSDLRenderer(window);
    ImGui_ImplSDLRenderer_Init(renderer);

    // ImGui reads the keys once a frame: a key pressed and let go between
    // two frames (a quick tap, or a slow frame such as the first, which
    // builds the font) would never be seen down. Its release waits until a
    // frame has seen the press.
    std::bitset<SDL_NUM_SCANCODES> pressedSinceFrame;
    std::vector<SDL_Event> releases;
    bool closing = false;
    auto interceptorBelow = setEventInterceptor([&](const SDL_Event& e) {
        if (isClose(e)) {
            closing = true;
            return true;
        }
        if (!isInput(e)) return false;
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            const auto key = static_cast<std::size_t>(e.key.keysym.scancode);
            if (key >= pressedSinceFrame.size()) return true;
            // Down again before the frame: the press stands, the release goes.
            if (e.type == SDL_KEYDOWN)
                std::erase_if(releases, [&](const SDL_Event& r) {
                    return static_cast<std::size_t>(r.key.keysym.scancode) == key;
                });
            if (e.type == SDL_KEYUP && pressedSinceFrame.test(key)) {
                releases.push_back(e);
                return true;
            }
            if (e.type == SDL_KEYDOWN) pressedSinceFrame.set(key);
        }
        ImGui_ImplSDL2_ProcessEvent(&e);
        return true;
    });
    SDL_StartTextInput();

    auto render = [](SDL_Renderer*) {
        if (ImDrawData* data = ImGui::GetDrawData()) ImGui_ImplSDLRenderer_RenderDrawData(data);
    };
    auto overlayBelow = over ? over->setOverlay(render) : nullptr;
    // The pointer shows while a dialog is up, also over a full-screen game
    // that hides it; it is put back as it was afterwards.
    const int cursorShown = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(SDL_ENABLE);

    for (;;) {
        // Runs the main thread's work (sends, the event pump) without
        // taking the posted messages, which wait for the main loop.
        Message ignored;
        peekMessage(ignored, false);
        if (closing) break;
        ImGui_ImplSDLRenderer_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        const bool goOn = frame();
        ImGui::Render();
        if (over) {
            over->represent();
        } else {
            SDL_SetRenderDrawColor(renderer, 212, 208, 200, 255);
            SDL_RenderClear(renderer);
            render(renderer);
            SDL_RenderPresent(renderer);
        }
        if (!goOn) break;
        pressedSinceFrame.reset();
        for (const SDL_Event& e : releases)
            ImGui_ImplSDL2_ProcessEvent(&e);
        releases.clear();
        std::this_thread::sleep_for(kFramePeriod);
    }

    SDL_ShowCursor(cursorShown);
    if (!below) SDL_StopTextInput();
    setEventInterceptor(std::move(interceptorBelow));
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(context);
    ImGui::SetCurrentContext(below);
    if (over) {
        over->setOverlay(std::move(overlayBelow));
        over->represent();
    }
    if (ownRenderer) SDL_DestroyRenderer(ownRenderer);
    if (own) SDL_DestroyWindow(own);
    if (closing) {
        if (below) {
            // The dialog below ends as well, and passes the close on.
            requestWindowClose();
        } else {
            // The close waits for the main loop, once the request that
            // showed the dialog has returned.
            detail::passCloseOn();
        }
    }
    return !closing;
}

std::string shownText(std::string_view sjis)
{
    std::string utf8 = sjisToUtf8(sjis);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8;
}

} // namespace plat::detail
