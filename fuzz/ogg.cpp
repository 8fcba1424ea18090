// Ogg Vorbis music, whatever the bytes are, driven the way the game drives
// it: played to its end (or to a decode error), played again, stopped in
// the middle, looped past its end a few times and for ever.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio_ogg.h"

namespace {

constexpr std::size_t kBlockFrames = 4096;
// About six seconds of sound: long enough for the seeds to end and loop.
constexpr int kMaxBlocks = 64;

void playFor(plat::OggPlayer& player, int blocks)
{
    std::vector<float> mix(kBlockFrames * 2);
    for (int i = 0; i < blocks && player.isPlaying(); ++i) {
        player.mix(mix.data(), kBlockFrames);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plat::OggPlayer player;
    if (!player.load(std::vector<std::uint8_t>(data, data + size))) {
        return 0;
    }
    player.play();
    playFor(player, kMaxBlocks);
    player.play();
    playFor(player, 2);
    player.stop();
    player.setLoop(1);
    player.play();
    playFor(player, kMaxBlocks);
    player.setLoop(plat::kOggLoopForever);
    player.play();
    playFor(player, kMaxBlocks / 4);
    return 0;
}
