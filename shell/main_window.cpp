#include "shell/main_window.h"

#include "core/thread.h"
#include "platform/window_messages.h"

namespace {

constexpr std::uintptr_t kVkEscape = 0x1B;

// Closing: while the pause thread holds the frame loop, only that play is
// stopped and the window stays for a later close; otherwise every worker
// is stopped, in this order, and the window goes.
void Close(plat::WindowId hwnd)
{
    if (thPause.m_hThread) {
        plat::postThreadMessage(thPause.m_dwThreadId, WM_QUIT, 0, 0);
        return;
    }
    thLoad.Exit();
    thPause.Exit();
    thRanking.Exit();
    thGame.Exit();
    plat::destroyWindow(hwnd);
}

} // namespace

cMainWindow g_MainWindow;

std::intptr_t cMainWindow::WindowProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                      std::intptr_t)
{
    m_hWnd = hwnd;
    switch (msg) {
    case WM_DESTROY:
        m_hWnd = 0;
        g_hMainWnd = 0;
        plat::postQuitMessage(0);
        return 0;
    case WM_CLOSE:
        Close(hwnd);
        return 0;
    case WM_KEYDOWN:
        if (wParam == kVkEscape) plat::postMessage(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

std::intptr_t MainWndProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam)
{
    return g_MainWindow.WindowProc(hwnd, msg, wParam, lParam);
}
