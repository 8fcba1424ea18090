#pragma once
// The keyboard, the mouse buttons and the game controllers as the game
// reads them: keys by their Windows virtual-key codes, mapped from the
// keys' positions (not from the layout's letters), and controllers as
// joystick snapshots of two axes and up to 32 buttons.
//
// The main thread's event pump (platform/events.h) writes the states; any
// thread reads them. Controllers are opened when they are plugged in and
// closed when they go, so one plugged in during play works at once.

#include <cstdint>
#include <functional>

namespace plat {

// Virtual-key codes that the game names (facts).
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_MBUTTON = 0x04;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F3 = 0x72;

// Which keys sit where on the keyboard: only the punctuation keys differ.
enum class KeyLayout { Jis, Us };

// The virtual-key code of an SDL scancode; the keypad gives digits with
// NumLock on and the navigation keys with it off. 0 for a key without one.
int vkFromScancode(int scancode, bool numLock, KeyLayout layout);

// The layout used to map the keys (JIS unless the player asks for US).
void setKeyLayout(KeyLayout layout);
KeyLayout keyLayout();

// Whether a key is held now; false for codes outside 0 to 255. Shift,
// Ctrl and Alt are held while either of their left and right keys is;
// VK_LBUTTON, VK_RBUTTON and VK_MBUTTON are the mouse buttons.
bool keyDown(int vk);
// Sets a key's state (the event pump; tests). Left and right Shift, Ctrl
// and Alt also set the common code.
void setKeyDown(int vk, bool down);
// Every key and button up (the window lost the keyboard).
void releaseAllKeys();

// One controller's snapshot: axes from 0 to 65535 (32768 centred), bit k of
// the buttons for button k. The direction pad also moves the axes.
struct JoyReading {
    std::uint32_t x = 32768;
    std::uint32_t y = 32768;
    std::uint32_t buttons = 0;
};

// The snapshot of controller `index` (0 the first plugged in); false when
// there is no such controller.
bool readJoystick(unsigned index, JoyReading& out);

// Counts every controller plugged in or pulled out, so that readers can
// try a missing controller again at once.
std::uint32_t joystickChanges();

// Test hook: while set, readJoystick asks the source instead of the
// controllers. Setting or removing it counts as a change of controllers.
void setJoystickSource(std::function<bool(unsigned index, JoyReading& out)> source);

} // namespace plat
