#pragma once
// The MIDI synthesiser that music is played through: FluidSynth, rendering
// at the mixer's rate with a General MIDI soundfont. The soundfont is looked
// for in the game folder first (any .sf2 file there), then in the usual
// system folders; without one the synthesiser stays silent.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plat {

class MidiSynth {
public:
    virtual ~MidiSynth() = default;
    // A channel message: status | data1 << 8 | data2 << 16. Anything that is
    // not a channel message (status below 0x80 or from 0xF0 on) is ignored.
    virtual void shortMessage(std::uint32_t message) = 0;
    // A system-exclusive message, beginning with its status byte (F0 or F7).
    virtual void systemExclusive(std::span<const std::uint8_t> message) = 0;
    // Silences every channel at once.
    virtual void allSoundOff() = 0;
    // Adds frames of interleaved stereo at kMixRate to out.
    virtual void render(float* out, std::size_t frames) = 0;
};

// The folders searched for a soundfont after the game folder.
std::vector<std::filesystem::path> systemSoundFontFolders();

// The soundfont to use: the first .sf2 file (by name, any case) of the game
// folder, else a General MIDI default of the system folders, else any .sf2
// file there. Nothing when there is none.
std::optional<std::filesystem::path>
findSoundFont(const std::filesystem::path& gameFolder,
              std::span<const std::filesystem::path> systemFolders);

// A FluidSynth synthesiser with the given soundfont (none, or one that does
// not load: a silent one). loadedSoundFont gets the soundfont actually
// loaded, empty when silent.
std::shared_ptr<MidiSynth> makeFluidMidiSynth(const std::optional<std::filesystem::path>& soundFont,
                                              std::string& loadedSoundFont);

// The process's synthesiser, made on first use with the soundfont found for
// the current folder (the game folder). Safe to call from any thread.
std::shared_ptr<MidiSynth> sharedMidiSynth();
// The soundfont of the shared synthesiser; empty when it is silent. Makes
// the synthesiser when it does not exist yet.
std::string sharedMidiSoundFont();

// True once for a silent shared synthesiser (no soundfont), so that its
// user can say so a single time; false otherwise. Makes the synthesiser
// when it does not exist yet.
bool takeSilentMidiSynthNotice();

// Test hook: the synthesiser that sharedMidiSynth() returns from now on
// (null: make the FluidSynth one again on next use). An empty soundfont
// name stands for a silent one.
void setSharedMidiSynth(std::shared_ptr<MidiSynth> synth, std::string soundFont = "test");

} // namespace plat
