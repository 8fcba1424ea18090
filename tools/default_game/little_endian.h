#pragma once
// Appending little- and big-endian numbers to a byte buffer, for the file
// formats the generator writes itself (BMP, WAV, MIDI).

#include <cstdint>
#include <vector>

namespace defgame {

inline void put8(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
}

inline void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put8(out, v);
    put8(out, v >> 8);
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v);
    put16(out, v >> 16);
}

inline void putBig16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put8(out, v >> 8);
    put8(out, v);
}

inline void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    putBig16(out, v >> 16);
    putBig16(out, v);
}

} // namespace defgame
