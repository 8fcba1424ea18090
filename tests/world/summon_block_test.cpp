// Block summons: place, remove and toggle, the cells they may not touch,
// the take-back of a block that covers a protected character, and the
// crush grace of the characters it covers.

#include <gtest/gtest.h>

#include "world/contact_fixture.h"
#include "world/fire_patterns.h"
#include "world/flow_run.h"
#include "world/summons.h"

namespace {

using test::ContactStage;

class BlockSummons : public ContactStage {
protected:
    static cEdBlock Block(int graphic)
    {
        cEdBlock block;
        block.nGraphicNo = static_cast<std::int16_t>(graphic);
        block.nHitMode = 1;
        return block;
    }

    static cEdShot Part(int mode, int option9 = 0, int option10 = 0)
    {
        cEdShot shot = ShotDef();
        shot.m_BlockMode = static_cast<std::uint8_t>(mode);
        shot.m_Option9 = static_cast<std::uint8_t>(option9);
        shot.m_Option10 = static_cast<std::uint8_t>(option10);
        return shot;
    }

    // The summon point of cell (column, row): its top-left.
    void Summon(int column, int row, const cEdShot& shot, int graphic = 7)
    {
        SummonBlock(column * 32.0, row * 32.0, shot, Block(graphic));
    }

    int Graphic(int column, int row) { return stage.CellAt(column, row).nGraphicNo; }
};

TEST_F(BlockSummons, PlaceRemoveAndToggleOncePerCell)
{
    Summon(20, 20, Part(0));
    EXPECT_EQ(Graphic(20, 20), 7);
    Summon(20, 20, Part(1));
    EXPECT_EQ(Graphic(20, 20), 0);

    // A toggle places where empty, removes where a block stands, and never
    // touches a cell twice.
    Summon(21, 20, Part(2));
    EXPECT_EQ(Graphic(21, 20), 7);
    Summon(21, 20, Part(2));
    EXPECT_EQ(Graphic(21, 20), 7);
    Summon(22, 20, Part(0), 5);
    Summon(22, 20, Part(2));
    EXPECT_EQ(Graphic(22, 20), 0);
    EXPECT_EQ(stage.m_ToggledCells.size(), 2u);
}

TEST_F(BlockSummons, TheSummonPointPicksTheCellUnderItsCentre)
{
    SummonBlock(20 * 32 + 15.6, 20 * 32 - 16.5, Part(0), Block(7));
    EXPECT_EQ(Graphic(20, 20), 0);
    EXPECT_EQ(Graphic(21, 20), 7);
}

TEST_F(BlockSummons, CellsThatRefuseSummonsAndPointsOutsideTheMapStayAsTheyAre)
{
    BlockCell& cell = stage.CellAt(20, 20);
    cell.nGraphicNo = 3;
    cell.bNoSummon = 1;
    for (int mode : {0, 1, 2}) {
        Summon(20, 20, Part(mode));
        EXPECT_EQ(Graphic(20, 20), 3) << mode;
    }
    const std::vector<BlockCell> before = stage.m_BlockMap;
    SummonBlock(-500, 100, Part(0), Block(7));
    SummonBlock(100, 1e9, Part(2), Block(7));
    SummonBlock(1e12, 100, Part(1), Block(7));
    ASSERT_EQ(stage.m_BlockMap.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(stage.m_BlockMap[i].nGraphicNo, before[i].nGraphicNo);
    EXPECT_TRUE(stage.m_ToggledCells.empty());
}

TEST_F(BlockSummons, ABlockOnAProtectedCharacterIsTakenBack)
{
    PlaceHero(20 * 32 + 8, 20 * 32 + 8);
    cNpcObj& chara = AddChara(2, {22 * 32 + 8, 20 * 32 + 8});
    BlockCell& old = stage.CellAt(20, 20);
    old.m_Latch = 1;
    struct Case {
        const char* what;
        int column;
        int mode;
        int option9;
        int option10;
        int graphic;
    };
    const Case cases[] = {
        {"player unprotected: the block stays", 20, 0, 0, 0, 7},
        {"player protected", 20, 0, 1, 0, 0},
        {"player protected, toggle", 20, 2, 1, 0, 0},
        {"character protected", 22, 0, 0, 1, 0},
        {"character unprotected", 22, 0, 1, 0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stage.CellAt(c.column, 20).Reset();
        stage.CellAt(c.column, 20).m_Latch = 1;
        stage.m_ToggledCells.clear();
        Hero().m_CrushGrace = 0;
        chara.m_CrushGrace = 0;
        Summon(c.column, 20, Part(c.mode, c.option9, c.option10));
        EXPECT_EQ(Graphic(c.column, 20), c.graphic);
        const bool kept = c.graphic != 0;
        EXPECT_EQ(stage.CellAt(c.column, 20).m_Latch, kept ? 0 : 1);
        if (c.mode == 2) {
            EXPECT_EQ(stage.m_ToggledCells.empty(), !kept);
        }
        // Every covered character gets two sub-steps of grace.
        EXPECT_EQ((c.column == 20 ? Hero().m_CrushGrace : chara.m_CrushGrace), 2);
    }
}

TEST_F(BlockSummons, SummonsPlaceBlocksFromTheChosenPalette)
{
    cNpcObj& shooter = AddChara(1, {480, 480, 32, 32});
    g_CommonPalette.PaletteBlocks.push_back(Block(11));
    g_Stage.PaletteBlocks.push_back(Block(12));
    g_Stage.PaletteBlocks.push_back(Block(13));
    cCommandRun run;
    run.m_Kind = 13;
    cEdShot shot = Part(0);
    shot.m_Dir = 3;
    shot.m_Count = 1;
    struct Case {
        int palette;
        int index;
        int graphic;
    };
    // The point right of the shooter lies in cell (16, 15).
    for (const Case c : {Case{0, 1, 11}, Case{1, 1, 12}, Case{1, 2, 13}, Case{0, 2, 0},
                         Case{1, 3, 0}, Case{0, -1, 0}}) {
        stage.CellAt(16, 15).Reset();
        shot.m_SummonPalette = static_cast<std::uint8_t>(c.palette);
        shot.m_SummonIndex = static_cast<std::int16_t>(c.index);
        FireBlockSummon(shooter, run, shot);
        EXPECT_EQ(Graphic(16, 15), c.graphic) << c.palette << " " << c.index;
    }
}

} // namespace
