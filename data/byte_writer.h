#pragma once
// Building a data file's bytes in memory before they are written in one go.
// The counterpart of plat::ByteReader: values are written little-endian, as
// the game's files hold them. Writing to memory cannot fail; the file is
// written (atomically) only once the whole record has been saved.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ByteWriter {
public:
    void writeU8(std::uint8_t value);
    void writeI8(std::int8_t value);
    void writeU16(std::uint16_t value);
    void writeI16(std::int16_t value);
    void writeU32(std::uint32_t value);
    void writeI32(std::int32_t value);
    void writeU64(std::uint64_t value);
    void writeI64(std::int64_t value);
    void writeF64(double value);
    void writeBytes(const void* data, std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    // Hands the bytes over and leaves the writer empty.
    std::vector<std::uint8_t> take();

private:
    std::vector<std::uint8_t> bytes_;
};
