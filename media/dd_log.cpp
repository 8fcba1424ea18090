#include "media/dd_log.h"

#include <cstdarg>
#include <mutex>

#include "core/err_log.h"
#include "core/format.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/report.h"
#include "platform/message_box.h"
#include "platform/window_messages.h"

namespace {

std::mutex g_ObserverLock;
std::function<void(const std::string&, const std::string&)> g_Observer;

std::string formatV(const char* format, va_list args)
{
    std::string text;
    FormatStrV(text, format, args);
    return text;
}

void observe(const char* kind, const std::string& text)
{
    std::lock_guard lock(g_ObserverLock);
    if (g_Observer) g_Observer(kind, text);
}

} // namespace

void DDSetLogObserver(std::function<void(const std::string&, const std::string&)> observer)
{
    std::lock_guard lock(g_ObserverLock);
    g_Observer = std::move(observer);
}

void DDErrLogF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatV(format, args);
    va_end(args);
    observe("log", text);
    ErrLog(text.c_str());
}

void DDReportLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatV(format, args);
    va_end(args);
    observe("report", text);
    ReportLog("%s", text.c_str());
}

void DDErrBoxF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatV(format, args);
    va_end(args);
    observe("box", text);
    ErrBox(text.c_str());
}

void DDDebugBoxF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatV(format, args);
    va_end(args);
    observe("debug", text);
    DebugBoxF("%s", text.c_str());
}

void DDShowBox(const char* text, const char* caption)
{
    observe("box", std::string(caption) + ": " + text);
    plat::messageBox(0, text, caption, MB_ICONERROR);
}

void DDOutOfMemory()
{
    observe("oom", "");
    OutOfMemory();
}

void DDPostClose()
{
    observe("close", "");
    CloseMainWindow();
}
