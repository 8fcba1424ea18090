#include "platform/game_window.h"

#include "platform/close_signals.h"
#include "platform/display_loss.h"
#include "platform/input.h"
#include "platform/input_pump.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

namespace plat {
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER;

struct WindowState {
    WindowId id = 0;
    int width = 640, height = 480;
    std::string titleUtf8;
    std::unique_ptr<Presenter> presenter; // while shown
    bool vsync = false;
};

// The window's state; the presenter pointer is read by presenting threads.
std::mutex g_WindowLock;
WindowState g_Window;
std::atomic<bool> g_Started{false};
std::atomic<bool> g_Active{false};
std::atomic<bool> g_CloseAsked{false};
std::string g_EventsError; // main thread

std::mutex g_InterceptLock;
std::shared_ptr<const std::function<bool(const SDL_Event&)>> g_Interceptor;

WindowId windowId()
{
    std::lock_guard lock(g_WindowLock);
    return g_Window.id;
}

void activate(bool active)
{
    if (g_Active.exchange(active) == active) return;
    if (!active) releaseAllKeys();
    postMessage(windowId(), WM_ACTIVATEAPP, active ? 1 : 0, 0);
}

// Windows' key data: repeat count 1, the scancode in bits 16 to 23, bit 30
// for a key that was down already, bit 31 for a release.
std::intptr_t keyData(const SDL_KeyboardEvent& key)
{
    std::uint32_t data = 1 | (static_cast<std::uint32_t>(key.keysym.scancode) & 0xFF) << 16;
    if (key.repeat || key.state == SDL_RELEASED) data |= 1u << 30;
    if (key.state == SDL_RELEASED) data |= 1u << 31;
    return static_cast<std::intptr_t>(data);
}

// Messages name Shift, Ctrl and Alt by their common code.
int messageVk(int vk)
{
    if (vk == 0xA0 || vk == 0xA1) return VK_SHIFT;
    if (vk == 0xA2 || vk == 0xA3) return VK_CONTROL;
    if (vk == 0xA4 || vk == 0xA5) return VK_MENU;
    return vk;
}

void handleKey(const SDL_KeyboardEvent& key)
{
    const bool numLock = (SDL_GetModState() & KMOD_NUM) != 0;
    const int vk = vkFromScancode(key.keysym.scancode, numLock, keyLayout());
    if (vk == 0) return;
    const bool down = key.state == SDL_PRESSED;
    setKeyDown(vk, down);
    postMessage(windowId(), down ? WM_KEYDOWN : WM_KEYUP,
                static_cast<std::uintptr_t>(messageVk(vk)), keyData(key));
}

void handleMouseButton(const SDL_MouseButtonEvent& button)
{
    const bool down = button.state == SDL_PRESSED;
    int vk = 0;
    std::uint32_t msg = 0;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        vk = VK_LBUTTON;
        msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        break;
    case SDL_BUTTON_RIGHT:
        vk = VK_RBUTTON;
        msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        break;
    case SDL_BUTTON_MIDDLE:
        vk = VK_MBUTTON;
        break;
    default:
        return;
    }
    setKeyDown(vk, down);
    if (msg) {
        const auto pos =
            static_cast<std::intptr_t>((button.y & 0xFFFF) << 16 | (button.x & 0xFFFF));
        postMessage(windowId(), msg, 0, pos);
    }
}

void dispatch(const SDL_Event& event)
{
    std::shared_ptr<const std::function<bool(const SDL_Event&)>> interceptor;
    {
        std::lock_guard lock(g_InterceptLock);
        interceptor = g_Interceptor;
    }
    if (interceptor && (*interceptor)(event)) return;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        handleMouseButton(event.button);
        break;
    default:
        detail::handleWindowEvent(event);
        break;
    }
}

void pump()
{
    if (!g_Started) return;
    SDL_Event event;
    // A close signal is a close like the close box's, for whoever takes the
    // events now (the game window, or a dialog).
    if (takeCloseSignal()) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    while (SDL_PollEvent(&event))
        dispatch(event);
    detail::refreshJoysticks();
}

bool envSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Why no window can be shown: no display is named, or the one named does
// not answer.
std::string noDisplay()
{
    if (envSet("DISPLAY"))
        return std::string("there is no display (the display \"") + std::getenv("DISPLAY") +
               "\" cannot be reached)";
    if (envSet("WAYLAND_DISPLAY"))
        return "there is no display (the Wayland display cannot be reached)";
    return "there is no display (DISPLAY is not set)";
}

// Whether SDL found a display to show windows on: when it has none, it
// falls back on drivers that show nothing, which only count when asked for.
bool displayReached()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && name == asked;
}

} // namespace

namespace detail {

void passCloseOn()
{
    g_CloseAsked = true;
    postMessage(windowId(), WM_CLOSE, 0, 0);
}

std::function<bool(const SDL_Event&)>
setEventInterceptor(std::function<bool(const SDL_Event&)> interceptor)
{
    std::lock_guard lock(g_InterceptLock);
    std::function<bool(const SDL_Event&)> previous;
    if (g_Interceptor) previous = *g_Interceptor;
    g_Interceptor =
        interceptor
            ? std::make_shared<const std::function<bool(const SDL_Event&)>>(std::move(interceptor))
            : nullptr;
    return previous;
}

void handleWindowEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        g_CloseAsked = true;
        postMessage(windowId(), WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            g_CloseAsked = true;
            postMessage(windowId(), WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            activate(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            activate(false);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (Presenter* p = gameWindowPresenter()) p->represent();
            postMessage(windowId(), WM_PAINT, 0, 0);
            break;
        case SDL_WINDOWEVENT_MOVED:
            postMessage(windowId(), WM_MOVE, 0,
                        static_cast<std::intptr_t>((event.window.data2 & 0xFFFF) << 16 |
                                                   (event.window.data1 & 0xFFFF)));
            break;
        default:
            break;
        }
        break;
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
        handleDeviceEvent(event);
        break;
    default:
        break;
    }
}

} // namespace detail

bool initEvents()
{
    if (g_Started) return true;
    g_EventsError.clear();
    if (SDL_InitSubSystem(kSubsystems) != 0) {
        g_EventsError =
            envSet("DISPLAY") || envSet("WAYLAND_DISPLAY") ? SDL_GetError() : noDisplay();
        return false;
    }
    if (!displayReached()) {
        g_EventsError = noDisplay();
        SDL_QuitSubSystem(kSubsystems);
        return false;
    }
    if (std::string(SDL_GetCurrentVideoDriver()) == "x11") detail::guardDisplayConnection();
    // Key releases and focus changes arrive in the window; a key held while
    // the window is not focused does not count.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    g_Started = true;
    static std::once_flag registered;
    std::call_once(registered, [] { addMainThreadService(pump); });
    return true;
}

const std::string& eventsError()
{
    return g_EventsError;
}

void shutdownEvents()
{
    if (!g_Started) return;
    closeGameWindow();
    detail::closeJoysticks();
    g_Started = false;
    SDL_QuitSubSystem(kSubsystems);
}

WindowId createGameWindow(WndProc proc, int clientWidth, int clientHeight)
{
    {
        std::lock_guard lock(g_WindowLock);
        if (g_Window.id && isWindow(g_Window.id)) return 0;
        g_Window = WindowState{};
        g_CloseAsked = false;
        g_Window.width = clientWidth;
        g_Window.height = clientHeight;
    }
    // WM_CREATE reaches the procedure before the id is known here; the
    // window answers its own messages by the id they carry.
    const WindowId id = createWindow(std::move(proc));
    std::lock_guard lock(g_WindowLock);
    g_Window.id = id;
    return id;
}

WindowId gameWindow()
{
    const WindowId id = windowId();
    return isWindow(id) ? id : 0;
}

bool showGameWindow(bool fullscreen, bool vsync, bool minimized)
{
    PresenterOptions options;
    {
        std::lock_guard lock(g_WindowLock);
        if (!g_Window.id) return false;
        options.titleUtf8 = g_Window.titleUtf8;
        options.width = g_Window.width;
        options.height = g_Window.height;
    }
    options.fullscreen = fullscreen;
    options.vsync = vsync;
    auto presenter = std::make_unique<Presenter>();
    if (!presenter->open(options)) return false;
    if (minimized) SDL_MinimizeWindow(presenter->window());
    {
        std::lock_guard lock(g_WindowLock);
        g_Window.vsync = presenter->vsyncAvailable();
        g_Window.presenter = std::move(presenter);
    }
    // A window just put on the screen has the keyboard, as on Windows;
    // focus events say otherwise later.
    activate(!minimized);
    return true;
}

bool gameWindowShown()
{
    std::lock_guard lock(g_WindowLock);
    return g_Window.presenter != nullptr;
}

void setGameWindowTitle(std::string_view sjis)
{
    std::lock_guard lock(g_WindowLock);
    g_Window.titleUtf8 = sjisToUtf8(sjis);
    if (g_Window.presenter && g_Window.presenter->window())
        SDL_SetWindowTitle(g_Window.presenter->window(), g_Window.titleUtf8.c_str());
}

void minimizeGameWindow()
{
    runOnMainThread([] {
        std::lock_guard lock(g_WindowLock);
        if (g_Window.presenter && g_Window.presenter->window())
            SDL_MinimizeWindow(g_Window.presenter->window());
    });
}

void closeGameWindow()
{
    std::unique_ptr<Presenter> presenter;
    {
        std::lock_guard lock(g_WindowLock);
        presenter = std::move(g_Window.presenter);
        g_Window.id = 0;
    }
    g_Active = false;
    if (presenter) presenter->close();
}

bool presentToGameWindow(const std::uint32_t* xrgb, int width, int height)
{
    Presenter* presenter;
    {
        std::lock_guard lock(g_WindowLock);
        presenter = g_Window.presenter.get();
    }
    // The presenter lives until closeGameWindow on the main thread, which
    // runs only after the frame loop's threads have ended.
    return presenter && presenter->present(xrgb, width, height);
}

bool gameWindowVsync()
{
    std::lock_guard lock(g_WindowLock);
    return g_Window.vsync;
}

Presenter* gameWindowPresenter()
{
    std::lock_guard lock(g_WindowLock);
    return g_Window.presenter.get();
}

Point desktopSize()
{
    SDL_DisplayMode mode{};
    if (!g_Started || SDL_GetDesktopDisplayMode(0, &mode) != 0) return Point{640, 480};
    return Point{mode.w, mode.h};
}

int desktopBpp()
{
    SDL_DisplayMode mode{};
    if (!g_Started || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
    const int bytes = SDL_BYTESPERPIXEL(mode.format);
    if (bytes >= 3) return 32;
    return SDL_BITSPERPIXEL(mode.format) <= 8 ? 8 : 16;
}

Point gameWindowPosition()
{
    std::lock_guard lock(g_WindowLock);
    if (g_Window.presenter && g_Window.presenter->window()) {
        Point p;
        SDL_GetWindowPosition(g_Window.presenter->window(), &p.x, &p.y);
        return p;
    }
    const Point desktop = desktopSize();
    return Point{(desktop.x - g_Window.width) / 2, (desktop.y - g_Window.height) / 2};
}

bool appActive()
{
    return g_Active;
}

void setAppActive(bool active)
{
    activate(active);
}

bool windowCloseAsked()
{
    if (isMainThread()) pump();
    return g_CloseAsked || closeSignalled();
}

void requestWindowClose()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    if (g_Started && SDL_PushEvent(&event) == 1) {
        wakeMainThread();
        return;
    }
    postMessage(windowId(), WM_CLOSE, 0, 0);
}

void pushKeyEvent(int scancode, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    if (g_Started) SDL_PushEvent(&event);
    wakeMainThread();
}

void setCursorPos(int x, int y)
{
    runOnMainThread([x, y] {
        if (g_Started) SDL_WarpMouseGlobal(x, y);
    });
}

void showCursor(bool show)
{
    runOnMainThread([show] {
        if (g_Started) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    });
}

} // namespace plat
