#include "platform/input.h"

#include "platform/input_pump.h"
#include "platform/test_hook.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace plat {
namespace {

std::array<std::atomic<bool>, 256> g_Keys{};
std::atomic<KeyLayout> g_Layout{KeyLayout::Jis};
std::atomic<std::uint32_t> g_JoyChanges{0};
detail::TestHook<bool(unsigned, JoyReading&)> g_JoySource;

// Left and right keys of the three modifiers, with their common code.
struct SidedKey {
    int left, right, common;
};
constexpr SidedKey kSided[] = {
    {0xA0, 0xA1, VK_SHIFT}, {0xA2, 0xA3, VK_CONTROL}, {0xA4, 0xA5, VK_MENU}};

// Keys that are the same on every layout, by scancode.
struct ScanVk {
    int scancode, vk;
};
constexpr ScanVk kFixed[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_LSHIFT, 0xA0},
    {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2},
    {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4},
    {SDL_SCANCODE_RALT, 0xA5},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},
    {SDL_SCANCODE_INTERNATIONAL2, 0xF2},
    {SDL_SCANCODE_LANG5, 0xF3},
};

// The punctuation keys of each layout.
constexpr ScanVk kUsKeys[] = {
    {SDL_SCANCODE_GRAVE, 0xC0},          {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},         {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},   {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_NONUSHASH, 0xDC},      {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},     {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},         {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};
constexpr ScanVk kJisKeys[] = {
    {SDL_SCANCODE_GRAVE, 0xF3},          {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xDE},         {SDL_SCANCODE_LEFTBRACKET, 0xC0},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDB},   {SDL_SCANCODE_BACKSLASH, 0xDD},
    {SDL_SCANCODE_NONUSHASH, 0xDD},      {SDL_SCANCODE_SEMICOLON, 0xBB},
    {SDL_SCANCODE_APOSTROPHE, 0xBA},     {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},         {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

// The keypad from 1 to 9, then 0 and the point: digits with NumLock on,
// the navigation keys with it off.
constexpr int kKeypadScan[] = {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,     SDL_SCANCODE_KP_3,
                               SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,     SDL_SCANCODE_KP_6,
                               SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,     SDL_SCANCODE_KP_9,
                               SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_PERIOD};
constexpr int kKeypadOn[] = {0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x60, 0x6E};
constexpr int kKeypadOff[] = {0x23, VK_DOWN, 0x22, VK_LEFT, 0x0C,     VK_RIGHT,
                              0x24, VK_UP,   0x21, 0x2D,    VK_DELETE};

int lookUp(const ScanVk* table, std::size_t n, int scancode)
{
    for (std::size_t i = 0; i < n; ++i)
        if (table[i].scancode == scancode) return table[i].vk;
    return 0;
}

// One open controller: a game controller when SDL knows its layout, else a
// plain joystick read by its first two axes, its hat and its buttons.
struct Device {
    SDL_JoystickID instance = -1;
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;
    JoyReading reading;
};

std::mutex g_JoyLock;          // guards g_Devices' readings and their order
std::vector<Device> g_Devices; // in the order they were plugged in

std::uint32_t axisValue(Sint16 raw)
{
    return static_cast<std::uint32_t>(static_cast<int>(raw) + 32768);
}

// Game-controller buttons in the order of the joystick's button bits.
constexpr SDL_GameControllerButton kButtonOrder[] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
};

JoyReading readController(SDL_GameController* c)
{
    JoyReading r;
    r.x = axisValue(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    r.y = axisValue(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) r.x = 0;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) r.x = 65535;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) r.y = 0;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) r.y = 65535;
    std::uint32_t bit = 1;
    for (SDL_GameControllerButton b : kButtonOrder) {
        if (SDL_GameControllerGetButton(c, b)) r.buttons |= bit;
        bit <<= 1;
    }
    // The triggers count as two more buttons once pressed half way.
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > 16384) r.buttons |= bit;
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > 16384)
        r.buttons |= bit << 1;
    return r;
}

JoyReading readPlainJoystick(SDL_Joystick* j)
{
    JoyReading r;
    if (SDL_JoystickNumAxes(j) >= 2) {
        r.x = axisValue(SDL_JoystickGetAxis(j, 0));
        r.y = axisValue(SDL_JoystickGetAxis(j, 1));
    }
    if (SDL_JoystickNumHats(j) >= 1) {
        const Uint8 hat = SDL_JoystickGetHat(j, 0);
        if (hat & SDL_HAT_LEFT) r.x = 0;
        if (hat & SDL_HAT_RIGHT) r.x = 65535;
        if (hat & SDL_HAT_UP) r.y = 0;
        if (hat & SDL_HAT_DOWN) r.y = 65535;
    }
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b)
        if (SDL_JoystickGetButton(j, b)) r.buttons |= 1u << b;
    return r;
}

void openDevice(int deviceIndex)
{
    Device d;
    if (SDL_IsGameController(deviceIndex)) {
        d.controller = SDL_GameControllerOpen(deviceIndex);
        if (d.controller) d.joystick = SDL_GameControllerGetJoystick(d.controller);
    } else {
        d.joystick = SDL_JoystickOpen(deviceIndex);
    }
    if (!d.joystick) return;
    d.instance = SDL_JoystickInstanceID(d.joystick);
    std::lock_guard lock(g_JoyLock);
    for (const Device& open : g_Devices)
        if (open.instance == d.instance) {
            // Already open (announced twice, as joystick and as controller).
            if (d.controller)
                SDL_GameControllerClose(d.controller);
            else
                SDL_JoystickClose(d.joystick);
            return;
        }
    g_Devices.push_back(d);
    ++g_JoyChanges;
}

void closeDevice(const Device& d)
{
    if (d.controller)
        SDL_GameControllerClose(d.controller);
    else if (d.joystick)
        SDL_JoystickClose(d.joystick);
}

void removeDevice(SDL_JoystickID instance)
{
    std::lock_guard lock(g_JoyLock);
    for (auto it = g_Devices.begin(); it != g_Devices.end(); ++it) {
        if (it->instance != instance) continue;
        closeDevice(*it);
        g_Devices.erase(it);
        ++g_JoyChanges;
        return;
    }
}

} // namespace

int vkFromScancode(int scancode, bool numLock, KeyLayout layout)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 0x41 + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return 0x31 + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return 0x30;
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return 0x7C + (scancode - SDL_SCANCODE_F13);
    for (std::size_t i = 0; i < std::size(kKeypadScan); ++i)
        if (kKeypadScan[i] == scancode) return numLock ? kKeypadOn[i] : kKeypadOff[i];
    if (int vk = lookUp(kFixed, std::size(kFixed), scancode)) return vk;
    if (layout == KeyLayout::Us) return lookUp(kUsKeys, std::size(kUsKeys), scancode);
    return lookUp(kJisKeys, std::size(kJisKeys), scancode);
}

void setKeyLayout(KeyLayout layout)
{
    g_Layout = layout;
}

KeyLayout keyLayout()
{
    return g_Layout;
}

bool keyDown(int vk)
{
    if (vk < 0 || vk > 255) return false;
    return g_Keys[static_cast<std::size_t>(vk)].load(std::memory_order_relaxed);
}

void setKeyDown(int vk, bool down)
{
    if (vk < 0 || vk > 255) return;
    g_Keys[static_cast<std::size_t>(vk)] = down;
    for (const SidedKey& s : kSided) {
        if (vk == s.left || vk == s.right) {
            g_Keys[static_cast<std::size_t>(s.common)] = g_Keys[static_cast<std::size_t>(s.left)] ||
                                                         g_Keys[static_cast<std::size_t>(s.right)];
        }
    }
}

void releaseAllKeys()
{
    for (auto& key : g_Keys)
        key = false;
}

bool readJoystick(unsigned index, JoyReading& out)
{
    if (const auto source = g_JoySource.get()) return (*source)(index, out);
    std::lock_guard lock(g_JoyLock);
    if (index >= g_Devices.size()) return false;
    out = g_Devices[index].reading;
    return true;
}

std::uint32_t joystickChanges()
{
    return g_JoyChanges;
}

void setJoystickSource(std::function<bool(unsigned, JoyReading&)> source)
{
    g_JoySource.set(std::move(source));
    ++g_JoyChanges;
}

namespace detail {

void handleDeviceEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
        openDevice(event.jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        removeDevice(event.jdevice.which);
        break;
    default:
        break;
    }
}

void refreshJoysticks()
{
    std::lock_guard lock(g_JoyLock);
    if (g_Devices.empty()) return;
    SDL_GameControllerUpdate();
    SDL_JoystickUpdate();
    for (Device& d : g_Devices)
        d.reading = d.controller ? readController(d.controller) : readPlainJoystick(d.joystick);
}

void closeJoysticks()
{
    std::lock_guard lock(g_JoyLock);
    for (const Device& d : g_Devices)
        closeDevice(d);
    if (!g_Devices.empty()) ++g_JoyChanges;
    g_Devices.clear();
}

} // namespace detail
} // namespace plat
