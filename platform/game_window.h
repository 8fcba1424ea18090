#pragma once
// The game's one top-level window over SDL, and the main thread's event
// pump that turns SDL's events into the window's messages:
//
// - the window's close button (and SIGINT/SIGTERM, see close_signals.h)
//   -> WM_CLOSE;
// - keys -> the key states of platform/input.h and WM_KEYDOWN / WM_KEYUP
//   with the virtual-key code and Windows' key data;
// - focus -> WM_ACTIVATEAPP (1 gained, 0 lost; every key is released when
//   the keyboard goes); exposure -> WM_PAINT (the last frame is shown
//   again); moves -> WM_MOVE; mouse buttons -> the button states and
//   WM_LBUTTONDOWN / WM_RBUTTONDOWN;
// - controllers plugged in or pulled out are opened or closed.
//
// Frames reach the window through its presenter (platform/presenter.h):
// any thread hands one over, the main thread shows it.

#include "platform/message_loop.h"
#include "platform/presenter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

union SDL_Event;

namespace plat {

// Main thread: starts SDL's video, events and controllers and registers the
// event pump as a main-thread service (once). False when SDL cannot start,
// or finds no display (unless a driver that shows nothing was asked for by
// SDL_VIDEODRIVER): eventsError says why.
bool initEvents();
const std::string& eventsError();
// Main thread: closes the controllers and the window, and stops SDL's
// subsystems that initEvents started.
void shutdownEvents();

// Main thread: the game's window, a window of the main thread whose
// messages reach proc (WM_CREATE is sent at once). Nothing is on the
// screen until showGameWindow. 0 when one exists already.
WindowId createGameWindow(WndProc proc, int clientWidth, int clientHeight);
// The game window's id; 0 when there is none.
WindowId gameWindow();
// Main thread: puts the window on the screen, in a window centred on the
// desktop or over the whole desktop (the picture as large as it fits with
// its proportions kept, no change of display mode), optionally minimised,
// its presents synchronised with the display's refresh when asked and the
// display can. False when no window can be made.
bool showGameWindow(bool fullscreen, bool vsync, bool minimized);
bool gameWindowShown();
// Main thread: the window's title, given in Shift-JIS.
void setGameWindowTitle(std::string_view sjis);
// Any thread: minimises the window (a full-screen game that lost its device).
void minimizeGameWindow();
// Main thread: takes the window off the screen and forgets it (after
// destroyWindow). Harmless when there is none.
void closeGameWindow();

// Any thread: hands a finished 0x00RRGGBB frame to the window without
// waiting for it to be shown (see Presenter::present). False while the
// window is not shown.
bool presentToGameWindow(const std::uint32_t* xrgb, int width, int height);
// Whether the window's presents are synchronised with the display's refresh.
bool gameWindowVsync();
// Main thread: the window's presenter, or null while it is not shown.
Presenter* gameWindowPresenter();

struct Point {
    int x = 0;
    int y = 0;
};
// The top-left corner of the window's client area on the desktop (the
// desktop's centre less half the client while the window is not shown).
Point gameWindowPosition();
// The desktop's size and colour depth (32 for every 4-byte format).
Point desktopSize();
int desktopBpp();

// Whether one of our windows has the keyboard: the game runs only then.
// A window that is shown is active until it loses the focus.
bool appActive();
// Tests: sets the state and posts WM_ACTIVATEAPP to the game window.
void setAppActive(bool active);

// Any thread: as if the player closed the window.
void requestWindowClose();
// Whether the player has asked to close the game window since it was made,
// or a close signal has arrived (a start-up that does not serve messages
// yet asks this between its steps). Main thread: looks at the events that
// arrived first.
bool windowCloseAsked();
// Any thread: as if the player pressed or released the key of this SDL
// scancode (the event goes through the pump like a real one).
void pushKeyEvent(int scancode, bool down);

// Moves the mouse cursor (where the display allows it) and shows or hides it.
void setCursorPos(int x, int y);
void showCursor(bool show);

namespace detail {
// Main thread: what the pump does with one event that is not the input of
// a dialog (close, focus, exposure, controllers); dialogs pass theirs here.
void handleWindowEvent(const SDL_Event& event);
// Main thread: a dialog that the program's close ended passes the close on
// to the game window (windowCloseAsked then says so).
void passCloseOn();
} // namespace detail

} // namespace plat
