// WAV files of sound effects: parsing and the conversion to the mixer's format.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/ds_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DSWAVE wave;
    if (DSParseWave(std::span(data, size), wave)) {
        DSWaveToPcm(wave);
    }
    return 0;
}
