#pragma once
// Shift-JIS (code page 932) double-byte characters in plain byte strings.

#include <cstddef>

// 1 when p[0] is a lead byte (0x81-0x9F, 0xE0-0xFC) and p[1] a trail byte
// (0x40-0x7E, 0x80-0xFC) of a double-byte character, else 0. Reads p[1] only
// after p[0] has proved to be a lead byte, so a lead byte before the
// terminating NUL is safe.
int IsDBCSPair(const char* p);

// The number of characters of a NUL-terminated text: a double-byte pair
// counts 1, a line feed 0, every other byte 1. A null text counts 0.
int CountChars(const char* text);

// The longest prefix of text[0, length) that does not end in the middle of a
// double-byte character (the text is walked from its start).
std::size_t DbcsSafeLength(const char* text, std::size_t length);
