// Writes the seed pictures of the BMP fuzz target into the folder it is
// given: one small picture of each depth and compression.

#include <fstream>
#include <string>

#include "tests/media/bmp_writer.h"

using namespace gfxtest;

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
    return 0;
}
