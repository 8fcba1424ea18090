#include "core/request.h"

#include "core/main_window_handle.h"
#include "platform/clock.h"
#include "platform/message_loop.h"

std::atomic<int> g_NameDlgDone{0};
std::atomic<int> g_RequestDone{0};
std::atomic<int> g_RequestResult{0};

bool SendRequest(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                 std::atomic<int>* done)
{
    if (done) *done = 0;
    bool delivered = false;
    plat::sendMessage(g_hMainWnd, msg, wParam, lParam, &delivered);
    if (!delivered) return false;
    if (!done) return true;
    // The handler has run by the time the send returns; the flag says it
    // finished the request rather than being cut short.
    while (*done == 0)
        plat::sleepMs(1);
    return true;
}
