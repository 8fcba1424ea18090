#pragma once
// The main window: the game's only top-level window. Its procedure runs on
// the main thread; it serves the game thread's requests (dialogs, file
// choice, sound, music, device recovery) and, on WM_CLOSE, stops the worker
// threads and destroys itself, which ends the program.

#include "core/main_window_handle.h"
#include "platform/message_loop.h"

#include <atomic>
#include <cstdint>
#include <functional>

class cMainWindow {
public:
    // The window's handle: set on every message, 0 after WM_DESTROY.
    std::atomic<plat::WindowId> m_hWnd{0};

    std::intptr_t WindowProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                             std::intptr_t lParam);
};

// The procedure the main window is created with: passes every message on to
// g_MainWindow.
std::intptr_t MainWndProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam);

extern cMainWindow g_MainWindow;

// The notices to the authoring tool of a test play (see
// platform/tool_channel.h): the game window exists; the program ends, with
// 0 when the start-up failed and 1 when the window has been destroyed.
void NotifyToolStart();
void NotifyToolExit(int code);

// Asks every worker thread to quit, then waits for each, in order, within
// the budget below; a worker that does not end is named in the run report
// and in g_ThreadsLeftRunning.
void StopWorkers();
// Waits for every worker thread to end, however long it takes.
void WaitForWorkers();

// How long the close waits for a worker thread asked to quit before it
// gives up on it. The time a thread spends waiting for a processor does not
// count: on a busy machine a slow thread is not taken for a stuck one.
inline constexpr std::uint32_t kWorkerExitBudgetMs = 600;
