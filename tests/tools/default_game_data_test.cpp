// The generated default game's data: every file reads through the runtime's
// own loaders without a failure and without needing repair, every stage is
// playable, the world map leads through the story, and the system data and
// System.ini agree.

#include "tools/default_game_fixture.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <utility>

#include "core/path.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/stage_load.h"
#include "tools/default_game/game_data.h"
#include "world/database_tables.h"

namespace {

using test::DefaultGame;

TEST_F(DefaultGame, TheStartUpReadsTheAuthorsDataWithoutAFailure)
{
    // data\ was made from default\ after the one question of the first start.
    EXPECT_EQ(boxes,
              std::vector<std::string>{"データが存在しません！デフォルトデータを作成しますか？\n"});
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "data/database"));
    LoadAuthorsData();
    EXPECT_TRUE(reportLines().empty()) << reportLines().front();
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(DefaultGame, EveryDatabaseTableHoldsRecordsAndTheirRunTimeTables)
{
    LoadAuthorsData();
    const cEdDatabase& db = g_Database;
    const std::vector<std::pair<const char*, std::size_t>> tables = {
        {"AnimeSet", db.AnimeSet.size()},
        {"Anime", db.Anime.size()},
        {"Bmp_CharaExc", db.Bmp_CharaExc.size()},
        {"SwordType", db.SwordType.size()},
        {"Effect", db.Effect.size()},
        {"CharaEffect", db.CharaEffect.size()},
        {"ScrEffect", db.ScrEffect.size()},
        {"Picture", db.Picture.size()},
        {"Sound", db.Sound.size()},
        {"Bgm", db.Bgm.size()},
    };
    for (const auto& [table, size] : tables)
        EXPECT_GT(size, 0u) << table;
    EXPECT_EQ(g_AnimeSeqs.size(), db.Anime.size());
    EXPECT_EQ(g_EffectSeqs.size(), db.Effect.size());
    for (const cEdAnimeSet& set : db.AnimeSet)
        EXPECT_GE(set.m_Animes.size(), 4u) << "every set has its four state animations";
}

// The bytes of a data file (a game path).
std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    auto stream = OpenRead(path);
    return stream ? stream->bytes : std::vector<std::uint8_t>{};
}

// The file image of table t of a database, as the table files hold them.
std::vector<std::uint8_t> TableBytes(cEdDatabase& db, int t)
{
    ByteWriter out;
    out.writeI32(g_DataVersion);
    db.SaveTable(t, out);
    return out.take();
}

// Each data file, read and written back by its record, gives its own bytes:
// reading found nothing to repair (a reference out of its table, an event
// off the map, a missing palette entry...).
TEST_F(DefaultGame, EveryDataFileReadsBackToItsOwnBytes)
{
    LoadAuthorsData();
    EXPECT_EQ(SaveToBytes(g_System), FileBytes(kSystemFile));
    EXPECT_EQ(SaveToBytes(g_WorldMap), FileBytes(kWorldMapFile));
    EXPECT_EQ(SaveToBytes(g_CommonPalette), FileBytes(kCommonPaletteFile));
    for (int t = 0; t < kDatabaseTables; ++t) {
        auto stream = OpenRead(kDatabaseFiles[t]);
        ASSERT_TRUE(stream) << kDatabaseFiles[t];
        cEdDatabase copy;
        ASSERT_TRUE(copy.LoadTable(t, stream->in)) << kDatabaseFiles[t];
        EXPECT_EQ(TableBytes(copy, t), stream->bytes) << kDatabaseFiles[t];
    }
    for (const std::string& name : StageNames()) {
        ASSERT_EQ(LoadStage(name, 1, &g_StageAtStart), 1) << name;
        EXPECT_EQ(SaveToBytes(g_Stage), FileBytes(g_Stage.strFileName)) << name;
    }
}

// Command kinds and flow triggers that the checks below look for.
constexpr int kWalkTurningAtLedges = 3;
constexpr int kStraightMove = 2;
constexpr int kTurn = 9;
constexpr int kJump = 10;
constexpr int kShot = 11;
constexpr int kStageClearItemCommand = 2;
constexpr int kTriggerBlockAtSide = 10;

bool HasCommand(const cEdChara& c, int kind, int trigger = -1)
{
    for (const cEdFlow& f : c.Flows) {
        if (trigger >= 0 && f.m_Trigger != trigger) continue;
        for (const cEdCommand& cmd : f.m_Commands)
            if (cmd.m_ListKind == 0 && cmd.m_Kind == kind) return true;
    }
    return false;
}

bool ClearsTheStage(const cEdItem& item)
{
    return std::any_of(item.Commands.begin(), item.Commands.end(), [](const cEdCommand& c) {
        return c.m_ListKind != 0 && c.m_Kind == kStageClearItemCommand;
    });
}

// Every stage the game plays has a hero that the keys move, ground and
// platforms, a walker that turns at walls, a foe that jumps or shoots,
// items to take and a goal that clears it.
TEST_F(DefaultGame, EveryStageIsAPlayableLevel)
{
    LoadAuthorsData();
    const std::vector<std::string> names = StageNames();
    EXPECT_GE(g_WorldMap.m_Events.size(), 3u);
    EXPECT_GE(g_System.nChallengeStages, 2);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_EQ(LoadStage(name, 1, &g_StageAtStart), 1);
        const cEdStage& stage = g_Stage;
        EXPECT_GE(stage.nWidth, 20);
        EXPECT_GE(stage.nHeight, 15);
        EXPECT_GE(stage.PlacedBlocks.size(), static_cast<std::size_t>(stage.nWidth));
        EXPECT_EQ(stage.nOuterX, stage.nWidth * 32) << "the world holds the stage";
        EXPECT_EQ(stage.nOuterY, stage.nHeight * 32) << "the world holds the stage";

        const int hero = stage.FindHero();
        ASSERT_GE(hero, 0);
        const cEdChara& h = stage.PlacedCharas[static_cast<std::size_t>(hero)];
        EXPECT_TRUE(HasCommand(h, kStraightMove)) << "the hero walks";
        EXPECT_TRUE(HasCommand(h, kJump)) << "the hero jumps";
        for (const cEdFlow& f : h.Flows)
            EXPECT_FALSE(f.m_KeyConds.empty()) << "the hero's flows answer the keys";

        bool walker = false, jumperOrShooter = false;
        for (const cEdChara& c : stage.PlacedCharas) {
            if (c.nOperator == 0) continue;
            EXPECT_NE(c.nGroup, h.nGroup) << "foes are on the other side";
            EXPECT_GT(c.nBodyPower, 0) << "touching a foe hurts";
            walker |=
                HasCommand(c, kWalkTurningAtLedges) && HasCommand(c, kTurn, kTriggerBlockAtSide);
            jumperOrShooter |= HasCommand(c, kJump) || HasCommand(c, kShot);
        }
        EXPECT_TRUE(walker);
        EXPECT_TRUE(jumperOrShooter);

        const auto goals =
            std::count_if(stage.PlacedItems.begin(), stage.PlacedItems.end(), ClearsTheStage);
        EXPECT_GE(goals, 1);
        EXPECT_GT(static_cast<long>(stage.PlacedItems.size()), goals) << "items to take";
        EXPECT_FALSE(stage.Layers.empty());
        EXPECT_NE(stage.nBgm, 0);
    }
}

TEST_F(DefaultGame, TheChallengeCountIsTheNumberOfChallengeStagesShipped)
{
    LoadAuthorsData();
    std::string file;
    for (int n = 1; n <= g_System.nChallengeStages; ++n)
        EXPECT_EQ(FindNewestNumbered(file, ChallengeName(n), "stg4"), 1) << n;
    EXPECT_EQ(FindNewestNumbered(file, ChallengeName(g_System.nChallengeStages + 1), "stg4"), 0);
}

// The cells the player can reach from the start, walking the map as its
// scene does: chips that are not blocked, and entries, which can be stepped
// on but not crossed until their stage is cleared.
std::set<std::pair<int, int>> Reachable(const cEdWorldMap& map, const std::set<int>& cleared)
{
    std::set<std::pair<int, int>> seen;
    std::queue<std::pair<int, int>> next;
    next.push({map.m_StartX, map.m_StartY});
    seen.insert(next.front());
    while (!next.empty()) {
        auto [x, y] = next.front();
        next.pop();
        const cEdWorldEvent* event = map.FindEvent(x, y);
        if (event && !cleared.count(event->m_Items.front().m_ClearFlag) &&
            !event->m_Items.front().m_Open)
            continue; // an entry not yet cleared stops the walk
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= map.m_Width || ny >= map.m_Height) continue;
            const cEdWorldChip* chip = map.ChipAt(nx, ny);
            const bool entry = map.FindEvent(nx, ny) != nullptr;
            if (!entry && (!chip || chip->m_Blocked)) continue;
            if (seen.insert({nx, ny}).second) next.push({nx, ny});
        }
    }
    return seen;
}

TEST_F(DefaultGame, TheWorldMapOpensOneStageAtATimeFromTheStart)
{
    LoadAuthorsData();
    const cEdWorldMap& map = g_WorldMap;
    ASSERT_GE(map.m_Events.size(), 3u);
    const cEdWorldChip* start = map.ChipAt(map.m_StartX, map.m_StartY);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->m_Blocked, 0);
    EXPECT_EQ(map.FindEvent(map.m_StartX, map.m_StartY), nullptr)
        << "a new story does not start inside a stage";

    // The story's order: by the stage flag each entry's clear sets.
    std::vector<const cEdWorldEvent*> story;
    for (const cEdWorldEvent& event : map.m_Events)
        story.push_back(&event);
    std::sort(story.begin(), story.end(), [](const cEdWorldEvent* a, const cEdWorldEvent* b) {
        return a->m_Items.front().m_ClearFlag < b->m_Items.front().m_ClearFlag;
    });
    std::set<int> cleared;
    for (const cEdWorldEvent* step : story) {
        const cEdWorldEvent& event = *step;
        const cEdWorldEventItem& entry = event.m_Items.front();
        EXPECT_EQ(entry.m_Kind, 0) << "a stage entry";
        // Of the stages not cleared, only this one can be reached.
        const auto reach = Reachable(map, cleared);
        for (const cEdWorldEvent& other : map.m_Events) {
            if (cleared.count(other.m_Items.front().m_ClearFlag)) continue;
            EXPECT_EQ(reach.count({other.m_X, other.m_Y}) == 1, &other == &event)
                << other.m_Items.front().m_StageFile << " with " << cleared.size() << " cleared";
        }
        cleared.insert(entry.m_ClearFlag);
    }
}

TEST_F(DefaultGame, SystemIniHoldsTheSystemDatasKeysWithTheirDefaults)
{
    LoadAuthorsData();
    std::ifstream in(dir_ / "System.ini", std::ios::binary);
    ASSERT_TRUE(in);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Exit") << "the reader fails without it";
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const auto eq = lines[i].find('=');
        ASSERT_NE(eq, std::string::npos) << lines[i];
        values[lines[i].substr(0, eq)] = lines[i].substr(eq + 1);
    }
    for (const cEdSysOption& option : g_System.vSysOption) {
        auto it = values.find(option.strName);
        if (option.nKind == 1) {
            if (it != values.end()) {
                EXPECT_EQ(it->second, option.strText) << option.strName;
            }
            continue;
        }
        ASSERT_NE(it, values.end()) << option.strName;
        EXPECT_EQ(it->second, std::to_string(option.nValue)) << option.strName;
    }
    EXPECT_EQ(values["Direct3D"], "1") << "no start-up dialog: the texture back end";
    EXPECT_EQ(values["WindowMode"], "1");
}

} // namespace
