#include "data/str_append_f.h"

#include <cstdarg>

#include "core/format.h"

std::string& StrAppendF(std::string& s, const char* format, ...)
{
    std::string text;
    va_list args;
    va_start(args, format);
    FormatStrV(text, format, args);
    va_end(args);
    s += text;
    return s;
}
