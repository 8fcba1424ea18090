#pragma once
// What the world map decides from the map and the play progress: which
// entry of an event the player meets, whether it is cleared or may be
// walked over, which tiles block, and the lives a chosen stage starts
// with. The world-map scene asks these every frame; they read g_WorldMap,
// g_Progress and g_System and change nothing.
//
// Flags and variables that an entry names outside the progress's tables
// count as not set: such an entry never qualifies and is never cleared.

#include <cstdint>

class cEdWorldChip;
class cEdWorldEvent;
class cEdWorldEventItem;
class cMenuCursor;

// Entry kinds with a meaning of their own; any other kind is only drawn.
inline constexpr std::int32_t kWorldItemStage = 0;
inline constexpr std::int32_t kWorldItemObstacle = 2;

// The placed event on the tile of the cursor's top state, or null.
const cEdWorldEvent* FindWorldEvent(const cMenuCursor& cursor);

// Whether the comparison operation (0 =, 1 !=, 2 >=, 3 <=, 4 >, 5 <) holds
// between v and c; any other operation never holds.
bool CompareWorldVar(std::int32_t v, std::int32_t operation, std::int32_t c);

// Whether the entry's conditions hold: its required stage flag (none when
// 0 or less), its variable comparison (none for variable 0) and the
// minimum total score.
bool ItemQualifies(const cEdWorldEventItem& item);

// The first entry of the event whose conditions hold; null for no event or
// when none qualifies.
const cEdWorldEventItem* SelectItem(const cEdWorldEvent* event);

// The entry's stage flag is set.
bool IsCleared(const cEdWorldEventItem& item);
// The entry may be walked over: open before its clear, or cleared.
bool IsPassable(const cEdWorldEventItem& item);

// The chip attribute of a tile (held within the map); a number beyond the
// chip table is taken as the nearest chip. Null only for a map without chips.
const cEdWorldChip* MapChipAt(int column, int row);

// Whether the tile stops the walker: an obstacle entry, or with no entry a
// chip that cannot be walked on.
bool IsTileBlocked(int column, int row, const cEdWorldEventItem* item);

// The lives a stage chosen on the map starts the play with. With lives
// carried from stage to stage: unlimited for a story of unlimited lives,
// else the lives left plus the one the play's start takes. Without: the
// story's initial lives.
std::int32_t StoryStageLives();
