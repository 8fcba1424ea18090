// The world map, drawn as text: an island whose road leads from the start
// through the three story stages. Each stage's entry cannot be passed until
// its stage is cleared, so the road opens one stage at a time.
#include <stdexcept>
#include <string>

#include "core/sjis_text.h"
#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_data.h"
#include "tools/default_game/game_palette.h"
#include "tools/default_game/world_chips.h"

namespace defgame {
namespace {

// '@' is the start and '1' to '3' the stages' entries, all on the road.
const char* const kMap[] = {
    "~~~~~~~~~~~~~~~~~~~~~~~~", "~~~~~~~~~~~~~~~~~~~~~~~~", "~~TTTTTTTTTTTTTTMMMMMM~~",
    "~TT*..TTTTTTTTTMMM..MM~~", "~T.@::1:::TTTTTM..3::M~~", "~T*.TTTTT:TTTTT..::MM~~~",
    "~TTTTTTTT:TTTT..::MMM~~~", "~~~~~~~~~H~~~~~:~~~~~~~~", "~~~~~~~~~H~~~~~H~~~~~~~~",
    "~~TTTTTT:::::::2TTTTT~~~", "~~TTT*****TTTTTTTTTTT~~~", "~~~TTTTTTTTTTTTTTTTTs~~~",
    "~~~~~~~~~~~~~~~~~~~ss~~~", "~~~~~~~~~~~~~~~~~~~~~~~~", "~~~~~~~~~~~~~~~~~~~~~~~~",
};

struct ChipKey {
    char c;
    WorldChip chip;
    const char* label;
};

const ChipKey kChips[] = {
    {'~', CHIP_WATER, "海"},  {'T', CHIP_FOREST, "森"}, {'M', CHIP_MOUNTAIN, "山"},
    {'R', CHIP_ROCK, "岩"},   {'C', CHIP_WALL, "城壁"}, {'.', CHIP_GRASS, "草原"},
    {':', CHIP_ROAD, "道"},   {'H', CHIP_BRIDGE, "橋"}, {'*', CHIP_FLOWERS, "花畑"},
    {'s', CHIP_SAND, "砂浜"},
};

WorldChip chipAt(char c)
{
    if (c == '@' || (c >= '1' && c <= '9')) return CHIP_ROAD;
    for (const ChipKey& k : kChips)
        if (k.c == c) return k.chip;
    throw std::logic_error(std::string("no world map chip for '") + c + "'");
}

// An event with one entry: the story stage k (1 to 3).
cEdWorldEvent stageEntry(int k, int x, int y)
{
    const StoryStage& stage = storyStages().at(static_cast<std::size_t>(k - 1));
    cEdWorldEventItem item;
    item.Clear();
    item.m_Kind = 0;        // a stage entry
    item.m_SignRow = k - 1; // its sign in bmp\WorldEvent.bmp
    item.m_ClearFlag = k;   // the stage flag its clear sets
    item.m_Open = 0;        // not passable before it is cleared
    item.m_Replay = 1;      // a cleared stage can be played again
    item.m_AfterClear = 0;  // back to the world map
    item.m_Caption = Sjis(stage.title);
    item.m_StageFile = stage.file;
    cEdWorldEvent event;
    event.m_X = x;
    event.m_Y = y;
    event.m_Name = Sjis(stage.title);
    event.m_Items = {item};
    return event;
}

} // namespace

cEdWorldMap gameWorldMap()
{
    const int height = static_cast<int>(std::size(kMap));
    const int width = static_cast<int>(std::string(kMap[0]).size());
    if (kStageSigns != static_cast<int>(storyStages().size()))
        throw std::logic_error("a sign for every story stage");

    cEdWorldMap map;
    map.m_Name = Sjis("クエンホルト島");
    map.m_BgColor = shade(Hue::Blue, 9); // the sea around the island
    map.SetSize(width, height);
    for (const ChipKey& k : kChips) {
        cEdWorldChip& chip = map.m_Chips.at(static_cast<std::size_t>(k.chip));
        chip.m_PictureNo = k.chip;
        chip.m_Blocked = k.chip < kFirstWalkableChip ? 1 : 0;
        chip.m_Text2 = Sjis(k.label);
    }
    int starts = 0;
    for (int y = 0; y < height; ++y) {
        const std::string row = kMap[y];
        if (static_cast<int>(row.size()) != width)
            throw std::logic_error("world map row " + std::to_string(y) + " has another width");
        for (int x = 0; x < width; ++x) {
            const char c = row[static_cast<std::size_t>(x)];
            map.m_Cells.at(static_cast<std::size_t>((y << map.m_PitchShift) + x)) = chipAt(c);
            if (c == '@') {
                map.m_StartX = x;
                map.m_StartY = y;
                ++starts;
            } else if (c >= '1' && c <= '9') {
                map.m_Events.push_back(stageEntry(c - '0', x, y));
            }
        }
    }
    if (starts != 1) throw std::logic_error("the world map needs one start");
    if (map.m_Events.size() != storyStages().size())
        throw std::logic_error("the world map needs an entry for every story stage");
    return map;
}

} // namespace defgame
