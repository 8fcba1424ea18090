#include "tools/default_game/game_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace defgame {

namespace fs = std::filesystem;

const std::vector<std::string>& generatedEntries()
{
    static const std::vector<std::string> entries = {"default", "bmp", "wave", "bgm", "System.ini"};
    return entries;
}

namespace {

std::vector<std::string> fileList(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

bool sameTree(const fs::path& a, const fs::path& b)
{
    if (!fs::is_directory(a) || !fs::is_directory(b)) return false;
    const auto files = fileList(a);
    if (files != fileList(b)) return false;
    return std::all_of(files.begin(), files.end(),
                       [&](const std::string& f) { return fileBytes(a / f) == fileBytes(b / f); });
}

void installGame(const fs::path& staging, const fs::path& game)
{
    for (const std::string& name : generatedEntries())
        if (!fs::exists(staging / name))
            throw std::runtime_error("the staging folder lacks " + name);
    fs::create_directories(game);
    const bool refreshData = sameTree(game / "data", game / "default");
    for (const std::string& name : generatedEntries()) {
        fs::remove_all(game / name);
        fs::rename(staging / name, game / name);
    }
    if (refreshData) {
        fs::remove_all(game / "data");
        fs::copy(game / "default", game / "data", fs::copy_options::recursive);
    }
    fs::remove_all(staging);
}

} // namespace defgame
