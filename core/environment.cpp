#include "core/environment.h"

#include "platform/path_resolver.h"
#include "platform/system_info.h"

#include <limits>

namespace {

// The version pair of a current desktop system in the numbering the callers
// use (at least 6.0 means a composited desktop).
constexpr int kVersionMajor = 6;
constexpr int kVersionMinor = 1;

constexpr int kDdiUnknown = 99999;

} // namespace

void GetOSName(std::string* text, int* major, int* minor)
{
    if (major) *major = kVersionMajor;
    if (minor) *minor = kVersionMinor;
    if (!text) return;
    const auto os = plat::osInfo();
    std::string name = os.name;
    for (const std::string* part : {&os.release, &os.version, &os.machine}) {
        if (part->empty()) continue;
        if (!name.empty()) name += ' ';
        name += *part;
    }
    *text = name;
}

bool IsOSVersionAtLeast(int major, int minor)
{
    int haveMajor = 0, haveMinor = 0;
    GetOSName(nullptr, &haveMajor, &haveMinor);
    return haveMajor > major || (haveMajor == major && haveMinor >= minor);
}

void GetCpuInfo(CpuInfo& info)
{
    const auto cpu = plat::cpuInfo();
    info.strBrand = cpu.brand;
    info.strVendor = cpu.vendor;
    info.bMMX = cpu.mmx;
    info.bSSE = cpu.sse;
    info.bSSE2 = cpu.sse2;
    info.b3DNow = cpu.amd3dNow;
    info.b3DNowExt = cpu.amd3dNowExt;
    info.dClockHz = cpu.hz;
}

double MeasureCpuClock()
{
    return plat::cpuInfo().hz;
}

void GetMemoryStatus(MemoryStatus& status)
{
    const auto memory = plat::memoryInfo();
    status.totalPhys = memory.totalBytes;
    status.availPhys = memory.availableBytes;
    status.totalVirtual = memory.swapTotalBytes;
    status.availVirtual = memory.swapFreeBytes;
}

std::int32_t GetDiskFreeBytes(const char* folder)
{
    std::optional<std::filesystem::path> where = std::filesystem::path(".");
    if (folder) where = plat::resolveExisting(folder);
    if (!where) return 0;
    const auto free = plat::diskFreeBytes(*where);
    if (!free) return 0;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(*free < kMax ? *free : kMax);
}

int GetDDIVersion()
{
    return kDdiUnknown;
}
