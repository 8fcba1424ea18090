// Ogg Vorbis music: opening, decoding and looping whatever the bytes are.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio_ogg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plat::OggPlayer player;
    if (!player.load(std::vector<std::uint8_t>(data, data + size))) {
        return 0;
    }
    player.setLoop(plat::kOggLoopForever);
    player.play();
    std::vector<float> mix(4096 * 2);
    for (int i = 0; i < 8 && player.isPlaying(); ++i) {
        player.mix(mix.data(), 4096);
    }
    return 0;
}
