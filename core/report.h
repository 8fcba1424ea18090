#pragma once
// The run report: made anew at every start, it opens with the program's
// version and a description of the machine, gets a description of the
// display once the graphics are set up, then one line per internal error.
// Lines are given in Shift-JIS, as every text of the game, and written in
// UTF-8.
// Each line is appended by open, seek to the end, write and close, so a
// crash loses nothing already written; lines from several threads never
// mix (one line at a time).

// Creates or empties the report at the path (a game path, usually made
// absolute) and remembers it. 0 when the file cannot be made.
int ReportCreate(const char* path);

// Appends the formatted text and a line feed. 0 when the report cannot be
// opened (the line is lost), else 1.
int Report(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Report, also passing the text to the error log.
int ReportLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ReportLog, then the same text in an error box. When the report cannot be
// opened nothing happens at all (no line, no log entry, no box) and 0 is
// returned.
int ReportBox(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The machine: operating system, processor, memory, swap and free disk.
int ReportSystem();

// The display: window or full screen and the colour depth.
int ReportDisplay();
