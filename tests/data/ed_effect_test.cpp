// Effect records, and the records that name files: bodies, defaults and the
// upgrades of older files.

#include <gtest/gtest.h>

#include "data/ed_effect.h"
#include "data/ed_picture.h"
#include "data/ed_sword_type.h"
#include "data/effect_param_info.h"
#include "file_bytes.h"

namespace {

using test::FileBytes;

FileBytes paramEffectFile(int version, int kind, std::array<int, 5> params)
{
    FileBytes b;
    b.i32(version).i32(2).i32(kind);
    for (int p : params)
        b.i32(p);
    b.i32(1).str("fx");
    return b;
}

TEST(EffectRecords, ParameterEffectsHaveTheDocumentedBodyAndDefaults)
{
    cEdCharaEffect fx;
    EXPECT_EQ(fx.m_Kind, 1);
    fx.m_Name = "fx";
    fx.m_Kind = 12;
    for (int i = 0; i < 5; ++i)
        fx.m_Param[i] = 10 * i - 7;
    EXPECT_EQ(SaveToBytes(fx), paramEffectFile(511, 12, {-7, 3, 13, 23, 33}).bytes());
}

TEST(EffectRecords, OlderParameterEffectsGetTheCoarsenessDefaults)
{
    struct Case {
        const char* what;
        bool screen;
        int version, kind;
        std::array<int, 5> expected;
    };
    const std::array<int, 5> in = {10, 20, 30, 40, 50};
    const Case cases[] = {
        {"chara wave at 510", false, 510, 4, {10, 20, 30, 40, 2}},
        {"chara wave (vertical) at 300", false, 300, 5, {10, 20, 30, 40, 2}},
        {"chara wave at 511 keeps the file", false, 511, 4, {10, 20, 30, 40, 50}},
        {"chara circle at 510", false, 510, 10, {10, 20, 30, 2, 50}},
        {"chara blink is unchanged", false, 200, 6, {10, 20, 30, 40, 50}},
        {"screen circle at 300", true, 300, 10, {10, 20, 30, 8, 50}},
        {"screen wave at 300", true, 300, 6, {10, 20, 30, 40, 8}},
        {"screen wave (vertical) at 300", true, 300, 7, {10, 20, 30, 40, 10}},
        {"screen circle at 511 keeps the file", true, 511, 10, {10, 20, 30, 40, 50}},
        {"screen kind 4 is unchanged", true, 300, 4, {10, 20, 30, 40, 50}},
        {"out-of-range kind is unchanged", true, 300, 99, {10, 20, 30, 40, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<int, 5> got{};
        if (c.screen) {
            cEdScrEffect fx;
            ASSERT_EQ(LoadFileBytes(fx, paramEffectFile(c.version, c.kind, in).bytes()), 1);
            std::copy(std::begin(fx.m_Param), std::end(fx.m_Param), got.begin());
        } else {
            cEdCharaEffect fx;
            ASSERT_EQ(LoadFileBytes(fx, paramEffectFile(c.version, c.kind, in).bytes()), 1);
            std::copy(std::begin(fx.m_Param), std::end(fx.m_Param), got.begin());
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST(EffectRecords, DescriptorDefaultsMatchTheUpgrades)
{
    EXPECT_EQ(g_CharaEffectParamInfo[4][4].m_Default, 2);
    EXPECT_EQ(g_CharaEffectParamInfo[10][3].m_Default, 2);
    EXPECT_EQ(g_ScrEffectParamInfo[6][4].m_Default, 8);
    EXPECT_EQ(g_ScrEffectParamInfo[7][4].m_Default, 10);
    EXPECT_EQ(g_ScrEffectParamInfo[10][3].m_Default, 8);
    EXPECT_EQ(g_CharaEffectParamInfo[0][0].m_Max, 0);
    EXPECT_EQ(g_ScrEffectParamInfo[13][0].m_Max, 9999);
}

TEST(EffectRecords, PictureEffectRoundTripsAndDropsTheToolValueOfOldFiles)
{
    cEdEffect fx;
    EXPECT_EQ(fx.m_CellWidth, 32);
    EXPECT_EQ(fx.m_CellHeight, 32);
    EXPECT_TRUE(fx.m_Frames.empty());
    fx.m_Name = "boom";
    fx.m_FileName = "bmp\\boom.bmp";
    fx.m_ToolValue = 5;
    fx.m_CellWidth = 48;
    fx.m_Frames.resize(2);
    fx.m_Frames[1].m_PictureNo = 3;
    fx.m_Frames[1].m_Time = 2;
    FileBytes expected;
    expected.i32(511).i32(4).i32(5).i32(48).i32(32).i32(0).i32(2).str("boom").str("bmp\\boom.bmp");
    expected.i32(2).i32(2).i32(0).i32(1).i32(0).i32(2).i32(3).i32(2).i32(0);
    EXPECT_EQ(SaveToBytes(fx), expected.bytes());

    struct Case {
        int version;
        int toolValue;
    };
    for (const Case& c : {Case{152, 0}, Case{153, 9}, Case{150, 0}}) {
        SCOPED_TRACE(c.version);
        FileBytes file;
        file.i32(c.version);
        if (c.version >= 151) {
            file.i32(4).i32(9);
        } else {
            file.i32(3);
        }
        file.i32(16).i32(16).i32(1).i32(2).str("a").str("b").i32(0);
        cEdEffect loaded;
        loaded.m_ToolValue = 9;
        ASSERT_EQ(LoadFileBytes(loaded, file.bytes()), 1);
        EXPECT_EQ(loaded.m_ToolValue, c.toolValue);
        EXPECT_EQ(loaded.m_CellWidth, 16);
        EXPECT_EQ(loaded.m_Scalable, 1);
    }
}

TEST(FileRecords, ToolValueIsDroppedFromFilesOlderThan153)
{
    struct Case {
        int version;
        int expected;
    };
    for (const Case& c : {Case{152, 0}, Case{153, 6}}) {
        SCOPED_TRACE(c.version);
        FileBytes pictureFile;
        pictureFile.i32(c.version).i32(1).i32(6).i32(2).str("p").str("p.bmp");
        cEdPicture picture;
        ASSERT_EQ(LoadFileBytes(picture, pictureFile.bytes()), 1);
        EXPECT_EQ(picture.m_ToolValue, c.expected);
        EXPECT_EQ(picture.m_FileName, "p.bmp");
        cEdSound sound;
        ASSERT_EQ(LoadFileBytes(sound, pictureFile.bytes()), 1);
        EXPECT_EQ(sound.m_ToolValue, c.expected);
        cEdBgm bgm;
        ASSERT_EQ(LoadFileBytes(bgm, pictureFile.bytes()), 1);
        EXPECT_EQ(bgm.m_ToolValue, c.expected);

        FileBytes swordFile;
        swordFile.i32(c.version).i32(1).i32(6).i32(3).str("s").str("a").str("b").i32(0);
        cEdSwordType sword;
        ASSERT_EQ(LoadFileBytes(sword, swordFile.bytes()), 1);
        EXPECT_EQ(sword.m_ToolValue, c.expected);
    }
}

TEST(FileRecords, CharacterPicturesReadTheirCellSizeFrom172)
{
    FileBytes old;
    old.i32(171).i32(1).i32(5).i32(2).str("c").str("c.bmp");
    cEdBmpCharaExc before;
    ASSERT_EQ(LoadFileBytes(before, old.bytes()), 1);
    EXPECT_EQ(before.m_Large, 0);
    EXPECT_EQ(before.m_SizeFactor, 2);
    EXPECT_EQ(before.CellFactor(), 1);

    FileBytes current;
    current.i32(172).i32(3).i32(5).i32(1).i32(4).i32(2).str("c").str("c.bmp");
    cEdBmpCharaExc large;
    ASSERT_EQ(LoadFileBytes(large, current.bytes()), 1);
    EXPECT_EQ(large.m_Large, 1);
    EXPECT_EQ(large.CellFactor(), 4);
    EXPECT_EQ(SaveToBytes(large).size(), current.bytes().size());

    // A factor that does not divide the 16 cells of a row is taken as 1.
    for (int factor : {0, 3, -2, 32}) {
        large.m_SizeFactor = factor;
        EXPECT_EQ(large.CellFactor(), 1) << factor;
    }
}

TEST(FileRecords, SwordPartsReadEightSettingsBefore138)
{
    FileBytes file;
    file.i32(137).i32(0).i32(3).str("s").str("a").str("b").i32(1);
    file.i32(8);
    for (int v : {1, 2, 5, 6, 7, 8, 9, 10})
        file.i32(v);
    file.i32(0);
    cEdSwordType sword;
    ASSERT_EQ(LoadFileBytes(sword, file.bytes()), 1);
    ASSERT_EQ(sword.m_Parts.size(), 1u);
    const std::int32_t expected[10] = {1, 2, 1, 0, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(sword.m_Parts[0].m_Setting[i], expected[i]) << i;
}

TEST(FileRecords, SwordTypeDefaultsAndReadingNoParts)
{
    cEdSwordType sword;
    ASSERT_EQ(sword.m_Parts.size(), 1u);
    EXPECT_EQ(sword.m_Parts[0].m_Setting[2], 1);
    EXPECT_EQ(sword.m_Parts[0].m_Setting[9], 1);
    sword.m_Parts.resize(3);
    sword.SetDefaults();
    EXPECT_EQ(sword.m_Parts.size(), 1u);

    FileBytes file;
    file.i32(511).i32(1).i32(0).i32(3).str("").str("").str("").i32(0);
    cEdSwordType loaded;
    ASSERT_EQ(LoadFileBytes(loaded, file.bytes()), 1);
    EXPECT_TRUE(loaded.m_Parts.empty());
    EXPECT_EQ(SaveToBytes(loaded), file.bytes());
}

} // namespace
