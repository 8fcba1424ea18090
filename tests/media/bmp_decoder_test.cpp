// The BMP reader: every depth and compression gives the pixels of the same
// picture saved plainly at 24 bits, and damaged files are refused without a
// read outside the bytes.

#include <gtest/gtest.h>

#include <span>

#include "media/bmp_decoder.h"
#include "media/bmp_writer.h"

using namespace gfxtest;

namespace {

std::uint32_t Widen(std::uint32_t v, int bits)
{
    v <<= 8 - bits;
    return (v | v >> bits) & 0xFF;
}

bool Decode(const std::string& bytes, DDBitmapImage& out)
{
    std::string error;
    return DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                     out, error);
}

bool Decodes(const std::string& bytes)
{
    DDBitmapImage img;
    return Decode(bytes, img);
}

// A picture of an odd width (rows need padding) in `colours` colours whose
// channels survive the 16-bit formats (green with 6 bits when asked).
BmpPicture MakePicture(int colours, bool green6)
{
    BmpPicture p;
    p.width = 13;
    p.height = 7;
    for (int i = 0; i < colours; ++i) {
        std::uint32_t r = Widen(static_cast<std::uint32_t>(i * 7) & 31, 5);
        std::uint32_t g = green6 ? Widen(static_cast<std::uint32_t>(i * 13) & 63, 6)
                                 : Widen(static_cast<std::uint32_t>(i * 3 + 5) & 31, 5);
        std::uint32_t b = Widen(31 - (static_cast<std::uint32_t>(i) & 31), 5);
        p.colours.push_back(r << 16 | g << 8 | b);
    }
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.indices.push_back((x / 4 + y * 3 + (x == 12 ? 1 : 0)) % colours);
    return p;
}

BmpPicture AsTrueColour(const BmpPicture& indexed)
{
    BmpPicture p;
    p.width = indexed.width;
    p.height = indexed.height;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.rgb.push_back(indexed.colourAt(x, y));
    return p;
}

struct FormatCase {
    const char* name;
    BmpFormat format;
    int colours;
    bool green6 = false;
};

BmpFormat Fmt(int bits, int compression = 0)
{
    BmpFormat f;
    f.bits = bits;
    f.compression = compression;
    return f;
}

std::vector<FormatCase> Formats()
{
    std::vector<FormatCase> cases;
    cases.push_back({"OneBit", Fmt(1), 2});
    cases.push_back({"FourBits", Fmt(4), 16});
    cases.push_back({"FourBitsRunLength", Fmt(4, 2), 16});
    cases.push_back({"EightBits", Fmt(8), 200});
    cases.push_back({"EightBitsRunLength", Fmt(8, 1), 200});
    BmpFormat partial = Fmt(8);
    partial.coloursUsed = 20;
    cases.push_back({"EightBitsShortTable", partial, 20});
    BmpFormat core8 = Fmt(8);
    core8.coreHeader = true;
    cases.push_back({"EightBitsCoreHeader", core8, 100});
    BmpFormat top8 = Fmt(8);
    top8.topDown = true;
    cases.push_back({"EightBitsTopDown", top8, 50});
    BmpFormat os2 = Fmt(8);
    os2.headerSize = 64;
    cases.push_back({"EightBitsOs2Header", os2, 100});
    cases.push_back({"SixteenBits555", Fmt(16), 40});
    BmpFormat rgb565 = Fmt(16, 3);
    rgb565.masks[0] = 0xF800;
    rgb565.masks[1] = 0x07E0;
    rgb565.masks[2] = 0x001F;
    cases.push_back({"SixteenBitsMasks565", rgb565, 40, true});
    BmpFormat v4 = rgb565;
    v4.headerSize = 108;
    cases.push_back({"SixteenBitsMasksInLongHeader", v4, 40, true});
    cases.push_back({"TwentyFourBitsTopDown",
                     [] {
                         auto f = Fmt(24);
                         f.topDown = true;
                         return f;
                     }(),
                     60});
    cases.push_back({"TwentyFourBitsCoreHeader",
                     [] {
                         auto f = Fmt(24);
                         f.coreHeader = true;
                         return f;
                     }(),
                     60});
    cases.push_back({"ThirtyTwoBits", Fmt(32), 60});
    BmpFormat bgr = Fmt(32, 3);
    bgr.masks[0] = 0x0000FF00;
    bgr.masks[1] = 0x00FF0000;
    bgr.masks[2] = 0xFF000000;
    cases.push_back({"ThirtyTwoBitsMasks", bgr, 60});
    BmpFormat v5 = bgr;
    v5.headerSize = 124;
    cases.push_back({"ThirtyTwoBitsMasksInV5Header", v5, 60});
    return cases;
}

class BmpFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(BmpFormats, DecodeToThePixelsOfThePlain24BitPicture)
{
    const FormatCase& c = GetParam();
    BmpPicture indexed = MakePicture(c.colours, c.green6);
    BmpPicture trueColour = AsTrueColour(indexed);
    DDBitmapImage reference, img;
    ASSERT_TRUE(Decode(WriteBmp(trueColour, BmpFormat{}), reference));
    const std::string bytes =
        c.format.bits <= 8 ? WriteBmp(indexed, c.format) : WriteBmp(trueColour, c.format);
    ASSERT_TRUE(Decode(bytes, img));
    EXPECT_EQ(img.width, 13);
    EXPECT_EQ(img.height, 7);
    EXPECT_EQ(img.bitCount, c.format.bits);
    EXPECT_EQ(img.pixels, reference.pixels);
    if (c.format.bits <= 8) {
        std::vector<std::uint8_t> expected(indexed.indices.begin(), indexed.indices.end());
        EXPECT_EQ(img.indices, expected);
        EXPECT_EQ(img.colours.size(), 1u << c.format.bits);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpFormats, testing::ValuesIn(Formats()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpReader, RowsOfThreeBytePixelsStartOnTheirOwnFourByteBoundary)
{
    // Width 5 at 24 bits: 15 bytes of pixels and one byte of padding a row.
    std::vector<std::uint32_t> rgb;
    for (int i = 0; i < 10; ++i)
        rgb.push_back(0x010203u * static_cast<std::uint32_t>(i + 1));
    const std::string bytes = WriteBmp24(5, 2, rgb);
    EXPECT_EQ(bytes.size(), 54u + 32u);
    DDBitmapImage img;
    ASSERT_TRUE(Decode(bytes, img));
    EXPECT_EQ(img.pixels, rgb);
}

// Damage done to a good file.
struct DamageCase {
    const char* name;
    std::size_t offset;              // where the damage goes
    std::vector<std::uint8_t> bytes; // what is written there (little-endian)
};

std::vector<std::uint8_t> U32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

class DamagedBmp : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedBmp, IsRefused)
{
    BmpPicture p = MakePicture(16, false);
    std::string bytes = WriteBmp(p, Fmt(8));
    const DamageCase& c = GetParam();
    for (std::size_t i = 0; i < c.bytes.size(); ++i)
        bytes[c.offset + i] = static_cast<char>(c.bytes[i]);
    EXPECT_FALSE(Decodes(bytes));
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedBmp,
                         testing::Values(DamageCase{"NotBm", 0, {'P', 'K'}},
                                         DamageCase{"HeaderSizeTooSmall", 14, U32(30)},
                                         DamageCase{"HeaderSizePastTheEnd", 14, U32(2000)},
                                         DamageCase{"WidthThatLies", 18, U32(4000)},
                                         DamageCase{"HeightThatLies", 22, U32(3000)},
                                         DamageCase{"ZeroWidth", 18, U32(0)},
                                         DamageCase{"NegativeWidth", 18, U32(0xFFFFFFF0u)},
                                         DamageCase{"SmallestHeight", 22, U32(0x80000000u)},
                                         DamageCase{"HugePicture", 18, U32(20000)},
                                         DamageCase{"TwoPlanes", 26, {2, 0}},
                                         DamageCase{"SevenBits", 28, {7, 0}},
                                         DamageCase{"JpegInside", 30, U32(4)},
                                         DamageCase{"RunLengthOfTheWrongDepth", 30, U32(2)},
                                         DamageCase{"ColourTableOverflows", 46, U32(300)},
                                         DamageCase{"DataOffsetPastTheEnd", 10, U32(100000)},
                                         DamageCase{"DataOffsetIntoTheHeaders", 10, U32(20)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpReader, HeaderSizesOfNoVersionAreRefused)
{
    const BmpPicture p = MakePicture(16, false);
    for (int headerSize : {60, 66, 100, 120}) {
        BmpFormat f = Fmt(8);
        f.headerSize = headerSize;
        EXPECT_FALSE(Decodes(WriteBmp(p, f))) << headerSize;
    }
}

TEST(BmpReader, AHuffmanPictureIsAnUnsupportedCompression)
{
    // Compression 3 is Huffman coding for a 1-bit picture and under the OS/2
    // header, whatever the header says of channel masks.
    BmpPicture p = MakePicture(2, false);
    for (int headerSize : {40, 64}) {
        BmpFormat f = Fmt(1);
        f.headerSize = headerSize;
        std::string bytes = WriteBmp(p, f);
        bytes[30] = 3;
        DDBitmapImage img;
        std::string error;
        EXPECT_FALSE(
            DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                      img, error));
        EXPECT_EQ(error, "unsupported compression") << headerSize;
    }
}

TEST(BmpReader, EveryTruncationOfAPlainFileIsRefused)
{
    const BmpPicture p = MakePicture(16, false);
    for (const BmpFormat& f : {Fmt(4), Fmt(8)}) {
        const std::string bytes = WriteBmp(p, f);
        ASSERT_TRUE(Decodes(bytes));
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            EXPECT_FALSE(Decodes(bytes.substr(0, length)))
                << f.bits << " bits, " << length << " bytes";
        }
    }
    const std::string trueColour = WriteBmp(AsTrueColour(p), Fmt(24));
    for (std::size_t length = 0; length < trueColour.size(); ++length) {
        EXPECT_FALSE(Decodes(trueColour.substr(0, length))) << length << " bytes";
    }
}

TEST(BmpReader, TruncatedRunLengthDataNeverReadsPastTheBytes)
{
    const std::string bytes = WriteBmp(MakePicture(16, false), Fmt(8, 1));
    for (std::size_t length = 0; length <= bytes.size(); ++length)
        Decodes(bytes.substr(0, length));
}

TEST(BmpReader, RunLengthCodesThatLeaveThePictureAreCut)
{
    BmpPicture p = MakePicture(4, false);
    std::string bytes = WriteBmp(p, Fmt(8, 1));
    const std::size_t data = 14 + 40 + 256 * 4;
    // A run of 255 pixels, a move far up and right, a literal run past the row.
    const std::uint8_t codes[] = {255, 1, 0, 2, 200, 200, 0, 5, 1, 2, 3, 1, 2, 0, 0, 1};
    std::string rle(reinterpret_cast<const char*>(codes), sizeof codes);
    bytes = bytes.substr(0, data) + rle;
    bytes[34] = static_cast<char>(sizeof codes); // size of the compressed data
    bytes[35] = bytes[36] = bytes[37] = 0;
    DDBitmapImage img;
    ASSERT_TRUE(Decode(bytes, img));
    EXPECT_EQ(img.indexAt(0, 6), 1) << "the run fills the bottom row";
    EXPECT_EQ(img.indexAt(12, 6), 1);
    EXPECT_EQ(img.indexAt(0, 0), 0) << "pixels no code reaches keep index 0";
}

TEST(BmpReader, ARowOfEndlessRunsStaysInsideItsPicture)
{
    // A 1x1 picture whose only row goes on for more runs of 255 pixels than
    // a column counter can count, with no end-of-row code.
    std::string bytes = WriteBmp(MakePicture(4, false), Fmt(8, 1));
    const std::size_t data = 14 + 40 + 256 * 4;
    bytes = bytes.substr(0, data);
    auto put = [&](std::size_t offset, std::uint32_t value) {
        const auto le = U32(value);
        bytes.replace(offset, 4, std::string(le.begin(), le.end()));
    };
    put(18, 1); // width
    put(22, 1); // height
    put(34, 0); // compressed size: to the end of the file
    const std::size_t runs = (std::size_t{1} << 31) / 255 + 16;
    std::string rle(runs * 2, '\x01');
    for (std::size_t i = 0; i < runs; ++i)
        rle[2 * i] = static_cast<char>(255);
    bytes += rle;
    DDBitmapImage img;
    ASSERT_TRUE(Decode(bytes, img));
    ASSERT_EQ(img.width, 1);
    ASSERT_EQ(img.height, 1);
    EXPECT_EQ(img.indexAt(0, 0), 1);
}

TEST(BmpReader, CompressedSizeLargerThanTheFileIsRefused)
{
    std::string bytes = WriteBmp(MakePicture(16, false), Fmt(8, 1));
    const auto size = U32(1000000);
    for (int i = 0; i < 4; ++i)
        bytes[34 + i] = static_cast<char>(size[i]);
    EXPECT_FALSE(Decodes(bytes));
}

TEST(BmpReader, TopDownRunLengthIsRefused)
{
    std::string bytes = WriteBmp(MakePicture(16, false), Fmt(8, 1));
    const auto height = U32(static_cast<std::uint32_t>(-7));
    for (int i = 0; i < 4; ++i)
        bytes[22 + i] = static_cast<char>(height[i]);
    EXPECT_FALSE(Decodes(bytes));
}

} // namespace
