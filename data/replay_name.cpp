#include "data/replay_name.h"

#include "core/format.h"
#include "core/path.h"
#include "data/ed_data.h"
#include "data/path_table.h"
#include "platform/path_resolver.h"

std::string ReplayExtension()
{
    std::string ext;
    FormatStr(ext, "rpl4_%d", g_DataVersion);
    return ext;
}

std::string ProposeReplayName(std::string_view stageName)
{
    if (stageName.empty()) return {};
    std::string name;
    PathReplaceExt(name, stageName, ReplayExtension().c_str());
    PathStripDir(name);
    // One listing of the folder answers all 81 names.
    const plat::FolderLookup folder(kReplayFolder);
    std::string candidate;
    for (int i = 0; i <= 8; ++i) {
        for (int j = 0; j <= 8; ++j) {
            PathAddSuffix(candidate, name, i, j);
            if (!folder.contains(candidate)) return candidate;
        }
    }
    return candidate;
}
