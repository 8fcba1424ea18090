#pragma once
// Files that the build writes for the tests (the Ogg tones of
// tools/ogg_tone_writer): their folder, and their bytes.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test {

inline std::filesystem::path buildDataPath(const std::string& name)
{
    const char* binary = std::getenv("RT_BINARY_DIR");
    return std::filesystem::path(binary ? binary : ".") / "test_data" / name;
}

// The bytes of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace test
