// The database: default contents, reading the ten table files in order, and
// what a missing or damaged file does.

#include <gtest/gtest.h>

#include <string>

#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "file_bytes.h"
#include "support/temp_dir.h"

namespace {

// A game path (backslashes) as a path inside the test folder.
std::string folderPath(const char* gamePath)
{
    std::string path = gamePath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Writes every table of a database as its file.
void writeDatabase(const test::TempDir& dir, cEdDatabase db)
{
    for (int table = 0; table < kDatabaseTables; ++table) {
        ByteWriter w;
        w.writeI32(kDataVersion);
        db.SaveTable(table, w);
        const auto bytes = w.take();
        dir.write(folderPath(kDatabaseFiles[table]), std::string(bytes.begin(), bytes.end()));
    }
}

// A database whose every table differs from the default contents.
cEdDatabase authorDatabase()
{
    cEdDatabase db;
    db.AnimeSet.resize(3);
    db.AnimeSet[2].m_Name = "hero";
    db.Anime.resize(4);
    db.Anime[3].m_Name = "walk";
    db.Anime[3].m_Frames.resize(3);
    db.Bmp_CharaExc.resize(1);
    db.Bmp_CharaExc[0].m_FileName = "bmp\\big.bmp";
    db.SwordType.resize(2);
    db.SwordType[1].m_FileName1 = "bmp\\sword.bmp";
    db.Effect.resize(3);
    db.Effect[2].m_Frames.resize(5);
    db.CharaEffect.resize(3);
    db.CharaEffect[2].m_Kind = 12;
    db.ScrEffect.resize(1);
    db.Picture.resize(5);
    db.Picture[4].m_FileName = "bmp\\pic.bmp";
    db.Sound.resize(3);
    db.Sound[2].m_FileName = "se\\hit.wav";
    db.Bgm.resize(2);
    db.Bgm[1].m_FileName = "bgm\\stage.mid";
    return db;
}

// The bodies of every table, in the file order.
std::vector<std::uint8_t> imageOf(cEdDatabase& db)
{
    ByteWriter w;
    for (int table = 0; table < kDatabaseTables; ++table)
        db.SaveTable(table, w);
    return w.take();
}

class Database : public ::testing::Test {
protected:
    void SetUp() override { g_StripCR = 1; }
    void TearDown() override { g_StripCR = 0; }
    test::TempDir dir;
    test::ScopedCurrentDir cwd{dir.path()};
};

TEST_F(Database, DefaultContentsWhenNoFileIsRead)
{
    cEdDatabase db;
    EXPECT_EQ(db.AnimeSet.size(), 1u);
    ASSERT_EQ(db.Anime.size(), 2u);
    EXPECT_EQ(db.Anime[0].m_Name, Sjis("なし"));
    EXPECT_FALSE(db.Anime[1].m_Name.empty());
    EXPECT_EQ(db.Anime[1].m_Frames.size(), 1u);
    EXPECT_EQ(db.Bmp_CharaExc.size(), 2u);
    EXPECT_EQ(db.SwordType.size(), 1u);
    EXPECT_EQ(db.Effect.size(), 2u);
    EXPECT_EQ(db.CharaEffect.size(), 2u);
    EXPECT_EQ(db.ScrEffect.size(), 2u);
    EXPECT_EQ(db.Picture.size(), 2u);
    EXPECT_EQ(db.Sound.size(), 2u);
    EXPECT_EQ(db.Bgm.size(), 2u);
    EXPECT_TRUE(db.m_CharaEffectRev.empty());
}

TEST_F(Database, TablesReadBackAsWritten)
{
    cEdDatabase author = authorDatabase();
    author.CharaEffect[0].m_Kind = 0;
    author.ScrEffect[0].m_Kind = 0;
    writeDatabase(dir, author);

    cEdDatabase db;
    ASSERT_EQ(db.LoadDatabase(), 1);
    EXPECT_EQ(imageOf(db), imageOf(author));
    EXPECT_EQ(db.Bgm[1].m_FileName, "bgm\\stage.mid");
}

TEST_F(Database, RecordZeroOfTheParameterEffectsIsNone)
{
    cEdDatabase author = authorDatabase();
    for (auto& fx : author.CharaEffect)
        fx.m_Kind = 5;
    for (auto& fx : author.ScrEffect)
        fx.m_Kind = 5;
    writeDatabase(dir, author);
    cEdDatabase db;
    ASSERT_EQ(db.LoadDatabase(), 1);
    EXPECT_EQ(db.CharaEffect[0].m_Kind, 0);
    EXPECT_EQ(db.CharaEffect[1].m_Kind, 5);
    EXPECT_EQ(db.CharaEffect[2].m_Kind, 5);
    EXPECT_EQ(db.ScrEffect[0].m_Kind, 0);
}

TEST_F(Database, EmptyTablesStayEmpty)
{
    cEdDatabase author = authorDatabase();
    author.CharaEffect.clear();
    author.ScrEffect.clear();
    author.Sound.clear();
    writeDatabase(dir, author);
    cEdDatabase db;
    ASSERT_EQ(db.LoadDatabase(), 1);
    EXPECT_TRUE(db.CharaEffect.empty());
    EXPECT_TRUE(db.ScrEffect.empty());
    EXPECT_TRUE(db.Sound.empty());
}

TEST_F(Database, CarriageReturnsAreStrippedFromTheRecords)
{
    cEdDatabase author = authorDatabase();
    author.Picture[1].m_Name = "two\r\nlines";
    writeDatabase(dir, author);
    cEdDatabase db;
    ASSERT_EQ(db.LoadDatabase(), 1);
    EXPECT_EQ(db.Picture[1].m_Name, "two\nlines");
}

TEST_F(Database, RecordsAlreadyPresentKeepWhatAnOlderFileLacks)
{
    // Version 171 has no large flag and size factor: records 0 and 1 are the
    // default contents (factor 2), record 2 is a cleared default (factor 0).
    writeDatabase(dir, authorDatabase());
    test::FileBytes file;
    file.i32(171).i32(3);
    for (int i = 0; i < 3; ++i)
        file.i32(1).i32(i).i32(2).str("c").str("c.bmp");
    dir.write("data/database/Bmp_CharaExc.dat",
              std::string(file.bytes().begin(), file.bytes().end()));
    cEdDatabase db;
    ASSERT_EQ(db.LoadDatabase(), 1);
    ASSERT_EQ(db.Bmp_CharaExc.size(), 3u);
    EXPECT_EQ(db.Bmp_CharaExc[0].m_SizeFactor, 2);
    EXPECT_EQ(db.Bmp_CharaExc[1].m_SizeFactor, 2);
    EXPECT_EQ(db.Bmp_CharaExc[2].m_SizeFactor, 0);
}

TEST_F(Database, AMissingOrDamagedFileFailsAndLeavesEveryTableAsItWas)
{
    struct Case {
        const char* what;
        int file;
        std::string bytes; // empty: the file is missing
    };
    const Case cases[] = {
        {"missing Sound.dat", 8, ""},
        {"missing AnimeSet.dat", 0, ""},
        {"Anime.dat cut short", 1, "keep 20"},
        {"Bgm.dat count beyond the file", 9, std::string("\xFF\x01\x00\x00\xFF\xFF\xFF\x7F", 8)},
        {"CharaEffect.dat with only a version", 5, std::string("\xFF\x01\x00\x00", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir caseDir;
        test::ScopedCurrentDir caseCwd(caseDir.path());
        writeDatabase(caseDir, authorDatabase());
        const std::string path = folderPath(kDatabaseFiles[c.file]);
        if (c.bytes.empty()) {
            std::filesystem::remove(caseDir / path);
        } else if (c.bytes == "keep 20") {
            caseDir.write(path, caseDir.read(path).substr(0, 20));
        } else {
            caseDir.write(path, c.bytes);
        }

        cEdDatabase db;
        db.Picture[0].m_Name = "live";
        cEdDatabase before(db);
        EXPECT_EQ(db.LoadDatabase(), 0);
        EXPECT_EQ(imageOf(db), imageOf(before));
        EXPECT_EQ(db.Picture[0].m_Name, "live");
    }
}

TEST_F(Database, ATableNumberOutsideTheTenIsRefused)
{
    cEdDatabase db;
    for (int table : {-1, kDatabaseTables}) {
        ByteWriter w;
        EXPECT_FALSE(db.SaveTable(table, w));
        EXPECT_EQ(w.size(), 0u);
        const std::uint8_t empty[4] = {};
        plat::ByteReader f(empty);
        EXPECT_FALSE(db.LoadTable(table, f));
    }
}

TEST_F(Database, RecordLookupGivesNoneOutsideTheTable)
{
    cEdDatabase db;
    db.Sound.resize(1);
    EXPECT_NE(RecordAt(db.Sound, 0), nullptr);
    EXPECT_EQ(RecordAt(db.Sound, 1), nullptr);
    EXPECT_EQ(RecordAt(db.Sound, -1), nullptr);
    db.Sound.clear();
    EXPECT_EQ(RecordAt(db.Sound, 0), nullptr);
}

} // namespace
