#include "media/midi_data.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <queue>

#include "core/report.h"
#include "core/sjis_text.h"
#include "platform/byte_reader.h"

namespace {

// Music files are small; a larger file is refused before it is read.
constexpr std::size_t kMaxMidiFileBytes = std::size_t{64} << 20;
constexpr std::uint32_t kMaxVarLen = 0x0FFFFFFF;

// One event while converting: its absolute tick, its status and where its
// data bytes (everything after the status) lie in the file.
struct EventNode {
    std::uint64_t time = 0;
    std::uint8_t status = 0;
    std::size_t dataOffset = 0;
    std::size_t dataLength = 0;
};

using Track = std::vector<EventNode>;

std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at)
{
    return (static_cast<std::uint32_t>(b[at]) << 24) |
           (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

std::uint16_t be16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

// Where the chunks after the file's header chunk begin, and the size of a
// chunk's type and length.
constexpr std::size_t kMidiHeaderChunkEnd = 14;
constexpr std::size_t kChunkHeaderBytes = 8;

struct ChunkHeader {
    bool isTrack = false;  // an MTrk chunk
    std::uint64_t end = 0; // where its length says the next chunk begins
};

// The chunk header at pos; nothing when the file ends first.
std::optional<ChunkHeader> chunkAt(std::span<const std::uint8_t> file, std::size_t pos)
{
    if (pos > file.size() || file.size() - pos < kChunkHeaderBytes) {
        return std::nullopt;
    }
    return ChunkHeader{std::memcmp(file.data() + pos, "MTrk", 4) == 0,
                       std::uint64_t{pos} + kChunkHeaderBytes + be32(file, pos + 4)};
}

// Whether an MTrk chunk follows the header, after any chunks of other types.
bool hasTrackChunk(std::span<const std::uint8_t> file)
{
    std::size_t pos = kMidiHeaderChunkEnd;
    while (const auto chunk = chunkAt(file, pos)) {
        if (chunk->isTrack) {
            return true;
        }
        if (chunk->end > file.size()) {
            return false;
        }
        pos = static_cast<std::size_t>(chunk->end);
    }
    return false;
}

// Reads a variable-length quantity at pos, moving pos past it.
bool readVarLenAt(std::span<const std::uint8_t> file, std::size_t& pos, std::uint32_t& value)
{
    const int used = ReadVarLen(file.subspan(std::min(pos, file.size())), value);
    if (used == 0) {
        return false;
    }
    pos += static_cast<std::size_t>(used);
    return true;
}

// Data bytes of the system common and real-time messages (F1 to FE but
// F7 and FF): F1 and F3 carry one, F2 two, the others none.
std::size_t systemDataBytes(std::uint8_t status)
{
    return status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
}

bool isSystemMessage(std::uint8_t status)
{
    return status >= 0xF1 && status <= 0xFE && status != 0xF7;
}

// Whether count bytes from pos are there and are all data bytes (top bit clear).
bool dataBytesAt(std::span<const std::uint8_t> file, std::size_t pos, std::size_t count)
{
    if (count > file.size() - pos) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (file[pos + i] & 0x80) {
            return false;
        }
    }
    return true;
}

// Parses one track from pos (just after its chunk header) up to its
// end-of-track event. Nothing when the events run past the end of the file,
// the track never ends, a data byte comes before any status, or a status
// byte stands where a data byte belongs. System common and real-time
// messages are skipped by their length and leave the running status as it
// was, as other players do.
std::optional<Track> parseTrack(std::span<const std::uint8_t> file, std::size_t& pos,
                                std::uint64_t& endTime)
{
    Track track;
    std::uint8_t running = 0;
    std::uint64_t time = 0;
    for (;;) {
        std::uint32_t delta = 0;
        if (!readVarLenAt(file, pos, delta) || pos >= file.size()) {
            return std::nullopt;
        }
        time += delta;
        std::uint8_t status = running;
        if (file[pos] & 0x80) {
            status = file[pos++];
        } else if (running == 0) {
            return std::nullopt;
        }
        if (isSystemMessage(status)) {
            const std::size_t length = systemDataBytes(status);
            if (!dataBytesAt(file, pos, length)) {
                return std::nullopt;
            }
            pos += length;
            continue;
        }
        running = status;

        EventNode node{time, status, pos, 0};
        if (status >= 0xC0 && status <= 0xDF) {
            node.dataLength = 1;
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            std::size_t p = pos;
            if (!readVarLenAt(file, p, length)) {
                return std::nullopt;
            }
            node.dataLength = (p - pos) + length;
        } else if (status == 0xFF) {
            if (file.size() - pos < 2) {
                return std::nullopt;
            }
            if (file[pos] == 0x2F && file[pos + 1] == 0x00) {
                pos += 2;
                endTime = time;
                return track;
            }
            std::uint32_t length = 0;
            std::size_t p = pos + 1;
            if (!readVarLenAt(file, p, length)) {
                return std::nullopt;
            }
            node.dataLength = (p - pos) + length;
        } else {
            node.dataLength = 2;
        }
        if (node.dataLength > file.size() - pos) {
            return std::nullopt;
        }
        if (status < 0xF0 && !dataBytesAt(file, pos, node.dataLength)) {
            return std::nullopt;
        }
        pos += node.dataLength;
        track.push_back(node);
    }
}

// The tracks' events in time order; equal times keep the order of the tracks.
std::vector<EventNode> mergeTracks(const std::vector<Track>& tracks)
{
    struct Head {
        std::uint64_t time;
        std::size_t track;
        std::size_t index;
        bool operator>(const Head& o) const
        {
            return time != o.time ? time > o.time : track > o.track;
        }
    };
    std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
    std::size_t count = 0;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        count += tracks[t].size();
        if (!tracks[t].empty()) {
            heads.push({tracks[t][0].time, t, 0});
        }
    }
    std::vector<EventNode> merged;
    merged.reserve(count);
    while (!heads.empty()) {
        Head h = heads.top();
        heads.pop();
        merged.push_back(tracks[h.track][h.index]);
        if (h.index + 1 < tracks[h.track].size()) {
            heads.push({tracks[h.track][h.index + 1].time, h.track, h.index + 1});
        }
    }
    return merged;
}

void putBe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v >> 24);
    out[at + 1] = static_cast<std::uint8_t>(v >> 16);
    out[at + 2] = static_cast<std::uint8_t>(v >> 8);
    out[at + 3] = static_cast<std::uint8_t>(v);
}

} // namespace

int ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (static_cast<std::size_t>(i) >= bytes.size()) {
            value = 0;
            return 0;
        }
        value = (value << 7) | (bytes[static_cast<std::size_t>(i)] & 0x7Fu);
        if ((bytes[static_cast<std::size_t>(i)] & 0x80) == 0) {
            return i + 1;
        }
    }
    value = 0;
    return 0;
}

int WriteVarLen(std::uint8_t out[4], std::uint32_t value)
{
    if (value > kMaxVarLen) {
        return 0;
    }
    int n = 1;
    while (n < 4 && (value >> (7 * n)) != 0) {
        ++n;
    }
    for (int i = 0; i < n; ++i) {
        const auto group = static_cast<std::uint8_t>((value >> (7 * (n - 1 - i))) & 0x7F);
        out[i] = static_cast<std::uint8_t>(group | (i < n - 1 ? 0x80 : 0));
    }
    return n;
}

cMidiData::cMidiData(const char* path)
{
    Create(path);
}

void cMidiData::Create(const char* path)
{
    m_FileName = path ? path : "";
    m_Image.clear();
    auto file = plat::readGameFile(m_FileName, kMaxMidiFileBytes);
    if (!file) {
        ReportLog(Sjis("Midi %s Create ファイルが開けません"), m_FileName.c_str());
        return;
    }
    m_Image = Init(file.bytes);
}

std::vector<std::uint8_t> cMidiData::Init(std::span<const std::uint8_t> file)
{
    const char* name = m_FileName.c_str();
    if (file.size() < 4 || std::memcmp(file.data(), "MThd", 4) != 0) {
        ReportLog(Sjis("Midi %s Init 標準MIDIでない(4)"), name);
        return {};
    }
    if (file.size() < 8 || be32(file, 4) != 6) {
        ReportLog(Sjis("Midi %s Init 標準MIDIでない(6)"), name);
        return {};
    }
    if (file.size() < 14) {
        ReportLog(Sjis("Midi %s Init ファイルが壊れています"), name);
        return {};
    }
    const std::uint16_t format = be16(file, 8);
    if (format == 2) {
        ReportLog(Sjis("Midi %s Init 対応フォーマットが2でない"), name);
        return {};
    }
    if (format > 2) {
        ReportLog(Sjis("Midi %s Init 対応フォーマットが0または1でない"), name);
        return {};
    }
    if (!hasTrackChunk(file)) {
        ReportLog(Sjis("Midi %s Init 標準MIDIでない(4)"), name);
        return {};
    }
    auto image = Convert(file);
    if (image.empty()) {
        ReportLog(Sjis("Midi %s Init ファイルが壊れています"), name);
    }
    return image;
}

std::vector<std::uint8_t> cMidiData::Convert(std::span<const std::uint8_t> file)
{
    if (file.size() < 14) {
        return {};
    }
    // Parse the header's count of tracks from the MTrk chunks; chunks of
    // other types are skipped by their length.
    const std::size_t trackCount = be16(file, 10);
    if (trackCount == 0) {
        return {};
    }
    std::vector<Track> tracks;
    std::uint64_t endTime = 0;
    std::size_t pos = kMidiHeaderChunkEnd;
    while (tracks.size() < trackCount) {
        const auto chunk = chunkAt(file, pos);
        if (!chunk) {
            return {};
        }
        if (!chunk->isTrack) {
            if (chunk->end > file.size()) {
                return {};
            }
            pos = static_cast<std::size_t>(chunk->end);
            continue;
        }
        // A track ends at its end event. The next chunk begins where the
        // chunk's length says when that is after the event and inside the
        // file, else right after the event.
        pos += kChunkHeaderBytes;
        std::uint64_t trackEnd = 0;
        auto track = parseTrack(file, pos, trackEnd);
        if (!track) {
            return {};
        }
        if (chunk->end <= file.size() && pos <= chunk->end) {
            pos = static_cast<std::size_t>(chunk->end);
        }
        endTime = std::max(endTime, trackEnd);
        tracks.push_back(std::move(*track));
    }

    // Merge, then build the image with one end event at the latest time.
    std::vector<EventNode> events = mergeTracks(tracks);
    static const std::uint8_t kEndData[] = {0x2F, 0x00};
    std::vector<std::uint8_t> image(kMidiImageHeaderBytes);
    std::memcpy(image.data(), "MThd\0\0\0\x06\0\0\0\x01", 12);
    image[12] = file[12];
    image[13] = file[13];
    std::memcpy(image.data() + 14, "MTrk", 4);

    std::uint64_t previous = 0;
    auto put = [&](std::uint64_t time, std::uint8_t status, const std::uint8_t* data,
                   std::size_t length) {
        std::uint8_t delta[4];
        const int n = time - previous > kMaxVarLen
                          ? 0
                          : WriteVarLen(delta, static_cast<std::uint32_t>(time - previous));
        if (n == 0) {
            return false; // a gap that no delta can hold
        }
        previous = time;
        image.insert(image.end(), delta, delta + n);
        image.push_back(status);
        image.insert(image.end(), data, data + length);
        return true;
    };
    for (const auto& e : events) {
        if (!put(e.time, e.status, file.data() + e.dataOffset, e.dataLength)) {
            return {};
        }
    }
    if (!put(endTime, 0xFF, kEndData, sizeof kEndData)) {
        return {};
    }
    const std::size_t length = image.size() - kMidiImageHeaderBytes;
    if (length > 0xFFFFFFFFu) {
        return {};
    }
    putBe32(image, 18, static_cast<std::uint32_t>(length));
    return image;
}
