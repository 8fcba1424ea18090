// Standard MIDI files: the loader's conversion to one track, the player's
// packing of that image into event buffers, and the stream playing them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "media/midi_data.h"
#include "media/midi_player.h"
#include "platform/audio_midi_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static cMidi packer(""); // no file: only its packing is used
    cMidiData midi;
    const auto image = midi.Init(std::span(data, size));
    if (image.empty()) {
        return 0;
    }
    plat::MidiStream stream(nullptr);
    stream.setTimeDivision(static_cast<std::uint16_t>((image[12] << 8) | image[13]));
    stream.restart();
    MIDIBUFFER header;
    header.lpData.assign(24000, 0);
    std::vector<float> mix(256 * 2);
    std::size_t offset = kMidiImageHeaderBytes;
    for (int buffers = 0; offset < image.size() && buffers < 64; ++buffers) {
        const int used = packer.FillBuffer(std::span(image).subspan(offset), header);
        if (used <= 0) {
            __builtin_trap(); // the packer must always make progress on a loaded image
        }
        offset += static_cast<std::size_t>(used);
        if (stream.out(0, std::span(header.lpData).first(header.dwBytesRecorded)) !=
            plat::MidiStreamResult::Ok) {
            __builtin_trap(); // the packer's buffers are always well formed
        }
        for (int i = 0; i < 4 && stream.isQueued(0); ++i) {
            stream.mix(mix.data(), 256);
        }
        stream.stop();
        stream.restart();
    }
    return 0;
}
