#pragma once
// Where the graphics layer's messages go: the core's error log, run report
// and boxes, and the main window's close request. These few entry points
// route the layer's lines there and let tests see what the layer wrote.

#include <functional>
#include <string>

// The error log (off in normal runs).
void DDErrLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The run report and the error log.
void DDReportLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// An error box (the core's ErrBoxF).
void DDErrBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A debug box, shown only while the error log is on.
void DDDebugBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A message box with its own caption.
void DDShowBox(const char* text, const char* caption);
// The core's out-of-memory box, which also closes the main window.
void DDOutOfMemory();
// Asks the main window to close (WM_CLOSE), the way every fatal path ends.
void DDPostClose();

// Test hook: sees every line the layer writes, tagged "log", "report", "box",
// "debug", "oom" or "close". Pass nullptr to remove it.
void DDSetLogObserver(
    std::function<void(const std::string& kind, const std::string& text)> observer);
