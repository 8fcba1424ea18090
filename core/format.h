#pragma once
// printf-style formatting into a std::string. A result holds at most 5119
// bytes, as the game's texts always have; a longer one is cut there (never in
// the middle of a double-byte character) rather than written past a buffer.

#include <cstdarg>
#include <string>

// The longest text a formatting call gives, in bytes.
inline constexpr int kFormatMaxBytes = 5119;

// Formats like snprintf and assigns the result to out. out may also be one of
// the arguments.
void FormatStr(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The same with the arguments already gathered.
void FormatStrV(std::string& out, const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
