#include "core/message_box.h"

#include "core/display_facts.h"
#include "core/err_log.h"
#include "core/format.h"
#include "core/main_window_handle.h"
#include "core/sjis_text.h"
#include "platform/window_messages.h"

#include <atomic>
#include <cstdarg>
#include <string>

namespace {

std::atomic<FullScreenBoxFn> g_FullScreenBox{nullptr};

} // namespace

void SetFullScreenBox(FullScreenBoxFn box)
{
    g_FullScreenBox = box;
}

int MesBox(const char* text, const char* caption, std::uint32_t type)
{
    const FullScreenBoxFn fullScreen = g_FullScreenBox.load();
    if (g_DDReady && !g_DDWindowed && fullScreen) return fullScreen(text, caption, type);
    // The box belongs to the window active on the calling thread: the main
    // window on the main thread, none on the others.
    const plat::WindowId owner = plat::isMainThread() ? g_hMainWnd.load() : 0;
    return plat::messageBox(owner, text ? text : "", caption ? caption : "", type);
}

int ErrBox(const char* text)
{
    return MesBox(text, Sjis("エラー"), MB_OK);
}

int ErrBoxF(const char* format, ...)
{
    std::string text;
    va_list args;
    va_start(args, format);
    FormatStrV(text, format, args);
    va_end(args);
    return ErrBox(text.c_str());
}

int DebugBoxF(const char* format, ...)
{
    if (!g_ErrLogEnabled) return 0;
    std::string text;
    va_list args;
    va_start(args, format);
    FormatStrV(text, format, args);
    va_end(args);
    return ErrBox(text.c_str());
}

void OutOfMemory()
{
    ErrBox(Sjis("メモリが不足しています！"));
    CloseMainWindow();
}
