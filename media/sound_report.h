#pragma once
// Where the sound and music layer writes its failures: run report lines
// (also logged) and error-log lines.

// A line of the run report, also passed to the error log.
void SoundReportLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A line of the error log only.
void SoundErrLogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// An error box (and nothing else).
void SoundErrBox(const char* text);

// The lack-of-memory box, then the main window is asked to close.
void SoundOutOfMemory();
