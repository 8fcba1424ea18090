// WAV files of sound effects: parsing and the conversion to the mixer's format.
#include <cstddef>
#include <cstdint>
#include <span>

#include "media/ds_wave.h"
#include "platform/audio_pcm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DSWAVE wave;
    if (DSParseWave(std::span(data, size), wave)) {
        const plat::PcmFormat format{wave.fmt.nChannels, static_cast<int>(wave.fmt.nSamplesPerSec),
                                     wave.fmt.wBitsPerSample};
        plat::convertPcm(format, wave.data);
    }
    return 0;
}
