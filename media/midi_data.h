#pragma once
// A standard MIDI file (format 0 or 1) read and converted into one format-0
// image in memory: every track merged into a single track in time order
// (events at the same tick keep the order of their tracks), every event with
// its own status byte, the tracks' own end events replaced by one at the
// time of the longest track. Chunks of other types than MTrk are skipped,
// and so are the system common and real-time messages inside the tracks
// (they are not for the synthesizer and leave the running status alone): the
// image holds channel messages, system exclusive and meta events only, each
// with a status byte. The stream player plays that image.
//
// Image layout (big-endian numbers, as in the file):
//   0  "MThd", 6, format 0, 1 track, the file's division (bytes 12-13)
//   14 "MTrk", the track length L
//   22 L bytes of events: delta (variable-length), status byte, data

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kMidiImageHeaderBytes = 22;

class cMidiData {
public:
    cMidiData() = default;
    // Loads and converts the file; without success the object has no image.
    explicit cMidiData(const char* path);
    virtual ~cMidiData() = default;
    cMidiData(const cMidiData&) = delete;
    cMidiData& operator=(const cMidiData&) = delete;

    // Reads the file of a game path and sets the image (or leaves none).
    void Create(const char* path);
    // Checks the header and converts; empty (no image) on failure. Each
    // failure writes its run-report line with the file name.
    std::vector<std::uint8_t> Init(std::span<const std::uint8_t> file);
    // Parses, merges and builds the image; empty when the tracks are damaged
    // (cut short, no end event, a data byte before any status or a status
    // byte where a data byte belongs).
    std::vector<std::uint8_t> Convert(std::span<const std::uint8_t> file);

    bool HasImage() const { return !m_Image.empty(); }
    const std::vector<std::uint8_t>& Image() const { return m_Image; }
    const std::string& FileName() const { return m_FileName; }

protected:
    std::vector<std::uint8_t> m_Image;
    std::string m_FileName;
};

// Reads a variable-length quantity (7 bits a byte, the top bit marking that
// more follow) from the start of bytes. Returns the bytes used (1 to 4); 0
// when all four carry the top bit or the bytes end first.
int ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value);

// Writes value (at most 0x0FFFFFFF) as a variable-length quantity; returns
// the bytes written (1 to 4), 0 for a larger value.
int WriteVarLen(std::uint8_t out[4], std::uint32_t value);
