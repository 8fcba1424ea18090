#pragma once
// Byte-level fixtures of data files, for the tests where the file layout
// itself is under test (older versions, damaged files).

#include <cstdint>
#include <string>
#include <vector>

namespace test {

class FileBytes {
public:
    FileBytes& u8(std::uint8_t v)
    {
        bytes_.push_back(v);
        return *this;
    }
    FileBytes& i16(std::int16_t v) { return little(static_cast<std::uint16_t>(v), 2); }
    FileBytes& i32(std::int32_t v) { return little(static_cast<std::uint32_t>(v), 4); }
    // A stored string: its length with the NUL, then (unless empty) the bytes and the NUL.
    FileBytes& str(const std::string& s)
    {
        i32(static_cast<std::int32_t>(s.size() + 1));
        if (!s.empty()) {
            bytes_.insert(bytes_.end(), s.begin(), s.end());
            bytes_.push_back(0);
        }
        return *this;
    }
    FileBytes& raw(const std::vector<std::uint8_t>& b)
    {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    operator const std::vector<std::uint8_t>&() const { return bytes_; }

private:
    FileBytes& little(std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    std::vector<std::uint8_t> bytes_;
};

} // namespace test
