// Blocks, characters and items summoned during play at the points of a
// summon command's fire pattern. A point (x, y) is the top-left of the
// summoned object's picture in map pixels.

#include "world/summons.h"

#include <algorithm>

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "world/block_collision.h"
#include "world/conditions.h"
#include "world/npc_obj.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

// The life of a summoned object in sub-steps, when the shot part gives one.
void SetSummonLife(cGameObj& obj, const cEdShot& shot)
{
    if (shot.m_MoveTimeOn)
        obj.m_Life = SaturateToInt32(std::int64_t{shot.m_MoveTime} * g_Stage.nSubSteps * 6);
}

// Moves an object's box so that its picture's top-left lies at (x, y),
// shifted by (dx, dy); its edges, cells and hit boxes follow.
void PlaceBox(cGameObj& obj, double x, double y, double dx, double dy)
{
    obj.m_X = x + obj.m_PicOffX + dx;
    obj.m_Y = y + obj.m_PicOffY + dy;
    obj.UpdateEdgeX(-1);
    obj.UpdateEdgeY(-1);
}

// A summon places a block where no character is, unless the shot part
// protects the characters: then a block that would cover one is taken back.
bool Protects(const cEdShot& shot)
{
    return shot.m_Option9 || shot.m_Option10;
}

// Places a block in a cell; false when it had to be taken back.
bool PlaceBlock(BlockCell& cell, int index, int column, int row, const cEdShot& shot,
                const cEdBlock& block)
{
    if (!Protects(shot)) {
        cell.Assign(block);
        cell.m_Latch = 0;
        CharasInCell(index, column, row, shot);
        return true;
    }
    const BlockCell saved = cell;
    cell.Assign(block);
    cell.m_Latch = 0;
    if (!CharasInCell(index, column, row, shot)) return true;
    cell = saved;
    return false;
}

void EmptyCell(BlockCell& cell)
{
    if (g_CommonPalette.PaletteBlocks.empty())
        cell.Reset();
    else
        cell.Assign(g_CommonPalette.PaletteBlocks.front());
    cell.m_Latch = 0;
}

// The cell rectangle (inclusive, 0.1 short of the next cell) meets the box.
bool InCell(const cGameObj& obj, int column, int row)
{
    const double left = column * 32.0;
    const double top = row * 32.0;
    return obj.OverlapsRect(left, top, left + 31.9, top + 31.9) != 0;
}

} // namespace

// The lists a summon joins are always the running stage's: an object
// enters through the stage, which registers its number and its group.
void SummonChara(std::list<cNpcObj>&, double x, double y, int group, int facing,
                 const cEdShot& shot, cEdChara& def, int& serial)
{
    cRunningStage& stage = RunStage();
    const int copies = static_cast<std::int8_t>(def.nCopies);
    for (int i = 0; i <= copies; ++i) {
        cEdChara copy = def;
        copy.nFacing = static_cast<std::uint8_t>(facing);
        copy.nGroup = static_cast<std::uint8_t>(group);
        if (shot.m_Option11) copy.nScoreGain = 0;
        cNpcObj temp;
        temp.SetupNpc(serial, copy, nullptr, x + 336, y + 336, i);
        const double dx = copy.CopyOffsetX(i, copy.nFacing);
        const double dy = copy.CopyOffsetY(i, copy.nFacing);
        PlaceBox(temp, x, y, dx, dy);
        if (!temp.IsInsideStage(1)) continue;
        cNpcObj& chara = stage.AddChara(temp);
        chara.UpdateScreenBox();
        if (IsPlaceBlocked(chara)) {
            stage.EraseChara(stage.CharaNode(chara));
            continue;
        }
        SetSummonLife(chara, shot);
        ++serial;
    }
}

void SummonItem(std::list<cItemObj>&, double x, double y, const cEdShot& shot, cEdItem& def,
                int& serial)
{
    cRunningStage& stage = RunStage();
    cItemObj temp;
    temp.SetupItem(serial, def, 0);
    PlaceBox(temp, x, y, def.nItemOption1, def.nItemOption2);
    if (!temp.IsInsideStage(1)) return;
    SetSummonLife(temp, shot);
    stage.AddItem(temp);
    ++serial;
}

void SummonBlock(double x, double y, const cEdShot& shot, const cEdBlock& def)
{
    cRunningStage& stage = RunStage();
    const int column = TruncToInt(x + 16.5) >> 5;
    const int row = TruncToInt(y + 16.5) >> 5;
    BlockCell& cell = stage.CellAt(column, row);
    const int index = stage.CellIndex(&cell);
    // A point outside the map summons nothing.
    if (index < 0 || cell.bNoSummon) return;
    switch (shot.m_BlockMode) {
    case 0:
        PlaceBlock(cell, index, column, row, shot, def);
        break;
    case 1:
        EmptyCell(cell);
        break;
    case 2: {
        std::vector<std::int32_t>& toggled = stage.m_ToggledCells;
        if (std::find(toggled.begin(), toggled.end(), index) != toggled.end()) return;
        bool kept = true;
        if (cell.nGraphicNo != 0 && (!cell.HasConds() || TestBlockConds(cell)))
            EmptyCell(cell);
        else
            kept = PlaceBlock(cell, index, column, row, shot, def);
        if (kept) toggled.push_back(index);
        break;
    }
    default:
        break;
    }
}

int CharasInCell(int cellIndex, int column, int row, const cEdShot& shot)
{
    cRunningStage& stage = RunStage();
    BlockCell& cell = VecAt(stage.m_BlockMap, cellIndex);
    for (cPlayerObj& player : stage.Player) {
        if (player.m_Dying || stage.HitMode(cell, player.m_Group) == 0) continue;
        if (!InCell(player, column, row)) continue;
        player.m_CrushGrace = 2;
        if (shot.m_Option9) return 1;
    }
    for (cNpcObj& chara : stage.m_CharaList) {
        if (!chara.m_Present || chara.m_Dying || stage.HitMode(cell, chara.m_Group) == 0) continue;
        if (!InCell(chara, column, row)) continue;
        chara.m_CrushGrace = 2;
        if (shot.m_Option10) return 1;
    }
    return 0;
}
