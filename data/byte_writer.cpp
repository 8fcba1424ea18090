#include "data/byte_writer.h"

#include <bit>
#include <cstring>
#include <utility>

namespace {

template <class U> void appendLittleEndian(std::vector<std::uint8_t>& out, U value)
{
    for (std::size_t i = 0; i < sizeof(U); ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

} // namespace

void ByteWriter::writeU8(std::uint8_t value)
{
    bytes_.push_back(value);
}

void ByteWriter::writeI8(std::int8_t value)
{
    writeU8(static_cast<std::uint8_t>(value));
}

void ByteWriter::writeU16(std::uint16_t value)
{
    appendLittleEndian(bytes_, value);
}

void ByteWriter::writeI16(std::int16_t value)
{
    writeU16(static_cast<std::uint16_t>(value));
}

void ByteWriter::writeU32(std::uint32_t value)
{
    appendLittleEndian(bytes_, value);
}

void ByteWriter::writeI32(std::int32_t value)
{
    writeU32(static_cast<std::uint32_t>(value));
}

void ByteWriter::writeU64(std::uint64_t value)
{
    appendLittleEndian(bytes_, value);
}

void ByteWriter::writeI64(std::int64_t value)
{
    writeU64(static_cast<std::uint64_t>(value));
}

void ByteWriter::writeF64(double value)
{
    writeU64(std::bit_cast<std::uint64_t>(value));
}

void ByteWriter::writeBytes(const void* data, std::size_t count)
{
    if (count == 0) return;
    const std::size_t at = bytes_.size();
    bytes_.resize(at + count);
    std::memcpy(bytes_.data() + at, data, count);
}

std::vector<std::uint8_t> ByteWriter::take()
{
    return std::exchange(bytes_, {});
}
