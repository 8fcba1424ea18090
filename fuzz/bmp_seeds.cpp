// Writes the seed pictures of the BMP fuzz target into the folder it is
// given: one small picture of each depth and compression, and run-length
// pictures whose codes move, run past their rows and never end them.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/media/bmp_writer.h"

using namespace gfxtest;

namespace {

// A run-length picture with the given codes as its data.
std::string WithCodes(const BmpPicture& picture, int bits, const std::vector<std::uint8_t>& codes)
{
    BmpFormat f;
    f.bits = bits;
    f.compression = bits == 8 ? 1 : 2;
    std::string bytes = WriteBmp(picture, f);
    const std::size_t data = 14 + 40 + (std::size_t{1} << bits) * 4;
    bytes.resize(data);
    bytes.append(codes.begin(), codes.end());
    for (int i = 0; i < 4; ++i)
        bytes[34 + static_cast<std::size_t>(i)] = static_cast<char>(codes.size() >> (8 * i));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string folder = argv[1];
    BmpPicture indexed;
    indexed.width = 7;
    indexed.height = 3;
    for (int i = 0; i < 16; ++i)
        indexed.colours.push_back(0x102030u * static_cast<std::uint32_t>(i));
    for (int i = 0; i < 21; ++i)
        indexed.indices.push_back(i % 5 == 0 ? 3 : i % 2);
    BmpPicture rgb;
    rgb.width = 7;
    rgb.height = 3;
    for (int i = 0; i < 21; ++i)
        rgb.rgb.push_back(0x0F1E2Du * static_cast<std::uint32_t>(i));
    struct Seed {
        const char* name;
        int bits, compression;
        bool core;
        const BmpPicture* picture;
    };
    const Seed seeds[] = {
        {"1.bmp", 1, 0, false, &indexed},    {"4.bmp", 4, 0, false, &indexed},
        {"4rle.bmp", 4, 2, false, &indexed}, {"8.bmp", 8, 0, false, &indexed},
        {"8rle.bmp", 8, 1, false, &indexed}, {"8core.bmp", 8, 0, true, &indexed},
        {"16.bmp", 16, 0, false, &rgb},      {"16mask.bmp", 16, 3, false, &rgb},
        {"24.bmp", 24, 0, false, &rgb},      {"32.bmp", 32, 0, false, &rgb},
        {"32mask.bmp", 32, 3, false, &rgb},
    };
    for (const Seed& s : seeds) {
        BmpFormat f;
        f.bits = s.bits;
        f.compression = s.compression;
        f.coreHeader = s.core;
        f.masks[0] = s.bits == 16 ? 0xF800 : 0xFF0000;
        f.masks[1] = s.bits == 16 ? 0x07E0 : 0xFF00;
        f.masks[2] = s.bits == 16 ? 0x001F : 0xFF;
        std::ofstream(folder + "/" + s.name, std::ios::binary) << WriteBmp(*s.picture, f);
    }
    // Moves, literal runs, runs past the row's end and rows without an end.
    const std::vector<std::uint8_t> codes = {
        3,   1,                     // a run
        0,   2, 2,   1,             // a move
        0,   4, 1,   2, 3, 4,       // a literal run
        255, 5, 255, 6,             // runs past the row's end
        0,   0,                     // end of row
        0,   2, 200, 0,             // a move past the row's end
        9,   7,                     // a run there
        0,   5, 1,   2, 3, 4, 5, 0, // a padded literal run
        255, 1, 255, 1,             // runs in a row that never ends
        0,   1,                     // end of picture
    };
    std::ofstream(folder + "/8rle-codes.bmp", std::ios::binary) << WithCodes(indexed, 8, codes);
    std::ofstream(folder + "/4rle-codes.bmp", std::ios::binary) << WithCodes(indexed, 4, codes);
    const std::vector<std::uint8_t> endless(64, 255);
    std::ofstream(folder + "/8rle-endless.bmp", std::ios::binary) << WithCodes(indexed, 8, endless);
    return 0;
}
