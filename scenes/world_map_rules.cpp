#include "scenes/world_map_rules.h"

#include <algorithm>
#include <vector>

#include "core/checked_access.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene.h"

namespace {

// A progress table's entry by number; false when the number lies outside it.
bool TableEntry(const std::vector<std::int32_t>& table, std::int32_t n, std::int32_t* value)
{
    if (n < 0 || static_cast<std::size_t>(n) >= table.size()) return false;
    *value = table[static_cast<std::size_t>(n)];
    return true;
}

bool StageFlagSet(std::int32_t n)
{
    std::int32_t flag = 0;
    return TableEntry(g_Progress.vStageFlags, n, &flag) && flag != 0;
}

} // namespace

const cEdWorldEvent* FindWorldEvent(const cMenuCursor& cursor)
{
    return g_WorldMap.FindEvent(cursor.top->column, cursor.top->row);
}

bool CompareWorldVar(std::int32_t v, std::int32_t operation, std::int32_t c)
{
    switch (operation) {
    case 0:
        return v == c;
    case 1:
        return v != c;
    case 2:
        return v >= c;
    case 3:
        return v <= c;
    case 4:
        return v > c;
    case 5:
        return v < c;
    default:
        return false;
    }
}

bool ItemQualifies(const cEdWorldEventItem& item)
{
    if (item.m_RequiredFlag > 0 && !StageFlagSet(item.m_RequiredFlag)) return false;
    if (item.m_VarNo != 0) {
        std::int32_t v = 0;
        if (!TableEntry(g_Progress.vCommonVar, item.m_VarNo, &v)) return false;
        if (!CompareWorldVar(v, item.m_VarCompare, item.m_VarValue)) return false;
    }
    return g_Progress.nTotalScore >= item.m_RequiredScore;
}

const cEdWorldEventItem* SelectItem(const cEdWorldEvent* event)
{
    if (!event) return nullptr;
    for (const cEdWorldEventItem& item : event->m_Items)
        if (ItemQualifies(item)) return &item;
    return nullptr;
}

bool IsCleared(const cEdWorldEventItem& item)
{
    return StageFlagSet(item.m_ClearFlag);
}

bool IsPassable(const cEdWorldEventItem& item)
{
    return item.m_Open != 0 || IsCleared(item);
}

const cEdWorldChip* MapChipAt(int column, int row)
{
    const std::vector<cEdWorldChip>& chips = g_WorldMap.m_Chips;
    if (chips.empty()) return nullptr;
    const std::int32_t last = static_cast<std::int32_t>(chips.size()) - 1;
    const std::int32_t n = std::clamp(g_WorldMap.CellAt(column, row), 0, last);
    return &chips[static_cast<std::size_t>(n)];
}

bool IsTileBlocked(int column, int row, const cEdWorldEventItem* item)
{
    if (item) return item->m_Kind == kWorldItemObstacle;
    const cEdWorldChip* chip = MapChipAt(column, row);
    return chip && chip->m_Blocked != 0;
}

std::int32_t StoryStageLives()
{
    if (!g_System.bCarryLives) return VecAt(g_System.vInitialLives, PLAYKIND_STORY);
    if (VecAt(g_System.vUnlimitedLives, PLAYKIND_STORY) != 0) return kUnlimitedLives;
    return g_Progress.nLives < kUnlimitedLives ? g_Progress.nLives + 1 : kUnlimitedLives;
}
