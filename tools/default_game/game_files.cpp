#include "tools/default_game/game_files.h"

#include "data/path_table.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"

namespace defgame {

std::string inDefault(std::string_view dataPath)
{
    const std::string_view data = g_PathTable[PATH_DATA];
    if (!dataPath.starts_with(data))
        throw std::runtime_error("not a path in data\\: " + std::string(dataPath));
    return g_PathTable[PATH_DEFAULT] + std::string(dataPath.substr(data.size()));
}

void makeParentFolder(std::string_view gamePath)
{
    const auto cut = gamePath.rfind('\\');
    if (cut == std::string_view::npos) return;
    const std::string folder(gamePath.substr(0, cut));
    if (!plat::createFolder(folder)) throw std::runtime_error("cannot make the folder " + folder);
}

void writeGameFile(std::string_view gamePath, const std::vector<std::uint8_t>& bytes)
{
    makeParentFolder(gamePath);
    plat::AtomicFile file;
    if (!file.open(gamePath) || !file.write(bytes.data(), bytes.size()) || !file.commit())
        throw std::runtime_error("cannot write " + std::string(gamePath));
}

void saveRecord(cEdData& record, std::string_view gamePath)
{
    makeParentFolder(gamePath);
    if (!record.SaveFile(gamePath))
        throw std::runtime_error("cannot write " + std::string(gamePath));
}

void saveTable(cEdDatabase& database, int table, std::string_view gamePath)
{
    makeParentFolder(gamePath);
    auto file = OpenWrite(gamePath);
    if (!file) throw std::runtime_error("cannot create " + std::string(gamePath));
    database.SaveTable(table, file->out);
    if (!CloseFile(file)) throw std::runtime_error("cannot write " + std::string(gamePath));
}

} // namespace defgame
