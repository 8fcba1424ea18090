#pragma once
// The program-wide state of the shell, shared by the main thread and the
// game thread.

#include <atomic>
#include <cstdint>
#include <string>

// 1 while the game window has the keyboard (WM_ACTIVATEAPP): the game
// thread steps frames only then.
extern std::atomic<int> g_AppActive;
// 1 once the start-up has succeeded.
extern std::atomic<int> g_Initialised;
// 1 when the graphics run in a window, 0 full screen (decided at start-up).
extern std::int32_t g_Windowed;
// The worker threads that did not end when the window closed, by name
// (empty normally): the program then ends without releasing what they may
// still use. Main thread only.
extern std::string g_ThreadsLeftRunning;

// 1 when the window was asked to close while the game was being read: the
// close is carried out once the start-up has ended.
extern std::atomic<int> g_CloseAtStartUp;

// Exit statuses of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitStartUpFailed = 1;
inline constexpr int kExitThreadStuck = 2;
