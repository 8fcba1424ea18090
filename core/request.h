#pragma once
// The one way the game thread (or a thread holding the frame loop for it)
// asks the main window for something it may not do itself: the request is
// sent to the main window, which serves it on the main thread while the
// caller waits in the send, and a request with a done flag is then waited
// for until the handler has set the flag.
//
// Nothing here can hang a closing program: a request to a window that is
// gone or closing is refused at once, and a caller whose thread is asked to
// quit is released from the send and leaves its wait by plat::ThreadQuit.

#include <atomic>
#include <cstdint>

// The done flags and the result of the requests, each set by the main
// window's handler once the request has been served.
extern std::atomic<int> g_NameDlgDone;   // UM_NAMEDLG
extern std::atomic<int> g_RequestDone;   // UM_OPENSTAGE, UM_OPENREPLAY, UM_SAVEREPLAY
extern std::atomic<int> g_RequestResult; // 1 done, 0 cancelled

// Sends the request to the main window and, with a done flag, clears it
// first and waits (1 ms sleeps) until the handler has set it. True when
// the request was served; false when there was no window to serve it.
bool SendRequest(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                 std::atomic<int>* done = nullptr);
