#include "core/report.h"

#include "core/display_facts.h"
#include "core/environment.h"
#include "core/err_log.h"
#include "core/format.h"
#include "core/message_box.h"
#include "platform/path_resolver.h"
#include "platform/text_encoding.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace {

// Plain storage, so that the report stays usable while other globals are
// destroyed at exit. The path is kept as resolved when the report was made.
char g_ReportFile[4096] = {};
std::mutex g_ReportMutex; // one line (or one section) at a time, whole

// Opens the report for appending; null when it cannot be opened.
std::FILE* OpenReport()
{
    if (g_ReportFile[0] == '\0') return nullptr;
    std::FILE* out = std::fopen(g_ReportFile, "r+");
    if (out) std::fseek(out, 0, SEEK_END);
    return out;
}

// Appends one already formatted line, in UTF-8 for the people who read the
// file (the game's texts are Shift-JIS); false when the report cannot be
// opened.
bool AppendLine(const std::string& text)
{
    const std::string utf8 = plat::sjisToUtf8(text);
    std::lock_guard lock(g_ReportMutex);
    std::FILE* out = OpenReport();
    if (!out) return false;
    std::fwrite(utf8.data(), 1, utf8.size(), out);
    std::fputc('\n', out);
    std::fclose(out);
    return true;
}

std::string FormatArgs(const char* format, va_list args)
{
    std::string text;
    FormatStrV(text, format, args);
    return text;
}

constexpr double kMiB = 1048576.0;

} // namespace

int ReportCreate(const char* path)
{
    const auto file = plat::resolveForCreate(path ? path : "");
    if (!file) return 0;
    const std::string native = file->string();
    if (native.size() >= sizeof g_ReportFile) return 0;
    std::lock_guard lock(g_ReportMutex);
    std::FILE* out = std::fopen(native.c_str(), "w");
    if (!out) return 0;
    std::fclose(out);
    std::memcpy(g_ReportFile, native.c_str(), native.size() + 1);
    return 1;
}

int Report(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatArgs(format, args);
    va_end(args);
    return AppendLine(text) ? 1 : 0;
}

int ReportLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatArgs(format, args);
    va_end(args);
    if (!AppendLine(text)) return 0;
    ErrLog(text.c_str());
    return 1;
}

int ReportBox(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatArgs(format, args);
    va_end(args);
    if (!AppendLine(text)) return 0;
    ErrLog(text.c_str());
    // The line is written and the file closed before the box shows: a
    // modal box must not hold up the lines of other threads.
    ErrBox(text.c_str());
    return 1;
}

int ReportSystem()
{
    std::string os;
    GetOSName(&os, nullptr, nullptr);
    CpuInfo cpu;
    GetCpuInfo(cpu);
    MemoryStatus memory;
    GetMemoryStatus(memory);
    const double diskFree = GetDiskFreeBytes(nullptr);

    std::lock_guard lock(g_ReportMutex);
    std::FILE* out = OpenReport();
    if (!out) return 0;
    std::fprintf(out, "OS : %s\n", os.c_str());
    std::fprintf(out, "CPU : %s %s %d\n", cpu.strVendor.c_str(), cpu.strBrand.c_str(),
                 static_cast<int>(cpu.dClockHz * 1e-6));
    std::fprintf(out, "Mem Total : %.3fMB\n", static_cast<double>(memory.totalPhys) / kMiB);
    std::fprintf(out, "Mem Free : %3.fMB\n", static_cast<double>(memory.availPhys) / kMiB);
    std::fprintf(out, "Vir Total : %.3fMB\n", static_cast<double>(memory.totalVirtual) / kMiB);
    std::fprintf(out, "Vir Free : %3.fMB\n", static_cast<double>(memory.availVirtual) / kMiB);
    std::fprintf(out, "HD Free : %3.fMB\n", diskFree / kMiB);
    std::fclose(out);
    return 1;
}

int ReportDisplay()
{
    std::lock_guard lock(g_ReportMutex);
    std::FILE* out = OpenReport();
    if (!out) return 0;
    std::fputs(g_DDWindowed ? "Mode : Window\n" : "Mode : Fullscreen\n", out);
    std::fprintf(out, "Bpp : %d\n", static_cast<int>(g_DDBpp));
    // Both back ends draw in memory: there is no video memory, monitor
    // frequency or driver to describe here.
    std::fclose(out);
    return 1;
}
