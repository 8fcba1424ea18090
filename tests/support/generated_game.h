#pragma once
// The default game that the build generates into its game folder
// (tools/default_game), and a fresh copy of it for a test to play with.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace test {

// The generated game folder: game/ in the build folder.
inline std::filesystem::path generatedGamePath()
{
    const char* binary = std::getenv("RT_BINARY_DIR");
    return std::filesystem::path(binary ? binary : ".") / "game";
}

// Copies what the generator writes (not what a run left there) into a folder.
inline void copyGeneratedGame(const std::filesystem::path& to)
{
    namespace fs = std::filesystem;
    for (const char* entry : {"default", "bmp", "wave", "bgm", "System.ini"})
        fs::copy(generatedGamePath() / entry, to / entry, fs::copy_options::recursive);
}

} // namespace test
