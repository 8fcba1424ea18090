// The characters and items the author placed, created at the stage set-up:
// copies and their offsets, copies off the map, numbering, carried items,
// and the characters that the flows before the stage starts remove or kill.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kTriggerBeforeStart = 18;
constexpr int kStatusSwitch = 23;

class Placement : public test::FlowFixture {
protected:
    std::vector<double> CharaXs()
    {
        std::vector<double> xs;
        for (const cNpcObj& chara : Play().m_CharaList)
            xs.push_back(chara.m_X);
        return xs;
    }
};

TEST_F(Placement, CopiesAreOffsetAndMirrored)
{
    struct Case {
        int facing, mirror;
        std::vector<double> offsets;
    };
    const Case cases[] = {{1, 1, {0, -32, -64}}, {0, 1, {0, 32, 64}}, {1, 0, {0, 32, 64}}};
    for (const Case& c : cases) {
        g_Stage.PlacedCharas.resize(1);
        cEdChara& def = AddChara(20, 5);
        def.nCopies = 2;
        def.nCopyStepX = 32;
        def.nCopyY = 3;
        def.nFacing = static_cast<std::uint8_t>(c.facing);
        def.bCopyMirrorX = static_cast<std::uint8_t>(c.mirror);
        m_Play = std::make_unique<cGamePlay>();
        Start();
        const std::vector<double> xs = CharaXs();
        ASSERT_EQ(xs.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(xs[i] - xs[0], c.offsets[i]) << c.facing << c.mirror;
            EXPECT_EQ(Chara(static_cast<int>(i)).m_CopyNo, static_cast<int>(i));
        }
        EXPECT_DOUBLE_EQ(Chara(0).m_Y, (5 + 10) * 32 + Chara(0).m_PicOffY0 + 3);
    }
}

TEST_F(Placement, CopiesOffTheMapAreNotMadeAndNumbersStayConsecutive)
{
    // Map columns run to 59; the copies from stage column 38 (map 48) to
    // the right: 12 of the 16 fit.
    cEdChara& row = AddChara(38, 5);
    row.nCopies = 15;
    row.nCopyStepX = 32;
    AddChara(10, 5);
    cEdChara& none = AddChara(12, 5);
    none.nCopies = 255; // read as -1: no character at all
    Start();
    ASSERT_EQ(Play().m_CharaList.size(), 13u);
    int expected = Player().m_ObjNo + 1;
    for (const cNpcObj& chara : Play().m_CharaList)
        EXPECT_EQ(chara.m_ObjNo, expected++);
    EXPECT_EQ(Play().m_CharaSerial, expected);
    // Every number the player lists as targeting it is a character there.
    std::set<int> numbers;
    for (int number : Player().m_TargetedBy) {
        numbers.insert(number);
        EXPECT_NE(Play().FindCharaByNumber(number), nullptr) << number;
    }
    EXPECT_EQ(numbers.size(), Player().m_TargetedBy.size());
    // The player's death cuts every link to it.
    Player().KillChara();
    for (const cNpcObj& chara : Play().m_CharaList)
        EXPECT_EQ(chara.m_TargetNo, -1);
}

TEST_F(Placement, CarriedItemsLeaveTheFreeItems)
{
    AddItem(3, 5).nGraphicNo = 11;
    AddItem(4, 5).nGraphicNo = 12;
    AddItem(6, 5).nGraphicNo = 13;
    cEdItem& off = AddItem(50, 5); // beyond the map: not made
    off.nItemOption1 = 400;
    AddChara(20, 5).nCarriedItem = 1;
    // A player-operated character (not the hero) names an item: it stays free.
    cEdChara& buddy = AddChara(22, 5);
    buddy.nOperator = 0;
    buddy.nCarriedItem = 0;
    g_Stage.PlacedItems[2].nItemOption1 = 5;
    g_Stage.PlacedItems[2].nItemOption2 = -4;
    Start();
    ASSERT_EQ(Play().m_CharaList.size(), 1u);
    const cItemObj* carried = Chara(0).GetCarriedItem();
    EXPECT_EQ(carried->m_GraphicNo, 12);
    EXPECT_EQ(carried->m_Carried, 1);
    EXPECT_EQ(carried->m_ObjNo, 0) << "numbered before the free items";
    std::vector<int> graphics;
    std::vector<int> numbers;
    for (const cItemObj& item : Play().m_ItemList) {
        graphics.push_back(item.m_GraphicNo);
        numbers.push_back(item.m_ObjNo);
    }
    EXPECT_EQ(graphics, (std::vector<int>{11, 13}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
    const cItemObj& moved = Play().m_ItemList.back();
    cItemObj plain;
    plain.SetupItem(0, g_Stage.PlacedItems[2], 0);
    plain.PlaceAtCell(6, 5);
    EXPECT_DOUBLE_EQ(moved.m_X, plain.m_X + 5);
    EXPECT_DOUBLE_EQ(moved.m_Y, plain.m_Y - 4);
}

TEST_F(Placement, ItemsSitOnTheirCellAtTheirScale)
{
    struct Case {
        int scale, boxH;
    };
    const Case cases[] = {{1, 28}, {3, 28}, {2, 20}};
    for (const Case& c : cases) {
        g_Stage.nItemBoxH = c.boxH;
        cItemObj item;
        cEdItem def;
        def.Clear();
        def.nSize = static_cast<std::uint8_t>(c.scale);
        Start();
        item.SetupItem(0, def, 0);
        item.PlaceAtCell(4, 6);
        // The picture's bottom stays on the cell's bottom for even box heights.
        const double pictureBottom = item.m_Y - item.m_PicOffY + item.m_PicHeight;
        EXPECT_DOUBLE_EQ(pictureBottom, (6 + 10 + 1) * 32.0) << c.scale;
        // Its horizontal centre stays on the cell's.
        EXPECT_DOUBLE_EQ(item.m_X + item.m_Width / 2.0, (4 + 10) * 32.0 + 16.5) << c.scale;
        // A carried item keeps scale 1 and is present at once.
        cItemObj carried;
        carried.SetupItem(0, def, 1);
        EXPECT_EQ(carried.m_Width, g_Stage.nItemBoxW);
        EXPECT_EQ(carried.m_Present, 1);
    }
}

TEST_F(Placement, AnItemShowsItsTwoFramesEightDrawnFramesEachInALoop)
{
    Start();
    cEdItem def;
    def.Clear();
    cItemObj item;
    item.SetupItem(0, def, 0);
    std::vector<int> frames;
    for (int i = 0; i < 34; ++i)
        frames.push_back(item.m_Anime.Step());
    std::vector<int> expected;
    for (int i = 1; i <= 34; ++i)
        expected.push_back((i / 8) % 2);
    EXPECT_EQ(frames, expected);
}

TEST_F(Placement, FlowsBeforeTheStageStartsRemoveOrKill)
{
    cEdChara& vanishing = AddChara(20, 5);
    vanishing.Flows = {Flow(kTriggerBeforeStart, {Command(kStatusSwitch, 0, {0, 0, 1}, 1)})};
    AddChara(22, 5);
    cEdChara& dead = AddChara(24, 5);
    dead.nMaxHP = 0;
    dead.nScoreGain = 50;
    AddChara(26, 5);
    Start();
    ASSERT_EQ(Play().m_CharaList.size(), 2u);
    EXPECT_EQ(g_Progress.nStageScore, 50) << "the death was handled";
    // Nothing refers to the removed characters any more.
    std::size_t grouped = 0;
    for (const auto& group : Play().m_CharaGroups)
        grouped += group.size();
    EXPECT_EQ(grouped, 3u);
    for (int number : Player().m_TargetedBy)
        EXPECT_NE(Play().FindCharaByNumber(number), nullptr);
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_EQ(Play().m_Phase, PHASE_PLAY);
}

} // namespace
