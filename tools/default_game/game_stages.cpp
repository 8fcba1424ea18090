// The stages, each a text map of 15 rows of blocks (one screen high) with
// the characters and items placed in its cells, and its settings.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "core/sjis_text.h"
#include "data/ed_stage.h"
#include "data/path_table.h"
#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_data.h"
#include "tools/default_game/game_files.h"
#include "tools/default_game/pictures.h"

namespace defgame {
namespace {

// What a character of a map places in its cell: an entry of the common
// palette. '.' is an empty cell.
struct MapKey {
    char c;
    enum Kind { Block, Chara, Item } kind;
    int entry;
};

const MapKey kMapKeys[] = {
    {'=', MapKey::Block, PB_GRASS},  {'#', MapKey::Block, PB_DIRT},
    {'B', MapKey::Block, PB_BRICK},  {'S', MapKey::Block, PB_STONE},
    {'^', MapKey::Block, PB_SPIKES}, {'J', MapKey::Block, PB_SPRING},
    {'-', MapKey::Block, PB_PLANK},  {'P', MapKey::Chara, PC_HERO},
    {'w', MapKey::Chara, PC_WALKER}, {'h', MapKey::Chara, PC_HOPPER},
    {'o', MapKey::Item, PI_COIN},    {'+', MapKey::Item, PI_HEART},
    {'G', MapKey::Item, PI_GOAL},
};

struct StageSpec {
    std::string file; // data\stg4\... without the number
    const char* title;
    const char* background;
    int timeLimit; // seconds
    std::vector<const char*> map;
};

// clang-format off
const std::vector<StageSpec>& stages()
{
    static const std::vector<StageSpec> list = {
        {"data\\stg4\\Stage1.stg4",
         "はじまりの草原",
         kMeadowPicture,
         300,
         {
             "................................................................",
             "................................................................",
             "................................................................",
             "................................................................",
             "................................................................",
             "................................................................",
             "..............................ooo...............................",
             "................................................................",
             ".............ooo.............BBBBB................ooo...........",
             "................................................................",
             "...........BBBBB.........BB...........o.o.o......SSSSS..........",
             "..P..................w........................w.........h....G..",
             "================================..======..======================",
             "################################..######..######################",
             "################################..######..######################",
         }},
        {"data\\stg4\\Stage2.stg4",
         "カエルの丘",
         kMeadowPicture,
         300,
         {
             "................................................................................",
             "................................................................................",
             "................................................................................",
             "................................................................................",
             "................................................................................",
             "................................................................................",
             "....................................ooo.........................................",
             "................................................................................",
             "...................ooo...................BBBBB..................................",
             "..........................................................+.h...................",
             "..................SSSSS................................SSSSSSS.....ooo..........",
             "..P.......w...................h.......J.........h.............................G.",
             "=====================..=======================..================..==============",
             "#####################..#######################..################..##############",
             "#####################..#######################..################..##############",
         }},
        {"data\\stg4\\Stage3.stg4",
         "トゲの谷",
         kDuskPicture,
         300,
         {
             "................................................................................................",
             "................................................................................................",
             "................................................................................................",
             "................................................................................................",
             "................................................................................................",
             "................................................................................................",
             "..............................ooo............................................ooo................",
             "................................................................................................",
             ".............ooo.............SSSSS.................+........................SSSSS...............",
             "................................................................................................",
             "...........SSSSS.........SS....................BBBBBBBBBB..................SS...................",
             "..P.......w.........................h.......................w........h..........w...........G...",
             "=============^^======..=======------=====^^======^^^^^^^^=========..=====^^===========----======",
             "#####################..#######......#####################################..###########....######",
             "#####################..#######......#####################################..###########....######",
         }},
    };
    return list;
}

// The challenge stages: data\stg4\c01-1.stg4, c02-1.stg4, ...
const std::vector<StageSpec>& challenges()
{
    static const std::vector<StageSpec> list = {
        {"",
         "コインラッシュ",
         kMeadowPicture,
         120,
         {
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "..........o.o.o.o.o.............................",
             "................................................",
             ".........SSSSSSSSSSS........ooooo...............",
             "...........................h................o...",
             ".......SS..............SSSSSSSSS...........SSS..",
             "..P...o.o.o.o.......w.........................G.",
             "===========..=====================..============",
             "###########..#####################..############",
             "###########..#####################..############",
         }},
        {"",
         "モンスターの群れ",
         kDuskPicture,
         120,
         {
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "................................................",
             "..................w.............................",
             ".................SSSS.......h.............+.....",
             "..........................SSSSSS.........SSS....",
             "..P..........BBBBBB...w..........h.....w.....G..",
             "================================================",
             "################################################",
             "################################################",
         }},
    };
    return list;
}

// Stages that go on from a challenge, as the later parts of its chain:
// data\stg4\cNN-P.stg4. The first challenge is a chain of two stages.
struct ChainPart {
    int challenge; // 1 for c01
    int part;      // 2 for c01-2
    StageSpec spec;
};

const std::vector<ChainPart>& challengeParts()
{
    static const std::vector<ChainPart> list = {
        {1, 2, {"",
         "コインラッシュ その2",
         kMeadowPicture,
         120,
         {
             "................................",
             "................................",
             "................................",
             "................................",
             "................................",
             "................................",
             "................................",
             "................................",
             "..............ooo...............",
             "................................",
             "............SSSSSSS.............",
             "..P...o.o.o.......w.....h.....G.",
             "================================",
             "################################",
             "################################",
         }}},
    };
    return list;
}
// clang-format on

// A placed object: a copy of its palette entry that takes every group of
// settings from that entry.
template <class T> T placed(const T& entry, int paletteIndex, int x, int y)
{
    T object = entry;
    object.nPaletteKind = 1; // the common palette
    object.nPaletteIndex = static_cast<std::int16_t>(paletteIndex);
    std::fill(object.InheritFlags.begin(), object.InheritFlags.end(), 1);
    object.nX = static_cast<std::int16_t>(x);
    object.nY = static_cast<std::int16_t>(y);
    return object;
}

const MapKey* mapKey(char c)
{
    for (const MapKey& key : kMapKeys)
        if (key.c == c) return &key;
    return nullptr;
}

cEdStage stageOf(const StageSpec& spec)
{
    const std::string name = spec.title;
    const auto height = static_cast<int>(spec.map.size());
    if (height != 15) throw std::logic_error(name + ": a map is 15 rows high");
    const auto width = static_cast<int>(std::string(spec.map.front()).size());

    cEdStage stage;
    stage.strStageText = Sjis(spec.title);
    stage.nWidth = width;
    stage.nHeight = height;
    // The stage's extent in pixels: the world reaches 640 beyond it, its
    // margins. Left at 0, the world would end at 640 and everything below
    // or right of it would fall out of the world on the first step.
    stage.nOuterX = width * 32;
    stage.nOuterY = height * 32;
    stage.bTimeLimit = 1;
    stage.nTimeLimit = spec.timeLimit;
    stage.nBgm = BGM_STAGE;
    stage.bBgmLoop = 1;
    stage.nPlayerGuard = 60; // a second without further harm after a hit

    cEdLayer back;
    back.SetDefaults();
    back.strPicture = spec.background;
    back.dFactorX = 0.25;
    back.dFactorY = 0.0;
    stage.Layers = {back};

    const cEdPalette& palette = g_CommonPalette;
    int heroes = 0, goals = 0;
    for (int y = 0; y < height; ++y) {
        const std::string row = spec.map[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != width)
            throw std::logic_error(name + ": row " + std::to_string(y) + " is not " +
                                   std::to_string(width) + " wide");
        for (int x = 0; x < width; ++x) {
            const char c = row[static_cast<std::size_t>(x)];
            if (c == '.') continue;
            const MapKey* key = mapKey(c);
            if (!key) throw std::logic_error(name + ": no meaning for '" + c + "' in the map");
            const auto i = static_cast<std::size_t>(key->entry);
            switch (key->kind) {
            case MapKey::Block:
                stage.PlacedBlocks.push_back(placed(palette.PaletteBlocks.at(i), key->entry, x, y));
                break;
            case MapKey::Chara: {
                const MapKey* below =
                    y + 1 < height ? mapKey(spec.map[static_cast<std::size_t>(y + 1)][x]) : nullptr;
                if (!below || below->kind != MapKey::Block)
                    throw std::logic_error(name + ": a character at (" + std::to_string(x) + ", " +
                                           std::to_string(y) + ") stands on nothing");
                cEdChara chara = placed(palette.PaletteCharas.at(i), key->entry, x, y);
                chara.nCarriedItem = -1; // carries nothing
                if (key->entry == PC_HERO) {
                    ++heroes;
                    stage.PlacedCharas.insert(stage.PlacedCharas.begin(), chara);
                } else {
                    stage.PlacedCharas.push_back(chara);
                }
                break;
            }
            case MapKey::Item:
                if (key->entry == PI_GOAL) ++goals;
                stage.PlacedItems.push_back(placed(palette.PaletteItems.at(i), key->entry, x, y));
                break;
            }
        }
    }
    if (heroes != 1) throw std::logic_error(name + ": a stage needs exactly one hero");
    if (goals == 0) throw std::logic_error(name + ": a stage needs a goal");
    return stage;
}

// The newest numbered file of a stage's name is played; the game ships the first.
void writeStage(const StageSpec& spec, const std::string& file)
{
    cEdStage stage = stageOf(spec);
    saveRecord(stage, inDefault(file) + "_001");
}

} // namespace

const std::vector<StoryStage>& storyStages()
{
    static const std::vector<StoryStage> list = [] {
        std::vector<StoryStage> s;
        for (const StageSpec& spec : stages())
            s.push_back({spec.file.c_str(), spec.title});
        return s;
    }();
    return list;
}

int challengeStageCount()
{
    return static_cast<int>(challenges().size());
}

void writeStages()
{
    for (const StageSpec& spec : stages())
        writeStage(spec, spec.file);
    int n = 0;
    for (const StageSpec& spec : challenges()) {
        ++n;
        char file[64];
        std::snprintf(file, sizeof file, "%s%02d-1.%s", g_PathTable[PATH_CHALLENGE_STAGE], n,
                      g_ExtTable[EXT_STAGE]);
        writeStage(spec, file);
    }
    for (const ChainPart& part : challengeParts()) {
        char file[64];
        std::snprintf(file, sizeof file, "%s%02d-%d.%s", g_PathTable[PATH_CHALLENGE_STAGE],
                      part.challenge, part.part, g_ExtTable[EXT_STAGE]);
        writeStage(part.spec, file);
    }
}

} // namespace defgame
