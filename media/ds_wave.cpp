#include "media/ds_wave.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/byte_reader.h"

namespace {

// WAV files of sound effects are small; a larger file is not read at all.
constexpr std::size_t kMaxWaveFileBytes = std::size_t{256} << 20;

struct Chunk {
    char id[4];
    std::span<const std::uint8_t> body;
};

bool isId(const char* id, const char* want)
{
    return std::memcmp(id, want, 4) == 0;
}

// Reads the chunk header at the reader's position and moves past the chunk
// and its pad byte. Nothing when the header or the body is not all there.
std::optional<Chunk> nextChunk(plat::ByteReader& in)
{
    Chunk chunk{};
    std::uint32_t size = 0;
    if (!in.readBytes(chunk.id, 4) || !in.readU32(size) || size > in.remaining()) {
        return std::nullopt;
    }
    chunk.body = in.rest().first(size);
    in.skip(size);
    if (size % 2 == 1 && in.remaining() > 0) {
        in.skip(1);
    }
    return chunk;
}

// The first chunk of that id from the reader's position on.
std::optional<Chunk> findChunk(plat::ByteReader& in, const char* id)
{
    while (in.remaining() > 0) {
        auto chunk = nextChunk(in);
        if (!chunk) {
            return std::nullopt;
        }
        if (isId(chunk->id, id)) {
            return chunk;
        }
    }
    return std::nullopt;
}

// The body of the first top-level RIFF chunk of form type "WAVE", after the
// form type. A RIFF size past the end of the file is taken as "to the end",
// as many writers leave it.
std::optional<std::span<const std::uint8_t>> findWaveForm(std::span<const std::uint8_t> bytes)
{
    plat::ByteReader file(bytes);
    while (file.remaining() > 0) {
        char id[4];
        std::uint32_t size = 0;
        if (!file.readBytes(id, 4) || !file.readU32(size)) {
            return std::nullopt;
        }
        const std::size_t body = std::min<std::size_t>(size, file.remaining());
        if (isId(id, "RIFF") && body >= 4 && std::memcmp(file.rest().data(), "WAVE", 4) == 0) {
            return file.rest().first(body).subspan(4);
        }
        file.skip(body);
        if (body % 2 == 1 && file.remaining() > 0) {
            file.skip(1);
        }
    }
    return std::nullopt;
}

} // namespace

bool DSParseWave(std::span<const std::uint8_t> bytes, DSWAVE& wave)
{
    wave = DSWAVE{};
    auto form = findWaveForm(bytes);
    if (!form) {
        return false;
    }
    plat::ByteReader in(*form);
    auto fmt = findChunk(in, "fmt ");
    if (!fmt || fmt->body.size() < 16) {
        return false;
    }
    // At most 20 bytes of the format are kept; a longer chunk's rest is not read.
    std::uint8_t area[20] = {};
    std::memcpy(area, fmt->body.data(), std::min<std::size_t>(fmt->body.size(), sizeof area));
    DSWAVEFORMAT format;
    plat::ByteReader f(area);
    f.readU16(format.wFormatTag);
    f.readU16(format.nChannels);
    f.readU32(format.nSamplesPerSec);
    f.readU32(format.nAvgBytesPerSec);
    f.readU16(format.nBlockAlign);
    f.readU16(format.wBitsPerSample);
    f.readU16(format.cbSize);
    if (format.wFormatTag != kWaveFormatPcm) {
        return false;
    }
    auto data = findChunk(in, "data");
    if (!data) {
        return false;
    }
    wave.fmt = format;
    wave.data.assign(data->body.begin(), data->body.end());
    return true;
}

bool DSLoadWave(const char* fileName, DSWAVE& wave)
{
    wave = DSWAVE{};
    if (!fileName || !*fileName) {
        return false;
    }
    auto file = plat::readGameFile(fileName, kMaxWaveFileBytes);
    if (!file) {
        return false;
    }
    return DSParseWave(file.bytes, wave);
}

std::shared_ptr<const plat::PcmData> DSWaveToPcm(const DSWAVE& wave)
{
    // What a sound buffer takes: 8 or 16 bits, one or two channels, whole
    // frames of them per block.
    const plat::PcmFormat format{wave.fmt.nChannels, static_cast<int>(wave.fmt.nSamplesPerSec),
                                 wave.fmt.wBitsPerSample};
    const bool consistent =
        wave.fmt.nBlockAlign == wave.fmt.nChannels * (wave.fmt.wBitsPerSample / 8) &&
        wave.fmt.nSamplesPerSec <= static_cast<std::uint32_t>(plat::kMaxPcmRate);
    return consistent ? plat::convertPcm(format, wave.data) : nullptr;
}

void DSFreeWave(DSWAVE& wave)
{
    wave.data.clear();
    wave.data.shrink_to_fit();
}
