#pragma once
// The pixel storage of our software renderer. Every surface of both back ends
// keeps its pixels in one DDPixels buffer: rows top-down, a pitch in bytes,
// one of the few formats the back ends use. At 32 bits a pixel's bytes are
// 0 blue, 1 green, 2 red, 3 alpha.

#include <cstdint>
#include <vector>

// One palette colour: 0 to 255 per channel (at 16 bpp under DirectDraw the
// palette keeps each channel in the pixel format's own range instead), and
// the entry's flags.
struct DDPALENTRY {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};
constexpr std::uint8_t PC_RESERVED = 1; // an entry the game may change
constexpr std::uint8_t PC_EXPLICIT = 2; // one of the display's fixed colours

enum class DDFormat {
    P8,       // 8-bit palette index (surface back end at 8 bpp)
    R5G6B5,   // 16-bit display of the surface back end; full-screen 16-bit back buffer
    X1R5G5B5, // 16-bit display of the surface back end with 5 bits of green
    A1R5G5B5, // 16-bit textures (and the windowed 16-bit back buffer)
    X8R8G8B8, // 32-bit display and back buffer (byte 3 not shown)
    A8R8G8B8, // 32-bit textures
};

int DDFormatBytes(DDFormat format);
bool DDFormatHasAlpha(DDFormat format);

// A pixel value of a format widened to 0xAARRGGBB: channels are widened by
// repeating their top bits (so 31 of 5 bits becomes 255), formats without
// alpha read as opaque. P8 returns the index in the low byte.
std::uint32_t DDToARGB(DDFormat format, std::uint32_t pixel);
// 0xAARRGGBB narrowed to a pixel value of a format by dropping low bits; the
// 1-bit alpha is set from 128 up. P8 takes the low byte.
std::uint32_t DDFromARGB(DDFormat format, std::uint32_t argb);

// What a row of pixels holds, for the copies that can take a row whole or
// leave it alone: judged by alpha in the formats that have it (Opaque: all
// full; Empty: all 0; Binary: each full or 0; Mixed: some in between), by a
// key value in the others (Opaque: none is the key; Empty: all are; Binary:
// some are).
enum class DDRowKind : std::uint8_t { Mixed, Binary, Opaque, Empty };

struct DDPixels {
    DDFormat format = DDFormat::A8R8G8B8;
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row

    DDPixels() = default;
    DDPixels(DDFormat format, int width, int height);

    int bytesPerPixel() const { return DDFormatBytes(format); }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // The pixel bytes, rows top-down. Every non-const access counts as a
    // change of the pixels (their row kinds are found again when next asked
    // for); a writer keeps its pointer only while it writes.
    std::uint8_t* data()
    {
        changed();
        return bytes_.data();
    }
    const std::uint8_t* data() const { return bytes_.data(); }
    const std::vector<std::uint8_t>& storage() const { return bytes_; }
    std::uint8_t* row(int y)
    {
        changed();
        return bytes_.data() + static_cast<std::size_t>(y) * pitch;
    }
    const std::uint8_t* row(int y) const
    {
        return bytes_.data() + static_cast<std::size_t>(y) * pitch;
    }

    // Raw pixel value at (x, y), which must lie inside.
    std::uint32_t get(int x, int y) const;
    void set(int x, int y, std::uint32_t value);
    // Every pixel set to one raw value.
    void fill(std::uint32_t value);
    // Pixels of the rectangle that lie inside set to one raw value.
    void fillRect(int x, int y, int w, int h, std::uint32_t value);

    // The kind of row y, found once after the pixels last changed (and
    // again for another key). The key counts only in formats without alpha.
    DDRowKind rowKind(int y, std::uint32_t key) const;
    // Marks the pixels changed.
    void changed() { ++generation_; }

private:
    std::vector<std::uint8_t> bytes_;
    // Each row's kind and the generation of the pixels it was found for.
    mutable std::vector<DDRowKind> kinds_;
    mutable std::vector<std::uint64_t> kindGenerations_;
    mutable std::uint64_t generation_ = 1;
    mutable std::uint32_t kindsKey_ = 0;
};
