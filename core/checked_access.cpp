#include "core/checked_access.h"

#include "core/err_log.h"
#include "core/format.h"
#include "core/main_window_handle.h"
#include "core/report.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"

#include <climits>
#include <string>

namespace {

int AsInt(std::size_t value)
{
    return value > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

} // namespace

void LogBadIndex(const char* format, int index, std::size_t count, std::size_t elementSize)
{
    std::string text;
    FormatStr(text, format, index, AsInt(count), AsInt(elementSize));
    ErrLog(text.c_str());
    Report("%s", text.c_str());
}

void ReportBadIndex(const char* format, int index, std::size_t count, std::size_t elementSize)
{
    LogBadIndex(format, index, count, elementSize);
    CloseMainWindow();
}
