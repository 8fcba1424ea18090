#pragma once
// Byte-level writers of the sound files that the runtime reads, for tests and
// fuzz seeds where the file layout itself is under test: WAV files (RIFF
// chunks) and standard MIDI files (header and track chunks with
// variable-length delta times).

#include <cstdint>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<std::uint8_t>;

inline void putLe16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void putLe32(Bytes& out, std::uint32_t v)
{
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

inline void putBe16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

inline void putBe32(Bytes& out, std::uint32_t v)
{
    putBe16(out, v >> 16);
    putBe16(out, v & 0xFFFF);
}

inline void putText(Bytes& out, const std::string& text)
{
    for (char c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
}

// A RIFF chunk: id, little-endian size, body, pad byte when odd.
inline Bytes riffChunk(const std::string& id, const Bytes& body)
{
    Bytes out;
    putText(out, id);
    putLe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

struct WavLayout {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 8;
    std::size_t fmtBytes = 16; // 16, 18 (with the extra-size field) or more
};

// The "fmt " chunk body of a WAV layout.
inline Bytes wavFormat(const WavLayout& layout)
{
    Bytes fmt;
    const std::uint32_t block = layout.channels * (layout.bits / 8u);
    putLe16(fmt, layout.formatTag);
    putLe16(fmt, layout.channels);
    putLe32(fmt, layout.rate);
    putLe32(fmt, layout.rate * block);
    putLe16(fmt, block);
    putLe16(fmt, layout.bits);
    while (fmt.size() < layout.fmtBytes) {
        fmt.push_back(0);
    }
    fmt.resize(layout.fmtBytes);
    return fmt;
}

// A RIFF/WAVE file from its sub-chunks, in the order given.
inline Bytes wavFile(const std::vector<Bytes>& chunks)
{
    Bytes body;
    putText(body, "WAVE");
    for (const auto& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    return riffChunk("RIFF", body);
}

// The usual WAV file: format, then the samples.
inline Bytes wavFile(const WavLayout& layout, const Bytes& samples)
{
    return wavFile({riffChunk("fmt ", wavFormat(layout)), riffChunk("data", samples)});
}

// A standard MIDI file variable-length quantity.
inline void putVarLen(Bytes& out, std::uint32_t value)
{
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && n < 5);
    while (n > 1) {
        out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    }
    out.push_back(groups[0]);
}

// One track's events, written as they come (running status is up to the
// caller: an event without its status byte simply leaves it out).
struct SmfTrack {
    Bytes bytes;
    SmfTrack& event(std::uint32_t delta, const Bytes& message)
    {
        putVarLen(bytes, delta);
        bytes.insert(bytes.end(), message.begin(), message.end());
        return *this;
    }
    SmfTrack& meta(std::uint32_t delta, std::uint8_t type, const Bytes& data)
    {
        putVarLen(bytes, delta);
        bytes.push_back(0xFF);
        bytes.push_back(type);
        putVarLen(bytes, static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    SmfTrack& tempo(std::uint32_t delta, std::uint32_t microsPerQuarter)
    {
        return meta(delta, 0x51,
                    {static_cast<std::uint8_t>(microsPerQuarter >> 16),
                     static_cast<std::uint8_t>(microsPerQuarter >> 8),
                     static_cast<std::uint8_t>(microsPerQuarter)});
    }
    SmfTrack& sysex(std::uint32_t delta, std::uint8_t status, const Bytes& data)
    {
        putVarLen(bytes, delta);
        bytes.push_back(status);
        putVarLen(bytes, static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    SmfTrack& end(std::uint32_t delta = 0) { return meta(delta, 0x2F, {}); }
};

// A chunk of a standard MIDI file: type, big-endian length, body.
inline Bytes smfChunk(const std::string& type, const Bytes& body)
{
    Bytes out;
    putText(out, type);
    putBe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The header chunk of a standard MIDI file.
inline Bytes smfHeader(std::uint16_t format, std::uint16_t tracks, std::uint16_t division)
{
    Bytes body;
    putBe16(body, format);
    putBe16(body, tracks);
    putBe16(body, division);
    return smfChunk("MThd", body);
}

// A standard MIDI file of the given format and division.
inline Bytes smfFile(std::uint16_t format, std::uint16_t division,
                     const std::vector<SmfTrack>& tracks)
{
    Bytes out = smfHeader(format, static_cast<std::uint16_t>(tracks.size()), division);
    for (const auto& t : tracks) {
        const Bytes chunk = smfChunk("MTrk", t.bytes);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace test
