#include "platform/message_box.h"

#include "platform/headless.h"

#include "platform/test_hook.h"
#include "platform/text_encoding.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace plat {
namespace {

detail::TestHook<int(const BoxRequest&)>& responder()
{
    static detail::TestHook<int(const BoxRequest&)> instance;
    return instance;
}

bool envIs(const char* name, const char* value)
{
    const char* set = std::getenv(name);
    return set && std::strcmp(set, value) == 0;
}

bool envSet(const char* name)
{
    const char* set = std::getenv(name);
    return set && *set;
}

struct Button {
    int id;
    const char* label; // UTF-8
};

std::vector<Button> buttonsOf(std::uint32_t type)
{
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "キャンセル"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "はい"}, {IDNO, "いいえ"}, {IDCANCEL, "キャンセル"}};
    case MB_YESNO:
        return {{IDYES, "はい"}, {IDNO, "いいえ"}};
    default:
        return {{IDOK, "OK"}};
    }
}

// The answer of a box closed without a button: Cancel when there is one,
// else the last button (No, or OK).
int closedAnswer(const std::vector<Button>& buttons)
{
    for (const auto& b : buttons) {
        if (b.id == IDCANCEL) return IDCANCEL;
    }
    return buttons.back().id;
}

Uint32 sdlFlags(std::uint32_t type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// On the main thread: the SDL box, modal until a button is pressed.
int showWithSdl(const BoxRequest& request)
{
    const auto buttons = buttonsOf(request.type);
    std::vector<SDL_MessageBoxButtonData> data;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SDL_MessageBoxButtonData b{};
        b.buttonid = buttons[i].id;
        b.text = buttons[i].label;
        if (i == 0) b.flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (buttons[i].id == closedAnswer(buttons))
            b.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back(b);
    }
    const std::string text = request.textUtf8();
    const std::string caption = request.captionUtf8();
    SDL_MessageBoxData box{};
    box.flags = sdlFlags(request.type);
    box.window = nullptr;
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        std::fprintf(stderr, "message box could not be shown: %s\n", SDL_GetError());
        return 0;
    }
    return pressed < 0 ? closedAnswer(buttons) : pressed;
}

} // namespace

namespace detail {

bool headless()
{
    if (envIs("SDL_VIDEODRIVER", "dummy") || envIs("SDL_VIDEODRIVER", "offscreen")) return true;
    return !envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY");
}

} // namespace detail

std::string BoxRequest::textUtf8() const
{
    return sjisToUtf8(text);
}

std::string BoxRequest::captionUtf8() const
{
    return sjisToUtf8(caption);
}

int messageBox(WindowId owner, std::string_view sjisText, std::string_view sjisCaption,
               std::uint32_t type)
{
    BoxRequest request{owner, std::string(sjisText), std::string(sjisCaption), type};
    std::fprintf(stderr, "[%s] %s\n", request.captionUtf8().c_str(), request.textUtf8().c_str());

    if (const auto answer = responder().get()) return (*answer)(request);
    if (detail::headless()) return buttonsOf(type).front().id;

    int result = 0;
    if (!runOnMainThread([&] { result = showWithSdl(request); })) return 0;
    return result;
}

void setMessageBoxResponder(std::function<int(const BoxRequest&)> answer)
{
    responder().set(std::move(answer));
}

} // namespace plat
