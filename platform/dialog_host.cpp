#include "platform/dialog_host.h"

#include "platform/font_lookup.h"
#include "platform/game_window.h"
#include "platform/input_pump.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <bitset>
#include <chrono>
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

// The Japanese face through FreeType, so that names and labels show and
// can be typed; ImGui's own font when none is installed.
void loadFont(ImGuiIO& io)
{
    io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    if (const auto file = findJapaneseFontFile("IPAGothic")) {
        if (io.Fonts->AddFontFromFileTTF(file->c_str(), kFontPixels, nullptr,
                                         io.Fonts->GetGlyphRangesJapanese()))
            return;
    }
    io.Fonts->AddFontDefault();
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

    ImGuiContext* context = ImGui::CreateContext();
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
    setEventInterceptor([&](const SDL_Event& e) {
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
    if (over) over->setOverlay(render);

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

    SDL_StopTextInput();
    setEventInterceptor(nullptr);
    if (over) {
        over->setOverlay(nullptr);
        over->represent();
    }
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(context);
    if (ownRenderer) SDL_DestroyRenderer(ownRenderer);
    if (own) SDL_DestroyWindow(own);
    // The close waits for the main loop, once the request that showed the
    // dialog has returned.
    if (closing) passCloseOn();
    return !closing;
}

} // namespace plat::detail
