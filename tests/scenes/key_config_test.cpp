// The key configuration file is the raw record: read as far as it goes, the
// defaults when it is missing.
#include "scenes/key_config.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Bytes(const KEYCONFIG& record, std::size_t n)
{
    std::string out(sizeof record, '\0');
    std::memcpy(out.data(), &record, sizeof record);
    return out.substr(0, n);
}

TEST(KeyConfig, TheDefaultsAreTheArrowsAndEightLettersWithTheBuiltInMapping)
{
    KEYCONFIG k;
    DefaultKeyConfig(k);
    const int codes[] = {37, 39, 38, 40, 'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
    for (int i = 0; i < kKeyConfigEntries; ++i) {
        EXPECT_EQ(k.entries[i].device, 8) << i;
        EXPECT_EQ(k.entries[i].code, codes[i]) << i;
    }
    EXPECT_EQ(k.nEntries, 12);
    EXPECT_EQ(k.nJoysticks, 1);
    EXPECT_EQ(k.bUse, 0);
}

TEST(KeyConfig, AFileIsReadAsTheRecordAndAShortOneFillsItFromItsStart)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    KEYCONFIG written;
    DefaultKeyConfig(written);
    written.entries[0] = KEYCONFIGENTRY{0, kJoyAxisLeft, 0};
    written.bUse = 1;
    dir.write("user_data/KeyConfig.dat", Bytes(written, sizeof written));
    KEYCONFIG k{};
    ASSERT_EQ(LoadKeyConfig("user_data\\keyconfig.dat", k), 1);
    EXPECT_EQ(Bytes(k, sizeof k), Bytes(written, sizeof written));

    // 10 bytes: the first entry and half of the second; the rest stays.
    KEYCONFIG before;
    DefaultKeyConfig(before);
    KEYCONFIG partial = before;
    dir.write("user_data/KeyConfig.dat", Bytes(written, 10));
    ASSERT_EQ(LoadKeyConfig("user_data\\KeyConfig.dat", partial), 1);
    EXPECT_EQ(partial.entries[0].device, 0);
    EXPECT_EQ(partial.entries[0].code, kJoyAxisLeft);
    EXPECT_EQ(partial.entries[1].code, before.entries[1].code);
    EXPECT_EQ(partial.bUse, 0);
}

TEST(KeyConfig, AMissingFileLeavesTheRecordAlone)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    KEYCONFIG k;
    DefaultKeyConfig(k);
    k.nEntries = 7;
    EXPECT_EQ(LoadKeyConfig("user_data\\KeyConfig.dat", k), 0);
    EXPECT_EQ(k.nEntries, 7);
}

} // namespace
