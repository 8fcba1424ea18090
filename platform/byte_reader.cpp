#include "platform/byte_reader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path_resolver.h"

namespace plat {

ByteReader::ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes)
{
}

std::size_t ByteReader::size() const
{
    return bytes_.size();
}

std::size_t ByteReader::position() const
{
    return pos_;
}

std::size_t ByteReader::remaining() const
{
    return bytes_.size() - pos_;
}

bool ByteReader::failed() const
{
    return failed_;
}

void ByteReader::fail()
{
    failed_ = true;
}

bool ByteReader::readBytes(void* out, std::size_t count)
{
    if (failed_ || count > remaining()) {
        failed_ = true;
        if (out && count > 0) std::memset(out, 0, count);
        return false;
    }
    if (count > 0) std::memcpy(out, bytes_.data() + pos_, count);
    pos_ += count;
    return true;
}

bool ByteReader::skip(std::size_t count)
{
    if (failed_ || count > remaining()) {
        failed_ = true;
        return false;
    }
    pos_ += count;
    return true;
}

namespace {

template <typename T> bool readLittleEndian(ByteReader& reader, T& out)
{
    std::uint8_t raw[sizeof(T)];
    out = 0;
    if (!reader.readBytes(raw, sizeof raw)) return false;
    out = loadLittleEndian<T>(raw);
    return true;
}

template <typename Signed, typename Unsigned> bool readSigned(ByteReader& reader, Signed& out)
{
    Unsigned value = 0;
    const bool ok = readLittleEndian(reader, value);
    out = std::bit_cast<Signed>(value);
    return ok;
}

} // namespace

bool ByteReader::readU8(std::uint8_t& out)
{
    return readLittleEndian(*this, out);
}

bool ByteReader::readI8(std::int8_t& out)
{
    return readSigned<std::int8_t, std::uint8_t>(*this, out);
}

bool ByteReader::readU16(std::uint16_t& out)
{
    return readLittleEndian(*this, out);
}

bool ByteReader::readI16(std::int16_t& out)
{
    return readSigned<std::int16_t, std::uint16_t>(*this, out);
}

bool ByteReader::readU32(std::uint32_t& out)
{
    return readLittleEndian(*this, out);
}

bool ByteReader::readI32(std::int32_t& out)
{
    return readSigned<std::int32_t, std::uint32_t>(*this, out);
}

bool ByteReader::readU64(std::uint64_t& out)
{
    return readLittleEndian(*this, out);
}

bool ByteReader::readI64(std::int64_t& out)
{
    return readSigned<std::int64_t, std::uint64_t>(*this, out);
}

bool ByteReader::readF64(double& out)
{
    return readSigned<double, std::uint64_t>(*this, out);
}

bool ByteReader::checkCount(std::uint64_t count, std::size_t minElementBytes)
{
    if (failed_) return false;
    // Even an element stored in no bytes takes a place in memory: count it
    // as one byte, so that no count can ask for more elements than bytes left.
    const std::size_t each = std::max<std::size_t>(minElementBytes, 1);
    if (count > remaining() / each) {
        failed_ = true;
        return false;
    }
    return true;
}

std::span<const std::uint8_t> ByteReader::rest() const
{
    return bytes_.subspan(pos_);
}

namespace {

// Closes a file descriptor when it goes out of scope.
struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

FileBytes readGameFile(std::string_view sjisPath, std::size_t maxBytes)
{
    FileBytes result;
    const auto path = resolveExisting(sjisPath);
    if (!path) {
        result.error = ReadError::NotFound;
        return result;
    }
    // Non-blocking, so that a FIFO placed under a game name cannot hang the
    // open; anything but a regular file is refused below.
    const FdCloser file{::open(path->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = ReadError::OpenFailed;
        return result;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        result.error = ReadError::TooLarge;
        return result;
    }

    // The size is only a hint: the file may change while it is read, so the
    // reading stops at its end and the cap is checked on what was read.
    // One byte beyond the cap is room enough to notice a file that grew past it.
    const std::size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : SIZE_MAX;
    std::vector<std::uint8_t>& bytes = result.bytes;
    bytes.resize(std::min(limit, static_cast<std::size_t>(info.st_size) + 1));
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes) {
                result.error = ReadError::TooLarge;
                bytes.clear();
                return result;
            }
            bytes.resize(std::min(limit, total * 2 + 4096));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + total, bytes.size() - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = ReadError::ReadFailed;
            bytes.clear();
            return result;
        }
        if (n == 0) break;
        total += static_cast<std::size_t>(n);
    }
    if (total > maxBytes) {
        result.error = ReadError::TooLarge;
        bytes.clear();
        return result;
    }
    bytes.resize(total);
    return result;
}

} // namespace plat
