#include "platform/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ByteReader, ReadsLittleEndianValues)
{
    const Bytes bytes = {
        0xFE,                                           // u8
        0xFE,                                           // i8
        0x34, 0x12,                                     // u16
        0xFE, 0xFF,                                     // i16
        0x78, 0x56, 0x34, 0x12,                         // u32
        0x15, 0xCD, 0x5B, 0x07,                         // i32 123456789
        0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, // u64
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // i64
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0xBF, // f64 -1.5
    };
    plat::ByteReader reader(bytes);
    std::uint8_t u8 = 0;
    std::int8_t i8 = 0;
    std::uint16_t u16 = 0;
    std::int16_t i16 = 0;
    std::uint32_t u32 = 0;
    std::int32_t i32 = 0;
    std::uint64_t u64 = 0;
    std::int64_t i64 = 0;
    double f64 = 0;
    EXPECT_TRUE(reader.readU8(u8) && reader.readI8(i8) && reader.readU16(u16) &&
                reader.readI16(i16) && reader.readU32(u32) && reader.readI32(i32) &&
                reader.readU64(u64) && reader.readI64(i64) && reader.readF64(f64));
    EXPECT_EQ(u8, 0xFE);
    EXPECT_EQ(i8, -2);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(i32, 123456789);
    EXPECT_EQ(u64, 0x0102030405060708u);
    EXPECT_EQ(i64, -1);
    EXPECT_EQ(f64, -1.5);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_FALSE(reader.failed());
}

TEST(ByteReader, TruncatedValueFailsZeroedAndStaysFailed)
{
    const Bytes bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    plat::ByteReader reader(bytes);
    std::uint16_t first = 0;
    ASSERT_TRUE(reader.readU16(first));
    std::int64_t big = 99;
    EXPECT_FALSE(reader.readI64(big)); // 8 bytes wanted, 4 left
    EXPECT_EQ(big, 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.position(), 2u); // nothing consumed by the failed read

    // Bytes that are there are no longer given out.
    std::uint8_t small = 7;
    EXPECT_FALSE(reader.readU8(small));
    EXPECT_EQ(small, 0);
    char raw[2] = {'x', 'y'};
    EXPECT_FALSE(reader.readBytes(raw, 2));
    EXPECT_EQ(raw[0], 0);
    EXPECT_FALSE(reader.skip(1));
    EXPECT_FALSE(reader.checkCount(0, 1));
}

TEST(ByteReader, SkipAndBytesCheckWhatIsLeft)
{
    const Bytes bytes = {'a', 'b', 'c', 'd'};
    plat::ByteReader reader(bytes);
    EXPECT_TRUE(reader.skip(1));
    char raw[3] = {};
    EXPECT_TRUE(reader.readBytes(raw, 3));
    EXPECT_EQ(std::string(raw, 3), "bcd");
    EXPECT_TRUE(reader.readBytes(nullptr, 0));
    EXPECT_TRUE(reader.rest().empty());
    EXPECT_FALSE(reader.skip(1));
    EXPECT_TRUE(reader.failed());
}

TEST(ByteReader, CountMustFitInTheBytesLeft)
{
    struct Case {
        const char* what;
        std::uint64_t count;
        std::size_t elementBytes;
        bool believable;
    };
    const Case cases[] = {
        {"fits exactly", 4, 4, true},
        {"one too many", 5, 4, false},
        {"zero elements", 0, 1000, true},
        {"more elements than bytes", 17, 1, false},
        {"count near 2^64 cannot wrap the product", UINT64_MAX, 2, false},
        {"count from a negative 32-bit value", 0xFFFFFFFFu, 4, false},
        {"elements of no bytes still count one byte each", 17, 0, false},
        {"elements of no bytes within the bytes left", 16, 0, true},
    };
    const Bytes bytes(16, 0);
    for (const auto& c : cases) {
        plat::ByteReader reader(bytes);
        EXPECT_EQ(reader.checkCount(c.count, c.elementBytes), c.believable) << c.what;
        EXPECT_EQ(reader.failed(), !c.believable) << c.what;
    }
}

TEST(ByteReader, FailCanBeCalledByTheParser)
{
    const Bytes bytes = {1, 2};
    plat::ByteReader reader(bytes);
    reader.fail();
    std::uint8_t v = 5;
    EXPECT_FALSE(reader.readU8(v));
    EXPECT_EQ(v, 0);
}

class ReadGameFile : public testing::Test {
protected:
    ReadGameFile() : cwd_(dir_.path())
    {
        dir_.write("Data/System.dat", std::string("\x01\x02\x03", 3));
        dir_.write("data2/Empty.dat", "");
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(ReadGameFile, ReadsAWholeFileByItsGamePath)
{
    const auto file = plat::readGameFile("data\\SYSTEM.DAT");
    ASSERT_TRUE(file);
    EXPECT_EQ(file.bytes, (Bytes{1, 2, 3}));
    const auto empty = plat::readGameFile("data2\\empty.dat");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty.bytes.empty());
}

TEST_F(ReadGameFile, NamesWhatWentWrong)
{
    struct Case {
        const char* what;
        const char* path;
        std::size_t maxBytes;
        plat::ReadError error;
    };
    const Case cases[] = {
        {"missing", "data\\Nothing.dat", 100, plat::ReadError::NotFound},
        {"outside the game folder", "..\\System.dat", 100, plat::ReadError::NotFound},
        {"a folder", "data", 100, plat::ReadError::OpenFailed},
        {"larger than the cap", "data\\System.dat", 2, plat::ReadError::TooLarge},
        {"exactly the cap", "data\\System.dat", 3, plat::ReadError::None},
    };
    for (const auto& c : cases) {
        const auto file = plat::readGameFile(c.path, c.maxBytes);
        EXPECT_EQ(file.error, c.error) << c.what;
        if (c.error != plat::ReadError::None) {
            EXPECT_TRUE(file.bytes.empty()) << c.what;
        }
    }
}

} // namespace
