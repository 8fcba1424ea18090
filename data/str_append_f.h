#pragma once
// Appending formatted text to a string (the menu boxes of system texts).

#include <string>

// Formats like printf (at most 5119 bytes) and appends the text to s; returns s.
std::string& StrAppendF(std::string& s, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
