#pragma once
// One seed of a fuzz target whose first input byte picks the kind of file:
// that byte, then the file's bytes, written to a file of the corpus folder.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Writes the seed; false when the file could not be written.
inline bool WriteSeed(const std::filesystem::path& dir, const std::string& name, int kind,
                      const std::vector<std::uint8_t>& file)
{
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.put(static_cast<char>(kind));
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
