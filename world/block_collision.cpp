// The block map against a moving character: probes of its edges, the push
// back out of the cell it entered with its contacts and triggers, the
// crush re-tests, the screen clamps and the free-place test.

#include "world/block_collision.h"

#include <cstdlib>

#include "data/ed_stage.h"
#include "world/running_stage.h"
#include "world/solid_charas.h"
#include "world/trunc.h"

namespace {

// A character that flies through blocks meets none.
bool PassesBlocks(const cCharaObj& chara)
{
    return chara.m_Flying && chara.m_BlockMode == 0;
}

bool IsPlayer(const cCharaObj& chara)
{
    return chara.m_Operator == 0;
}

// "Flight mode 2": the character dies on touching a block.
bool DiesOnBlocks(const cCharaObj& chara)
{
    return chara.m_BlockMode == 2;
}

int Scale(const cCharaObj& chara)
{
    return static_cast<std::int8_t>(chara.m_Def.nSize);
}

// The worst of a row of probes along a horizontal line, the one nearest to
// the centre among equals, the leftmost among equal distances.
template <class XOf>
BlockCell& WorstOnRow(cRunningStage& stage, int group, int count, XOf xOf, int y, int centre)
{
    BlockCell* best = nullptr;
    int bestMode = -1;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const int x = xOf(i);
        BlockCell& cell = stage.CellAtPixel(x, y);
        const int mode = stage.HitMode(cell, group);
        const int distance = std::abs(x - centre);
        if (mode > bestMode || (mode == bestMode && distance < bestDistance)) {
            best = &cell;
            bestMode = mode;
            bestDistance = distance;
        }
    }
    return *best;
}

} // namespace

BlockCell& ProbeEdgeCells(cCharaObj& chara, int x1, int y1, int x2, int y2)
{
    cRunningStage& stage = RunStage();
    const int scale = Scale(chara);
    if (scale < 0 || (x1 != x2 && y1 != y2)) return stage.CellAt(0, 0);
    if (x1 == x2) {
        BlockCell* best = nullptr;
        int bestMode = -1;
        for (int k = 0; k <= scale; ++k) {
            BlockCell& cell = stage.CellAtPixel(x1, y1 + k * (chara.m_Height0 - 1));
            const int mode = stage.HitMode(cell, chara.m_Group);
            if (mode > bestMode) {
                best = &cell;
                bestMode = mode;
            }
        }
        return *best;
    }
    const int step = chara.m_Width0 - 1;
    return WorstOnRow(
        stage, chara.m_Group, scale + 1, [x1, step](int k) { return x1 + k * step; }, y1,
        (x1 + x2) >> 1);
}

BlockCell& ProbeFootCells(cCharaObj& chara)
{
    cRunningStage& stage = RunStage();
    const int scale = Scale(chara) >= 1 ? Scale(chara) : 1;
    const int n = scale % 2 != 0 ? scale + 2 : scale + 1;
    const int left = TruncToInt(chara.m_X);
    const int right = TruncToInt(chara.m_Right);
    const int step = chara.m_Width / (n - 1);
    return WorstOnRow(
        stage, chara.m_Group, n, [=](int i) { return i < n - 1 ? left + i * step : right; },
        TruncToInt(chara.m_Bottom), (left + right) >> 1);
}

BlockCell& ProbeCornerCells(int left, int top, int right, int bottom, int group)
{
    cRunningStage& stage = RunStage();
    const int corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    BlockCell* best = nullptr;
    int bestMode = -1;
    for (const auto& c : corners) {
        BlockCell& cell = stage.CellAt(c[0], c[1]);
        const int mode = stage.HitMode(cell, group);
        if (mode > bestMode) {
            best = &cell;
            bestMode = mode;
        }
    }
    return *best;
}

int CollideBlocksX(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const bool rightFirst = (chara.m_Flying && chara.m_BlockMode == 1) || chara.m_SpeedX > 0;
    if (rightFirst) {
        if (CollideBlockRight(chara) == 2) return 2;
        return CollideBlockLeft(chara);
    }
    if (CollideBlockLeft(chara) == 2) return 2;
    return CollideBlockRight(chara);
}

int CollideBlockLeft(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const int left = TruncToInt(chara.m_X);
    BlockCell& cell =
        ProbeEdgeCells(chara, left, TruncToInt(chara.m_Y), left, TruncToInt(chara.m_Bottom));
    const int mode = RunStage().HitMode(cell, chara.m_Group);
    if (mode != 1 && mode != 2) return 0;
    if (mode == 2 && IsPlayer(chara)) return 2;
    if (DiesOnBlocks(chara)) return 2;
    chara.m_ContactL = 1;
    // The left edge moves to the start of the next cell; on a cell
    // boundary that is a whole 32 pixels.
    chara.m_X += 32 - (left & 31);
    chara.m_InertiaX = 0;
    chara.OnMovedX();
    chara.m_WallSide = 0;
    chara.FireFlows(9);
    chara.FireFlows(10);
    chara.FireFlows(11);
    return 0;
}

int CollideBlockRight(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const int right = TruncToInt(chara.m_Right);
    BlockCell& cell =
        ProbeEdgeCells(chara, right, TruncToInt(chara.m_Y), right, TruncToInt(chara.m_Bottom));
    const int mode = RunStage().HitMode(cell, chara.m_Group);
    if (mode != 1 && mode != 2) return 0;
    if (mode == 2 && IsPlayer(chara)) return 2;
    if (DiesOnBlocks(chara)) return 2;
    chara.m_ContactR = 1;
    // The right edge moves to the last pixel of the cell before.
    chara.m_X -= (right & 31) + 1;
    chara.m_InertiaX = 0;
    chara.OnMovedX();
    chara.m_WallSide = 1;
    chara.FireFlows(9);
    chara.FireFlows(10);
    chara.FireFlows(12);
    return 0;
}

int CollideBlocksY(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    chara.m_UnderFeet = nullptr;
    const bool bottomFirst = (chara.m_Flying && chara.m_BlockMode == 1) || chara.m_SpeedY > 0;
    if (bottomFirst) {
        if (CollideBlockBottom(chara) == 2) return 2;
        return CollideBlockTop(chara);
    }
    if (CollideBlockTop(chara) == 2) return 2;
    return CollideBlockBottom(chara);
}

int CollideBlockTop(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const int top = TruncToInt(chara.m_Y);
    BlockCell& cell =
        ProbeEdgeCells(chara, TruncToInt(chara.m_X), top, TruncToInt(chara.m_Right), top);
    const int mode = RunStage().HitMode(cell, chara.m_Group);
    if (mode == 1) {
        if (DiesOnBlocks(chara)) return 2;
        chara.HitCeiling();
        return 0;
    }
    if (mode == 2) {
        if (IsPlayer(chara) || DiesOnBlocks(chara)) return 2;
        chara.HitCeiling();
    }
    return 0;
}

int CollideBlockBottom(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const int bottom = TruncToInt(chara.m_Bottom);
    BlockCell& cell =
        ProbeEdgeCells(chara, TruncToInt(chara.m_X), bottom, TruncToInt(chara.m_Right), bottom);
    chara.m_UnderFeet = &cell;
    const int mode = RunStage().HitMode(cell, chara.m_Group);
    if (mode == 1) {
        if (DiesOnBlocks(chara)) return 2;
        if (IsPlayer(chara)) chara.m_UnderFeet = &ProbeFootCells(chara);
        chara.m_LastBlock = chara.m_UnderFeet;
        chara.LandOnBlock();
        return 0;
    }
    if (mode == 2) {
        chara.m_LastBlock = &cell;
        if (IsPlayer(chara) || DiesOnBlocks(chara)) return 2;
        chara.LandOnBlock();
        return 0;
    }
    ++chara.m_AirSteps;
    chara.m_UnderFeet = nullptr;
    if (chara.m_AirSteps >= g_Stage.nAirSteps) {
        if (!IsPlayer(chara)) {
            chara.m_Airborne = 1;
        } else if (!chara.m_Riding) {
            if (chara.m_IsPlayer) static_cast<cPlayerObj&>(chara).m_JumpReady = 1;
            chara.m_Airborne = 1;
        }
    }
    return 0;
}

int CheckBlockCrushX(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    if (CollideBlockRight(chara) == 2) return 2;
    return CollideBlockLeft(chara) == 2 ? 2 : 0;
}

int CheckBlockCrushY(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const int bottom = TruncToInt(chara.m_Bottom);
    BlockCell& cell =
        ProbeEdgeCells(chara, TruncToInt(chara.m_X), bottom, TruncToInt(chara.m_Right), bottom);
    const int mode = RunStage().HitMode(cell, chara.m_Group);
    if (mode == 1 || mode == 2) {
        if (mode == 1 && DiesOnBlocks(chara)) return 2;
        BlockCell* feet = IsPlayer(chara) ? &ProbeFootCells(chara) : &cell;
        chara.m_UnderFeet = feet;
        chara.m_LastBlock = feet;
        if (mode == 2 && (IsPlayer(chara) || DiesOnBlocks(chara))) return 2;
        chara.LandOnBlock();
    }
    return CollideBlockTop(chara);
}

void ClampToScreenX(cCharaObj& chara)
{
    const cScrollAxis& axis = RunStage().m_ScrollX;
    if (!axis.m_Auto && !chara.m_Flying) return;
    chara.RefreshScreenBox();
    if (chara.m_ScrLeft + chara.m_PicOffX < 0) {
        chara.m_ContactL = 1;
        chara.m_X = axis.m_Pos;
        chara.OnMovedX();
    } else if (chara.m_ScrRight - chara.m_PicOffX + 1 >= 640) {
        chara.m_ContactR = 1;
        chara.m_X = axis.m_Pos + 640 - chara.m_Width - 1;
        chara.OnMovedX();
    }
}

int ClampToScreenY(cCharaObj& chara)
{
    const cScrollAxis& axis = RunStage().m_ScrollY;
    if (!axis.m_Auto && !chara.m_Flying) return 0;
    chara.RefreshScreenBox();
    if (chara.m_ScrTop + chara.m_PicOffY < 0) {
        chara.m_ContactU = 1;
        chara.m_Y = axis.m_Pos;
        chara.OnMovedY();
        return 0;
    }
    if (chara.m_ScrBottom - chara.m_PicOffY + 1 >= 480) {
        chara.m_ContactD = 1;
        chara.m_Y = axis.m_Pos + 480 - chara.m_Height - 1;
        chara.OnMovedY();
        // Fallen out of the bottom of the screen, unless it flies.
        return chara.m_Flying ? 0 : 2;
    }
    return 0;
}

int IsPlaceBlocked(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    cRunningStage& stage = RunStage();
    BlockCell& corner = ProbeCornerCells(chara.m_CellLeft, chara.m_CellTop, chara.m_CellRight,
                                         chara.m_CellBottom, chara.m_Group);
    if (stage.HitMode(corner, chara.m_Group) != 0) return 1;
    return OverlapsSolidChara(chara, stage.m_CharaList);
}
