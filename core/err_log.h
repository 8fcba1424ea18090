#pragma once
// The error log: a second, finer log of progress entries and failures, one
// line per entry, each appended by open, seek to the end, write and close
// so that nothing already written is lost. Entries are given in Shift-JIS
// and written in UTF-8. The shell names it at start-up with the log switched
// off, and nothing switches it on in a normal run.

#include "platform/message_loop.h"

#include <cstdint>

// The log's switch: 0 off (every entry dropped), else on.
extern std::int32_t g_ErrLogEnabled;

// Sets the switch and the file (a game path; names longer than 259 bytes
// are refused and leave the log without a file). The next entry written is
// the first of the run.
void ErrLogSetFile(std::int32_t enable, const char* path);

// Appends the text as it stands and a line feed when the log is on: the
// first entry of a run empties the file. 0 when written (or the log is
// off), else non-zero.
int ErrLog(const char* text);
int ErrLogText(const char* text);

// The printf form of ErrLog.
void ErrLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ErrLogF, then a close request (WM_CLOSE) to the window whether or not the
// log is on: an error that ends the game without a message.
void FatalErrF(plat::WindowId window, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
