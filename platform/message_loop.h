#pragma once
// Threads, windows and their messages.
//
// Every thread that uses these functions has a message queue of its own,
// made on its first use (before the body runs for a plat::Thread). A window
// belongs to the thread that created it; its messages go to that thread's
// queue and its procedure runs on that thread.
//
// - A post puts a message at the end of the queue and returns at once.
// - A send from another thread waits until the owner serves it: the owner
//   runs its pending sends whenever it peeks or waits for messages, and
//   while it waits in a send or a join of its own. A waiting sender serves
//   the sends made to it meanwhile, so two threads sending to each other do
//   not lock up. A send to the owner's own window calls the procedure.
// - Nothing is ever suspended or killed. Asking a thread to quit (see
//   plat::Thread) sets a flag, posts WM_QUIT and releases every send
//   waiting for it with "not delivered"; later sends to it are refused at
//   once. A thread blocked in a send is released, not delivered, when it is
//   asked to quit itself (unless the receiver is serving that send right
//   then: it waits for its end, since the receiver may use what it was given). Its next sleep or
//   empty wait throws ThreadQuit, which the thread's start function catches, so even a thread that
//   never reads its queue ends at its next wait.
//
// The main thread (setMainThread) also runs the main-thread services each
// time it pumps or waits, and can be woken from any thread to run them.

#include <cstdint>
#include <functional>

namespace plat {

using ThreadId = std::uint32_t; // 0 is no thread
using WindowId = std::uint32_t; // 0 is no window

struct Message {
    WindowId wnd = 0; // 0: a message to the thread
    std::uint32_t msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A window procedure: (window, message, wParam, lParam) -> result.
using WndProc =
    std::function<std::intptr_t(WindowId, std::uint32_t, std::uintptr_t, std::intptr_t)>;

// Thrown by the waits of a thread whose quit has been asked. Code that
// catches everything must let it pass (rethrow it).
struct ThreadQuit {};

// The id of the calling thread (making its queue on first use).
ThreadId currentThreadId();

// Whether the calling thread has been asked to quit.
bool quitRequested();

// Throws ThreadQuit when the calling thread has been asked to quit (and no
// exception is already unwinding).
void checkQuit();

// Posts a message to a thread's queue; false for an unknown or ended thread.
bool postThreadMessage(ThreadId thread, std::uint32_t msg, std::uintptr_t wParam,
                       std::intptr_t lParam);

// Posts WM_QUIT with the exit code as wParam to the calling thread.
void postQuitMessage(int exitCode);

// Serves the pending sends, then takes the next posted message, if any.
bool peekMessage(Message& out, bool remove = true);

// Blocks until a message is posted (pending sends are served meanwhile).
// On the main thread it also returns after the main-thread services ran
// because of wakeMainThread. Throws ThreadQuit when the thread has been
// asked to quit and its queue is empty.
void waitMessage();

// Waits for and takes the next posted message; false when it is WM_QUIT.
bool getMessage(Message& out);

// Calls the procedure of the message's window; 0 for a thread message or
// a window that no longer exists.
std::intptr_t dispatchMessage(const Message& message);

// Makes a window owned by the calling thread and sends it WM_CREATE.
WindowId createWindow(WndProc proc);

// On the owner thread: sends WM_DESTROY, then the id stops being a window;
// sends waiting for it are released, not delivered. False for an unknown
// id or from another thread.
bool destroyWindow(WindowId wnd);

bool isWindow(WindowId wnd);

// The thread that owns a window; 0 for none.
ThreadId windowThread(WindowId wnd);

// Posts to the window's thread; false for 0 or a window that is gone.
bool postMessage(WindowId wnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

// Sends to a window and returns its procedure's result; 0 when not
// delivered (no such window, its thread is quitting or gone, or the
// caller was asked to quit while waiting). `delivered` says which.
std::intptr_t sendMessage(WindowId wnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam, bool* delivered = nullptr);

// Makes the calling thread the main thread.
void setMainThread();
bool isMainThread();
ThreadId mainThreadId();

// Adds a function that the main thread runs each time it pumps or waits.
// Any thread may add one; it stays for the rest of the run.
void addMainThreadService(std::function<void()> service);

// Makes a waiting main thread wake up and run its services. Any thread.
void wakeMainThread();

// Runs a function on the main thread and waits for it, serving sends to the
// caller meanwhile; on the main thread (or when there is none) it runs at
// once. False when it did not run (the caller was asked to quit, or the
// main thread ended).
bool runOnMainThread(const std::function<void()>& work);

} // namespace plat
