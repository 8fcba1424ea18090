#include "core/main_window_handle.h"

#include "platform/window_messages.h"

std::atomic<plat::WindowId> g_hMainWnd{0};

void CloseMainWindow()
{
    plat::postMessage(g_hMainWnd, WM_CLOSE, 0, 0);
}
