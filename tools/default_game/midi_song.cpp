#include "tools/default_game/midi_song.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

namespace defgame {
namespace {

// The low `bytes` bytes of v, most significant first, as standard MIDI files
// hold their numbers.
void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    std::uint8_t bytes[4];
    int n = 0;
    do {
        bytes[n++] = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0 && n < 4);
    while (n > 0) {
        --n;
        out.push_back(static_cast<std::uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
    }
}

std::runtime_error badNote(std::string_view token)
{
    return std::runtime_error("cannot read the note " + std::string(token));
}

} // namespace

int noteKey(std::string_view name)
{
    if (name == "R") return -1;
    static constexpr int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw badNote(name);
    int key = kSemitones[name[0] - 'A'];
    std::size_t i = 1;
    if (i < name.size() && name[i] == '#')
        key += 1, ++i;
    else if (i < name.size() && name[i] == 'b')
        key -= 1, ++i;
    int octave = 0;
    const auto [end, ec] = std::from_chars(name.data() + i, name.data() + name.size(), octave);
    if (ec != std::errc() || end != name.data() + name.size() || i == name.size())
        throw badNote(name);
    key += (octave + 1) * 12;
    if (key < 0 || key > 127) throw badNote(name);
    return key;
}

MidiSong::MidiSong(int tempo) : tempo_(tempo)
{
}

void MidiSong::program(int channel, int instrument)
{
    events_.push_back(
        {0, 0, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(instrument)}});
}

void MidiSong::note(int channel, int key, int start, int length, int velocity)
{
    const auto ch = static_cast<std::uint8_t>(channel);
    const auto k = static_cast<std::uint8_t>(key);
    events_.push_back(
        {start, 2, {static_cast<std::uint8_t>(0x90 | ch), k, static_cast<std::uint8_t>(velocity)}});
    events_.push_back({start + length, 1, {static_cast<std::uint8_t>(0x80 | ch), k, 0}});
}

int MidiSong::part(int channel, std::string_view notes, int velocity)
{
    int tick = 0;
    std::size_t pos = 0;
    while (pos < notes.size()) {
        while (pos < notes.size() && (notes[pos] == ' ' || notes[pos] == '|'))
            ++pos;
        if (pos == notes.size()) break;
        const std::size_t end = std::min(notes.find_first_of(" |", pos), notes.size());
        const std::string_view token = notes.substr(pos, end - pos);
        pos = end;
        const std::size_t dash = token.find('-');
        if (dash == std::string_view::npos) throw badNote(token);
        int eighths = 0;
        const auto [last, ec] =
            std::from_chars(token.data() + dash + 1, token.data() + token.size(), eighths);
        if (ec != std::errc() || last != token.data() + token.size() || eighths <= 0)
            throw badNote(token);
        const int key = noteKey(token.substr(0, dash));
        const int length = eighths * kTicksPerEighth;
        // Notes are held a little short of their length, so that repeated
        // notes are heard apart.
        if (key >= 0) note(channel, key, tick, length - length / 8, velocity);
        tick += length;
    }
    return tick;
}

std::vector<std::uint8_t> MidiSong::file() const
{
    std::vector<Event> events = events_;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> track;
    // The tempo: microseconds per quarter note.
    const std::uint32_t micros = 60000000u / static_cast<std::uint32_t>(tempo_);
    putVarLen(track, 0);
    for (std::uint8_t b : {0xFF, 0x51, 0x03})
        track.push_back(b);
    putBigEndian(track, micros, 3);
    int now = 0;
    for (const Event& e : events) {
        putVarLen(track, static_cast<std::uint32_t>(e.tick - now));
        now = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(track, 0);
    for (std::uint8_t b : {0xFF, 0x2F, 0x00})
        track.push_back(b);

    std::vector<std::uint8_t> out;
    for (char c : {'M', 'T', 'h', 'd'})
        out.push_back(static_cast<std::uint8_t>(c));
    putBigEndian(out, 6, 4);
    putBigEndian(out, 0, 2); // format 0
    putBigEndian(out, 1, 2); // one track
    putBigEndian(out, kTicksPerQuarter, 2);
    for (char c : {'M', 'T', 'r', 'k'})
        out.push_back(static_cast<std::uint8_t>(c));
    putBigEndian(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

} // namespace defgame
