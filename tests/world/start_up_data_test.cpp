// Start-up reading of the author's data: the database with its run-time
// tables, the system data and the world map, and the texts that a missing
// or damaged file gives.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report.h"
#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"
#include "world/database_tables.h"
#include "world/start_up_data.h"

namespace {

std::string nativePath(const char* gamePath)
{
    std::string path = gamePath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

void writeFile(const test::TempDir& dir, const char* gamePath,
               const std::vector<std::uint8_t>& bytes)
{
    dir.write(nativePath(gamePath), std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> tableFile(cEdDatabase& db, int table)
{
    ByteWriter w;
    w.writeI32(kDataVersion);
    db.SaveTable(table, w);
    return w.take();
}

// A complete data folder: the ten tables, the system data and the world map.
void writeCompleteFolder(const test::TempDir& dir)
{
    cEdDatabase db;
    db.Anime.resize(3);
    db.Anime[2].m_Frames.resize(2);
    db.CharaEffect[1].m_Kind = 7;
    db.CharaEffect[1].m_Param[0] = 10;
    db.CharaEffect[1].m_Param[2] = 90;
    db.Bgm.resize(4);
    for (int table = 0; table < kDatabaseTables; ++table)
        writeFile(dir, kDatabaseFiles[table], tableFile(db, table));

    // Saving checks the music numbers against the live Bgm table: let it
    // hold five records while the file is written.
    const auto liveBgm = g_Database.Bgm;
    g_Database.Bgm.resize(5);
    cEdSystem system;
    system.strTitle = "Quest";
    system.vMusicNo = {3, 0, 1, 4};
    writeFile(dir, kSystemFile, SaveToBytes(system));
    g_Database.Bgm = liveBgm;

    cEdWorldMap map;
    map.m_Name = "Land";
    writeFile(dir, kWorldMapFile, SaveToBytes(map));
}

// Runs each test in a fresh game folder with a run report and a box
// responder, and puts the global records back afterwards.
class StartUpData : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_StripCR = 1;
        ASSERT_EQ(ReportCreate((dir.path() / "Report_Game.txt").string().c_str()), 1);
        plat::setMessageBoxResponder([this](const plat::BoxRequest& box) {
            boxes.push_back(box.text);
            return IDOK;
        });
        writeCompleteFolder(dir);
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        g_StripCR = 0;
        g_Database = savedDatabase;
        g_System = savedSystem;
        g_WorldMap = savedMap;
    }
    std::string report() const { return dir.read("Report_Game.txt"); }

    test::TempDir dir;
    test::ScopedCurrentDir cwd{dir.path()};
    std::vector<std::string> boxes;
    cEdDatabase savedDatabase = g_Database;
    cEdSystem savedSystem = g_System;
    cEdWorldMap savedMap = g_WorldMap;
};

TEST_F(StartUpData, ACompleteFolderLoadsWithItsRunTimeTables)
{
    ASSERT_EQ(LoadDatabaseAtStartUp(), 1);
    ASSERT_EQ(LoadSystemAtStartUp(), 1);
    ASSERT_EQ(LoadWorldMapAtStartUp(), 1);
    EXPECT_TRUE(boxes.empty());

    EXPECT_EQ(g_Database.Anime.size(), 3u);
    ASSERT_EQ(g_AnimeSeqs.size(), 3u);
    EXPECT_EQ(g_AnimeSeqs[2].size(), 3u);
    ASSERT_EQ(g_Database.m_CharaEffectRev.size(), g_Database.CharaEffect.size());
    EXPECT_EQ(g_CharaEffectStatesRev[1].m_Start, 90);
    EXPECT_EQ(g_System.strTitle, "Quest");
    // The music check runs against the database just read (four Bgm records).
    EXPECT_EQ(g_System.vMusicNo, (std::vector<std::int32_t>{3, 0, 1, 0}));
    EXPECT_EQ(g_WorldMap.m_Name, "Land");
}

TEST_F(StartUpData, AMissingTableNamesItsFileAndTheDatabase)
{
    std::filesystem::remove(dir / nativePath(kDatabaseFiles[8]));
    EXPECT_EQ(LoadDatabaseAtStartUp(), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], std::string("data\\database\\Sound.dat") + Sjis(" のロードに失敗！"));
    EXPECT_EQ(boxes[1], Sjis("データベースの読み込みに失敗…"));
    EXPECT_NE(report().find("データベースの読み込みに失敗…"), std::string::npos);
    EXPECT_EQ(g_Database.Anime.size(), savedDatabase.Anime.size());
}

TEST_F(StartUpData, MissingOrDamagedSystemDataAndWorldMapGiveTheirTexts)
{
    struct Case {
        const char* file;
        bool damaged;
        int (*load)();
        const char* text;
    };
    const Case cases[] = {
        {kSystemFile, false, LoadSystemAtStartUp, " の読み込みに失敗…"},
        {kSystemFile, true, LoadSystemAtStartUp, " の読み込みに失敗…"},
        {kWorldMapFile, false, LoadWorldMapAtStartUp, " のロードに失敗！"},
        {kWorldMapFile, true, LoadWorldMapAtStartUp, " のロードに失敗！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.file << (c.damaged ? " damaged" : " missing"));
        writeCompleteFolder(dir);
        if (c.damaged) {
            const std::string bytes = dir.read(nativePath(c.file));
            dir.write(nativePath(c.file), bytes.substr(0, bytes.size() / 2));
        } else {
            std::filesystem::remove(dir / nativePath(c.file));
        }
        boxes.clear();
        EXPECT_EQ(c.load(), 0);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], std::string(c.file) + Sjis(c.text));
        // The report says the same in UTF-8.
        EXPECT_NE(report().find(std::string(c.file) + c.text), std::string::npos);
    }
    EXPECT_EQ(g_System.strTitle, savedSystem.strTitle);
    EXPECT_EQ(g_WorldMap.m_Name, savedMap.m_Name);
}

} // namespace
