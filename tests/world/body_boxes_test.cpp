// The body boxes that the player and the computer characters share: the
// body's place in the picture and the contact box of each box kind.

#include <gtest/gtest.h>

#include "world/body_boxes.h"
#include "world/npc_obj.h"

namespace {

TEST(BodyBoxes, ABodyIsCentredAcrossAndStandsOnTheFootOrIsCentred)
{
    EXPECT_EQ(BodyOffsetX({16, 24, 1}), 8);
    EXPECT_EQ(BodyOffsetY({16, 24, 1}), 8);
    EXPECT_EQ(BodyOffsetX({20, 21, 0}), 6);
    EXPECT_EQ(BodyOffsetY({20, 21, 0}), 5);
    EXPECT_EQ(BodyOffsetY({32, 32, 0}), 0);
}

TEST(BodyBoxes, TheContactBoxOfEachKind)
{
    const ContactSizes sizes{{30, 20, 0}, {16, 12, 0}, {12, 24, 1}, {10, 16, 0}};
    struct Case {
        int kind;
        int flying;
        int offX, offY, width, height;
    };
    // The picture offset is (8, 8): a centred box sits at 8 - half its size.
    const Case cases[] = {
        {1, 0, -7, -2, 30, 20}, {2, 1, 0, 2, 16, 12}, {3, 0, -8, -8, 32, 32},
        {0, 0, 2, 0, 12, 24},   {0, 1, 3, 0, 10, 16}, {4, 0, 2, 0, 12, 24},
    };
    for (const Case& c : cases) {
        cNpcObj chara;
        chara.m_PicOffX = 8;
        chara.m_PicOffY = 8;
        chara.m_Flying = c.flying;
        SetContactBox(chara, c.kind, sizes);
        EXPECT_EQ(chara.m_HitA.m_OffX, c.offX) << c.kind << " " << c.flying;
        EXPECT_EQ(chara.m_HitA.m_OffY, c.offY) << c.kind << " " << c.flying;
        EXPECT_EQ(chara.m_HitA.m_Width, c.width) << c.kind << " " << c.flying;
        EXPECT_EQ(chara.m_HitA.m_Height, c.height) << c.kind << " " << c.flying;
    }
}

} // namespace
