#pragma once
// The tiles of the world map: chip number k is both the chip attribute k of
// the map and cell k of bmp\WorldMapChip.bmp (five to a row). The first five
// cannot be walked on.

namespace defgame {

enum WorldChip : int {
    CHIP_WATER = 0,
    CHIP_FOREST,
    CHIP_MOUNTAIN,
    CHIP_ROCK,
    CHIP_WALL,
    CHIP_GRASS, // from here on the player may walk
    CHIP_ROAD,
    CHIP_BRIDGE,
    CHIP_FLOWERS,
    CHIP_SAND,
};
inline constexpr int kWorldChipCount = 10;
inline constexpr int kFirstWalkableChip = CHIP_GRASS;

} // namespace defgame
