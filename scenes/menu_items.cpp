#include "scenes/menu_items.h"

#include <algorithm>

#include "core/dbcs.h"

std::vector<std::int32_t> VisibleMenuIds(const std::vector<cEdMenuItem>& list, int knownIds)
{
    std::vector<std::int32_t> ids;
    const int known = std::min(knownIds, static_cast<int>(list.size()));
    for (int id = 0; id < known; ++id)
        if (list[static_cast<std::size_t>(id)].bEnabled != 0) ids.push_back(id);
    if (ids.empty()) ids.push_back(0);
    return ids;
}

const std::string& MenuLabel(const std::vector<cEdMenuItem>& list, std::int32_t id)
{
    static const std::string kNone;
    if (id < 0 || id >= static_cast<std::int32_t>(list.size())) return kNone;
    return list[static_cast<std::size_t>(id)].strLabel;
}

int WidestMenuLabel(const std::vector<cEdMenuItem>& list, const std::vector<std::int32_t>& ids)
{
    int widest = 0;
    for (std::int32_t id : ids)
        widest = std::max(widest, CountChars(MenuLabel(list, id).c_str()));
    return widest;
}
