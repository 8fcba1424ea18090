#pragma once
// The pages of an Ogg file, for tests and fuzz seeds that build damaged
// streams out of good ones: splitting a file into its pages, and changing a
// page's header fields with its checksum made right again, so that the
// damage is in the stream and not merely a page the reader skips.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace test {

using OggPage = std::vector<std::uint8_t>;

// The checksum of a page (CRC-32 with polynomial 0x04C11DB7, no reflection),
// computed with its checksum field as zero.
inline std::uint32_t oggPageChecksum(const OggPage& page)
{
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const std::uint8_t byte = (i >= 22 && i < 26) ? 0 : page[i];
        crc ^= static_cast<std::uint32_t>(byte) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

inline void putOggLe32(OggPage& page, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        page[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// The pages of a well-formed file, in order.
inline std::vector<OggPage> oggPages(const std::vector<std::uint8_t>& file)
{
    std::vector<OggPage> pages;
    std::size_t pos = 0;
    while (file.size() - pos >= 27 && std::memcmp(file.data() + pos, "OggS", 4) == 0) {
        const std::size_t segments = file[pos + 26];
        if (file.size() - pos < 27 + segments) {
            break;
        }
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) {
            body += file[pos + 27 + i];
        }
        const std::size_t end = pos + 27 + segments + body;
        if (end > file.size()) {
            break;
        }
        pages.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(pos),
                           file.begin() + static_cast<std::ptrdiff_t>(end));
        pos = end;
    }
    return pages;
}

struct OggPageChange {
    int headerType = -1;     // flags: 1 continued packet, 2 first page, 4 last page
    long long serial = -1;   // the stream's serial number
    long long sequence = -1; // the page's number in its stream
};

// The page with the given fields changed and its checksum made right.
inline OggPage changedOggPage(OggPage page, const OggPageChange& change)
{
    if (change.headerType >= 0) {
        page[5] = static_cast<std::uint8_t>(change.headerType);
    }
    if (change.serial >= 0) {
        putOggLe32(page, 14, static_cast<std::uint32_t>(change.serial));
    }
    if (change.sequence >= 0) {
        putOggLe32(page, 18, static_cast<std::uint32_t>(change.sequence));
    }
    putOggLe32(page, 22, oggPageChecksum(page));
    return page;
}

// The page with its body scrambled from the given byte of the body on and
// its checksum made right: the reader takes it and the decoder meets the
// damage.
inline OggPage scrambledOggPage(OggPage page, std::size_t fromBodyByte)
{
    const std::size_t body = 27 + page[26] + fromBodyByte;
    for (std::size_t i = body; i < page.size(); i += 3) {
        page[i] ^= 0x55;
    }
    return changedOggPage(std::move(page), {});
}

// The header of a page without its body, whose checksum no longer fits.
inline std::vector<std::uint8_t> oggPageHeaderOnly(const OggPage& page)
{
    return {page.begin(), page.begin() + 27 + page[26]};
}

// Pages and byte runs joined into one file.
inline std::vector<std::uint8_t> joinOgg(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

} // namespace test
