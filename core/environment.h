#pragma once
// What the program can learn about the machine it runs on, for the run
// report and the graphics set-up.

#include <cstdint>
#include <string>

// The operating system's name and version, and the version pair that
// IsOSVersionAtLeast compares. The text is the kernel's name, release,
// build and machine ("Linux 6.1.0-18-amd64 #1 SMP ... x86_64"). The pair
// answers what the callers ask of it (is this a current system with a
// composited desktop?): this system counts as 6.1. Any argument may be null.
void GetOSName(std::string* text, int* major, int* minor);

// The pair of GetOSName is at least (major, minor).
bool IsOSVersionAtLeast(int major, int minor);

struct CpuInfo {
    std::string strBrand;  // empty when the processor names none
    std::string strVendor; // empty when the processor names none
    int bMMX = 0;
    int bSSE = 0;
    int bSSE2 = 0;
    int b3DNow = 0;
    int b3DNowExt = 0;
    double dClockHz = 0;
};

// Fills the record from what the kernel reports of the first processor.
void GetCpuInfo(CpuInfo& info);

// The processor's clock in Hz as the kernel gives it (0 when unknown);
// read, not measured, so it takes no time.
double MeasureCpuClock();

// Memory in bytes: physical memory, and swap as the virtual memory beside it.
struct MemoryStatus {
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availVirtual = 0;
};

void GetMemoryStatus(MemoryStatus& status);

// The free bytes the user may write on the disk of a folder (a game path;
// null for the current folder); 0 when unknown; 2147483647 at most.
std::int32_t GetDiskFreeBytes(const char* folder);

// The display driver's interface version as a number; there is no display
// driver to ask here, so it is always the "cannot be read" value 99999.
int GetDDIVersion();
