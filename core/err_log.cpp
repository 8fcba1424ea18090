#include "core/err_log.h"

#include "core/format.h"
#include "platform/path_resolver.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

std::int32_t g_ErrLogEnabled = 0;

namespace {

// Plain storage, so that the log stays usable while other globals are
// destroyed at exit.
char g_ErrLogPath[260] = {};
bool g_ErrLogStarted = false; // the first entry of the run has been written
std::mutex g_ErrLogMutex;     // one line at a time, whole

} // namespace

void ErrLogSetFile(std::int32_t enable, const char* path)
{
    std::lock_guard lock(g_ErrLogMutex);
    g_ErrLogEnabled = enable;
    g_ErrLogStarted = false;
    const std::size_t length = path ? std::strlen(path) : 0;
    if (length >= sizeof g_ErrLogPath) {
        g_ErrLogPath[0] = '\0';
        return;
    }
    std::memcpy(g_ErrLogPath, path ? path : "", length + 1);
}

int ErrLog(const char* text)
{
    if (!g_ErrLogEnabled) return 0;
    std::lock_guard lock(g_ErrLogMutex);
    const auto file = plat::resolveForCreate(g_ErrLogPath);
    std::FILE* out = nullptr;
    if (!g_ErrLogStarted) {
        g_ErrLogStarted = true;
        if (file) out = std::fopen(file->c_str(), "w");
    } else if (file) {
        out = std::fopen(file->c_str(), "r+");
        if (out) std::fseek(out, 0, SEEK_END);
    }
    if (!out) return -1;
    // Written in UTF-8 for the people who read it; the texts are Shift-JIS.
    std::fputs(plat::sjisToUtf8(text ? text : "").c_str(), out);
    std::fputc('\n', out);
    return std::fclose(out);
}

int ErrLogText(const char* text)
{
    return ErrLog(text);
}

void ErrLogF(const char* format, ...)
{
    if (!g_ErrLogEnabled) return;
    std::string text;
    va_list args;
    va_start(args, format);
    FormatStrV(text, format, args);
    va_end(args);
    ErrLog(text.c_str());
}

void FatalErrF(plat::WindowId window, const char* format, ...)
{
    if (g_ErrLogEnabled) {
        std::string text;
        va_list args;
        va_start(args, format);
        FormatStrV(text, format, args);
        va_end(args);
        ErrLog(text.c_str());
    }
    plat::postMessage(window, WM_CLOSE, 0, 0);
}
