#pragma once
// The rows of a menu whose entries come from the system data (the title
// menu, the save menu, the options): an entry's position in the author's
// list is its id and says what it does. A menu knows a fixed number of ids;
// it shows the enabled entries among them, in list order, and item 0 alone
// when none is enabled. Entries past the known ids mean nothing and are
// never shown, however many the list holds.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_system_items.h"

// The ids of the rows, at most knownIds of them, each below knownIds.
std::vector<std::int32_t> VisibleMenuIds(const std::vector<cEdMenuItem>& list, int knownIds);

// The label of entry id; empty when the list has no such entry.
const std::string& MenuLabel(const std::vector<cEdMenuItem>& list, std::int32_t id);

// The largest character count of the rows' labels (a Shift-JIS pair counts one).
int WidestMenuLabel(const std::vector<cEdMenuItem>& list, const std::vector<std::int32_t>& ids);
