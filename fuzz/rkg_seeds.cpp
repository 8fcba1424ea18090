// Writes the seed corpus of the rankings fuzz target into the folder given
// as the argument, with the records' own save code: an empty set, a set with
// names and values in every table, and an old file of three tables.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scenes/rankings.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    cEdRankSet empty;
    cEdRankSet filled;
    for (int k = 0; k < kRankKinds; ++k)
        for (int i = 0; i < 7; ++i)
            InsertRank(filled.m_Tables[static_cast<std::size_t>(k)], i % 2 ? "ABC" : "\x83\x41",
                       1000 * k + 37 * i);
    cEdRankSet old = filled;
    old.m_Tables.resize(3);
    std::vector<std::uint8_t> oldBytes = SaveToBytes(old);
    oldBytes[0] = 180; // the version: before HP and SP ranked higher first
    oldBytes[1] = 0;
    bool ok = WriteFile(dir / "empty.rkg", SaveToBytes(empty));
    ok = WriteFile(dir / "filled.rkg", SaveToBytes(filled)) && ok;
    ok = WriteFile(dir / "old.rkg", oldBytes) && ok;
    return ok ? 0 : 1;
}
