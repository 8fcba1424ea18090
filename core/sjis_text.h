#pragma once
// The game's fixed texts (messages, captions, file names) are Shift-JIS at run
// time but written in the source as UTF-8 literals. Sjis() converts a literal
// once and keeps the result for the rest of the run, so it can stand wherever
// a `const char*` text or format is expected:
//
//     ReportBox(Sjis("%s のロードに失敗！"), path);

// The Shift-JIS form of a UTF-8 literal; the pointer stays valid until the
// program exits. Safe to call from any thread.
const char* Sjis(const char* utf8Literal);
