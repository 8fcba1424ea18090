#pragma once
// The main window as every layer below the shell sees it: its handle and the
// one way to ask it to close. The shell sets the handle once the window is
// shown and clears it when the window is destroyed; every error path that
// ends the game closes the window through here.

#include "platform/message_loop.h"

#include <atomic>

// 0 before the window is shown and after WM_DESTROY.
extern std::atomic<plat::WindowId> g_hMainWnd;

// Posts WM_CLOSE to the main window; nothing happens while there is none.
void CloseMainWindow();
