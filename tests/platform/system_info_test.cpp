// What the kernel tells about the machine, for the run report.
#include "platform/system_info.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemInfo, TheOperatingSystemHasANameAndRelease)
{
    const auto os = plat::osInfo();
    EXPECT_FALSE(os.name.empty());
    EXPECT_FALSE(os.release.empty());
}

TEST(SystemInfo, MemoryFiguresAreConsistent)
{
    const auto memory = plat::memoryInfo();
    EXPECT_GT(memory.totalBytes, 0u);
    EXPECT_LE(memory.availableBytes, memory.totalBytes);
    EXPECT_LE(memory.swapFreeBytes, memory.swapTotalBytes);
}

TEST(SystemInfo, TheProcessorClockIsNeverNegative)
{
    EXPECT_GE(plat::cpuInfo().hz, 0.0);
}

TEST(SystemInfo, FreeDiskIsKnownForAFolderAndUnknownForAMissingOne)
{
    test::TempDir dir;
    const auto free = plat::diskFreeBytes(dir.path());
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(plat::diskFreeBytes(dir / "missing").has_value());
}

} // namespace
