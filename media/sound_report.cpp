#include "media/sound_report.h"

#include <cstdarg>
#include <cstdio>

void SoundReportLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

void SoundErrLogLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_end(args);
}

void SoundErrBox(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
}

void SoundOutOfMemory()
{
    std::fprintf(stderr, "out of memory\n");
}
