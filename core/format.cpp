#include "core/format.h"

#include <cstdio>

#include "core/dbcs.h"

void FormatStrV(std::string& out, const char* format, va_list args)
{
    if (!format) {
        out.clear();
        return;
    }
    char buffer[kFormatMaxBytes + 1];
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0) {
        out.clear();
        return;
    }
    const std::size_t length = written <= kFormatMaxBytes ? static_cast<std::size_t>(written)
                                                          : DbcsSafeLength(buffer, kFormatMaxBytes);
    out.assign(buffer, length);
}

void FormatStr(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatStrV(out, format, args);
    va_end(args);
}
