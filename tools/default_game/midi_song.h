#pragma once
// Writing a short tune as a standard MIDI file (format 0, one track), event
// by event. Parts are written as note texts: tokens "NOTE-LENGTH" separated
// by blanks, the note a letter A to G with an optional '#' or 'b' and an
// octave (C4 is middle C, key 60), or R for a rest; the length in eighth
// notes. A '|' between tokens marks a bar line and is only for the reader.

#include <cstdint>
#include <string_view>
#include <vector>

namespace defgame {

inline constexpr int kTicksPerQuarter = 96;
inline constexpr int kTicksPerEighth = kTicksPerQuarter / 2;
inline constexpr int kDrumChannel = 9;

class MidiSong {
public:
    // Beats per minute of the whole tune.
    explicit MidiSong(int tempo);

    // Gives a channel its instrument (General MIDI program 0 to 127).
    void program(int channel, int instrument);
    // Plays a part written as a note text on a channel from tick 0; returns
    // the part's length in ticks. Throws on a token it cannot read.
    int part(int channel, std::string_view notes, int velocity);
    // One note: key, start tick, length in ticks.
    void note(int channel, int key, int start, int length, int velocity);

    // The file's bytes; the tune ends at the last note's end.
    std::vector<std::uint8_t> file() const;

private:
    struct Event {
        int tick;
        int order; // note-offs before note-ons at the same tick
        std::vector<std::uint8_t> bytes;
    };
    int tempo_;
    std::vector<Event> events_;
};

// The MIDI key of a note name ("C4" is 60); -1 for a rest ("R"). Throws on
// anything else.
int noteKey(std::string_view name);

} // namespace defgame
