#pragma once
// Reading Windows BMP pictures from their bytes. Accepted: the core (12-byte)
// and info headers (40 bytes and the longer versions 52, 56, 108 and 124,
// and the 64-byte OS/2 header) and no other size, 1, 4 and 8 bits with a
// colour table, 16 and 32 bits plain or with channel masks, 24 bits, and the
// run-length compressions of 4- and 8-bit pictures; rows bottom-up, or
// top-down for uncompressed pictures. Every size and count is checked against
// the bytes there are: a damaged file is an error, never a read outside it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct DDBitmapImage {
    int width = 0;
    int height = 0;
    int bitCount = 0; // bits per pixel of the stored picture (an RLE8 file is 8)
    // The colour table as 0x00RRGGBB, 2^bitCount entries for pictures of 8 bits
    // or less (entries missing from the file are black); empty otherwise.
    std::vector<std::uint32_t> colours;
    // Palette index of each pixel, rows top-down (pictures of 8 bits or less).
    std::vector<std::uint8_t> indices;
    // Colour of each pixel as 0x00RRGGBB, rows top-down.
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t indexAt(int x, int y) const
    {
        return indices[static_cast<std::size_t>(y) * width + x];
    }
};

// The largest picture accepted, per side and in pixels.
constexpr int BMP_MAX_SIDE = 16384;
constexpr std::int64_t BMP_MAX_PIXELS = std::int64_t{1} << 25;

// Decodes a BMP file's bytes. On failure returns false and says why in error.
bool DecodeBmp(std::span<const std::uint8_t> bytes, DDBitmapImage& out, std::string& error);
