// Animations and animation sets: bodies, defaults and the upgrades of older files.

#include <gtest/gtest.h>

#include "core/sjis_text.h"
#include "data/ed_anime.h"
#include "file_bytes.h"

namespace {

using test::FileBytes;

// An animation body of the given version with the given frames (picture, time, hold).
void putAnime(FileBytes& b, int version, const std::string& name,
              std::initializer_list<std::array<int, 3>> frames, int tool1 = 0, int tool2 = 1,
              int tool3 = 0)
{
    if (version >= 55) {
        b.i32(3).i16(static_cast<std::int16_t>(tool1)).u8(static_cast<std::uint8_t>(tool2));
        b.i16(static_cast<std::int16_t>(tool3));
    } else {
        b.i32(0);
    }
    b.i32(1).str(name);
    b.i32(static_cast<std::int32_t>(frames.size()));
    for (const auto& f : frames)
        b.i32(3).i32(f[0]).i32(f[1]).i32(f[2]).i32(0);
}

TEST(Animations, DefaultsAreOneFrameAndFourStateAnimations)
{
    cEdAnime anime;
    anime.m_Frames.clear();
    anime.m_ToolValue2 = 7;
    anime.Reset();
    ASSERT_EQ(anime.m_Frames.size(), 1u);
    EXPECT_EQ(anime.m_Frames[0].m_Time, 1);
    EXPECT_EQ(anime.m_ToolValue2, 1);

    cEdAnimeSet set;
    EXPECT_EQ(set.m_OffsetA, 4);
    EXPECT_EQ(set.m_OffsetB, 8);
    EXPECT_EQ(set.m_OffsetC, 0);
    ASSERT_EQ(set.m_Animes.size(), 4u);
    EXPECT_EQ(set.m_Animes[0].m_Name, Sjis("立ち"));
    EXPECT_EQ(set.m_Animes[1].m_Name, Sjis("立ち移動"));
    EXPECT_EQ(set.m_Animes[2].m_Name, Sjis("飛行"));
    EXPECT_EQ(set.m_Animes[3].m_Name, Sjis("飛行移動"));
}

TEST(Animations, SetWrittenAtTheCurrentVersionHasTheDocumentedLayout)
{
    cEdAnimeSet set;
    set.m_Name = "s";
    set.m_Animes.resize(1);
    set.m_Animes[0].m_Name = "a";
    set.m_Animes[0].m_ToolValue1 = -3;
    set.m_Animes[0].m_Frames = {cEdAnimeFrame{}, cEdAnimeFrame{}};
    set.m_Animes[0].m_Frames[1].m_PictureNo = 9;
    set.m_Animes[0].m_Frames[1].m_Time = 4;
    set.m_Animes[0].m_Frames[1].m_Hold = 1;

    FileBytes expected;
    expected.i32(511).i32(3).i32(4).i32(8).i32(0).i32(1).str("s").i32(1);
    putAnime(expected, 511, "a", {{0, 1, 0}, {9, 4, 1}}, -3, 1, 0);
    EXPECT_EQ(SaveToBytes(set), expected.bytes());

    cEdAnimeSet back;
    ASSERT_EQ(LoadFileBytes(back, expected.bytes()), 1);
    ASSERT_EQ(back.m_Animes.size(), 1u); // a current file is not padded to four
    EXPECT_EQ(back.m_Animes[0].m_Frames[1].m_PictureNo, 9);
    EXPECT_EQ(SaveToBytes(back), expected.bytes());
}

TEST(Animations, AnimationBefore55KeepsItsToolSettings)
{
    FileBytes file;
    file.i32(54);
    putAnime(file, 54, "old", {{2, 3, 0}});
    cEdAnime anime;
    ASSERT_EQ(LoadFileBytes(anime, file.bytes()), 1);
    EXPECT_EQ(anime.m_Name, "old");
    EXPECT_EQ(anime.m_ToolValue1, 0);
    EXPECT_EQ(anime.m_ToolValue2, 1);
    EXPECT_EQ(anime.m_ToolValue3, 0);
    ASSERT_EQ(anime.m_Frames.size(), 1u);
    EXPECT_EQ(anime.m_Frames[0].m_Time, 3);
}

TEST(Animations, AnimationWithNoFramesStaysEmpty)
{
    FileBytes file;
    file.i32(511);
    putAnime(file, 511, "none", {});
    cEdAnime anime;
    ASSERT_EQ(LoadFileBytes(anime, file.bytes()), 1);
    EXPECT_TRUE(anime.m_Frames.empty());
}

TEST(Animations, OldSetsGetExactlyFourAnimationsWithTheFlyingNames)
{
    struct Case {
        int version;
        int animations;
        std::size_t expected;
    };
    for (const Case& c :
         {Case{127, 6, 4}, Case{127, 2, 4}, Case{118, 3, 4}, Case{128, 6, 6}, Case{128, 2, 2}}) {
        SCOPED_TRACE(::testing::Message() << c.version << " with " << c.animations);
        FileBytes file;
        file.i32(c.version);
        if (c.version >= 119) {
            file.i32(3).i32(1).i32(2).i32(3);
        } else {
            file.i32(2).i32(1).i32(2);
        }
        file.i32(1).str("set").i32(c.animations);
        for (int i = 0; i < c.animations; ++i) {
            putAnime(file, c.version, "anime" + std::to_string(i), {{i, 1, 0}});
        }
        cEdAnimeSet set;
        set.m_OffsetC = 77;
        ASSERT_EQ(LoadFileBytes(set, file.bytes()), 1);
        ASSERT_EQ(set.m_Animes.size(), c.expected);
        EXPECT_EQ(set.m_OffsetC, c.version >= 119 ? 3 : 77);
        EXPECT_EQ(set.m_Animes[0].m_Name, "anime0");
        if (c.version < 128) {
            EXPECT_EQ(set.m_Animes[2].m_Name, Sjis("飛行"));
            EXPECT_EQ(set.m_Animes[3].m_Name, Sjis("飛行移動"));
        } else {
            EXPECT_EQ(set.m_Animes[1].m_Name, "anime1");
        }
        if (c.animations < 4 && c.version < 128) {
            // Appended animations are new ones: one default frame.
            EXPECT_EQ(set.m_Animes[3].m_Frames.size(), 1u);
        }
    }
}

} // namespace
