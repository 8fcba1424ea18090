#include "platform/system_info.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>

#include <charconv>
#include <fstream>
#include <string_view>

namespace plat {
namespace {

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// Splits "key : value" lines of the /proc files.
bool splitField(const std::string& line, std::string_view& key, std::string_view& value)
{
    const auto colon = line.find(':');
    if (colon == std::string::npos) return false;
    key = trim(std::string_view(line).substr(0, colon));
    value = trim(std::string_view(line).substr(colon + 1));
    return true;
}

bool hasWord(std::string_view words, std::string_view word)
{
    std::size_t pos = 0;
    while (pos < words.size()) {
        const auto end = words.find(' ', pos);
        const auto token = words.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (token == word) return true;
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return false;
}

double parseDouble(std::string_view text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

std::uint64_t parseKiB(std::string_view text)
{
    std::uint64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value * 1024 : 0;
}

} // namespace

OsInfo osInfo()
{
    OsInfo info;
    utsname names{};
    if (uname(&names) == 0) {
        info.name = names.sysname;
        info.release = names.release;
        info.version = names.version;
        info.machine = names.machine;
    }
    return info;
}

CpuInfoText cpuInfo()
{
    CpuInfoText info;
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    bool seenFirst = false;
    // Only the first processor's block: all of them are the same model.
    while (std::getline(in, line)) {
        std::string_view key, value;
        if (!splitField(line, key, value)) {
            if (seenFirst && trim(line).empty()) break;
            continue;
        }
        seenFirst = true;
        if (key == "vendor_id") {
            info.vendor = value;
        } else if (key == "model name") {
            info.brand = value;
        } else if (key == "cpu MHz") {
            info.hz = parseDouble(value) * 1e6;
        } else if (key == "flags") {
            info.mmx = hasWord(value, "mmx");
            info.sse = hasWord(value, "sse");
            info.sse2 = hasWord(value, "sse2");
            info.amd3dNow = hasWord(value, "3dnow");
            info.amd3dNowExt = hasWord(value, "3dnowext");
        }
    }
    if (info.hz == 0) {
        // Processors that do not list their clock there give it in kHz.
        std::ifstream freq("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
        double khz = 0;
        if (freq >> khz) info.hz = khz * 1e3;
    }
    return info;
}

MemoryInfo memoryInfo()
{
    MemoryInfo info;
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        std::string_view key, value;
        if (!splitField(line, key, value)) continue;
        if (key == "MemTotal")
            info.totalBytes = parseKiB(value);
        else if (key == "MemAvailable")
            info.availableBytes = parseKiB(value);
        else if (key == "SwapTotal")
            info.swapTotalBytes = parseKiB(value);
        else if (key == "SwapFree")
            info.swapFreeBytes = parseKiB(value);
    }
    return info;
}

std::optional<std::uint64_t> diskFreeBytes(const std::filesystem::path& folder)
{
    struct statvfs disk {};
    if (statvfs(folder.c_str(), &disk) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
}

} // namespace plat
