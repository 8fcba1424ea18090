#pragma once
// What the run report tells about the machine: the operating system, the
// processor, memory and swap, and the free space of a disk. Everything is
// read from the kernel (uname, /proc, statvfs); nothing is measured, so
// asking is quick.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace plat {

struct OsInfo {
    std::string name;    // "Linux"
    std::string release; // "6.1.0-18-amd64"
    std::string version; // the kernel's build text
    std::string machine; // "x86_64"
};

struct CpuInfoText {
    std::string vendor; // "GenuineIntel"; empty when the processor names none
    std::string brand;  // "Intel(R) Core(TM) ..."; empty when unknown
    double hz = 0;      // nominal clock; 0 when unknown
    bool mmx = false, sse = false, sse2 = false, amd3dNow = false, amd3dNowExt = false;
};

struct MemoryInfo {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
    std::uint64_t swapTotalBytes = 0;
    std::uint64_t swapFreeBytes = 0;
};

OsInfo osInfo();
CpuInfoText cpuInfo();
MemoryInfo memoryInfo();

// Bytes an unprivileged user may still write on the disk of a folder;
// nothing when it cannot be asked.
std::optional<std::uint64_t> diskFreeBytes(const std::filesystem::path& folder);

} // namespace plat
