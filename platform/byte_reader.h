#pragma once
// Bounded reading of a file's bytes. Every read is checked against the bytes
// left; the first short read marks the reader failed, and every later read
// fails too, so a parser can read a whole record and test once at the end.
// Values are little-endian, as the game's files are.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The unsigned little-endian value of sizeof(T) bytes at p, whatever the host
// order; the caller has made sure the bytes are there.
template <std::unsigned_integral T> T loadLittleEndian(const std::uint8_t* p)
{
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        value = static_cast<T>((value << 8) | p[i]);
    return value;
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes);

    std::size_t size() const;
    std::size_t position() const;
    std::size_t remaining() const;
    bool failed() const;
    // Marks the reader failed (for checks that only the caller can make).
    void fail();

    // Each returns false, and leaves the output zeroed, when the bytes are
    // not there or the reader has already failed.
    bool readU8(std::uint8_t& out);
    bool readI8(std::int8_t& out);
    bool readU16(std::uint16_t& out);
    bool readI16(std::int16_t& out);
    bool readU32(std::uint32_t& out);
    bool readI32(std::int32_t& out);
    bool readU64(std::uint64_t& out);
    bool readI64(std::int64_t& out);
    bool readF64(double& out);
    bool readBytes(void* out, std::size_t count);
    bool skip(std::size_t count);

    // A count read from the file is only believable when that many elements
    // of at least minElementBytes each still fit in the bytes left. Fails the
    // reader when they cannot.
    bool checkCount(std::uint64_t count, std::size_t minElementBytes);

    // The bytes from the current position on, without consuming them.
    std::span<const std::uint8_t> rest() const;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

enum class ReadError { None, NotFound, OpenFailed, TooLarge, ReadFailed };

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    ReadError error = ReadError::None;
    explicit operator bool() const { return error == ReadError::None; }
};

// Reads a whole file of the game folder, named by a game path (Shift-JIS,
// backslashes, case-insensitive; see path_resolver.h). Files larger than
// maxBytes are refused with TooLarge rather than read.
FileBytes readGameFile(std::string_view sjisPath, std::size_t maxBytes = std::size_t{1} << 30);

} // namespace plat
