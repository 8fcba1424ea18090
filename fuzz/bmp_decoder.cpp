// Fuzz target: the BMP reader must refuse or decode any bytes without
// reading outside them or allocating without bound.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "media/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DDBitmapImage img;
    std::string error;
    if (DecodeBmp(std::span(data, size), img, error)) {
        // A decoded picture holds exactly its pixels.
        if (img.pixels.size() != static_cast<std::size_t>(img.width) * img.height) __builtin_trap();
    }
    return 0;
}
