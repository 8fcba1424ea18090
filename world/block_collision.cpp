// The block map against a moving character: probes of its edges, the push
// back out of the cell it entered with its contacts and triggers, the
// crush re-tests, the screen clamps and the free-place test.

#include "world/block_collision.h"

#include <algorithm>
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

// A probe's answer: the worst cell met and what it does to the prober; a
// mode of -1 when the cell was taken without asking it.
struct Probe {
    BlockCell* cell;
    int mode;
};

// The block map with CellAt's bounds read once for a run of probes (a
// condition test reads the map, never reshapes it).
class MapReader {
public:
    explicit MapReader(cRunningStage& stage)
        : m_Stage(stage), m_Cells(stage.m_BlockMap.data()), m_Size(stage.m_BlockMap.size()),
          m_Columns(static_cast<unsigned>(
              std::max(std::min(stage.m_ScrollX.m_MapSize, stage.m_ScrollX.m_Pitch), 0))),
          m_Rows(static_cast<unsigned>(std::max(stage.m_ScrollY.m_MapSize, 0))),
          m_Shift(static_cast<unsigned>(stage.m_ScrollX.m_Shift))
    {
    }
    cRunningStage& Stage() const { return m_Stage; }
    // A negative index turns into one past every bound.
    bool HasColumn(int column) const { return static_cast<unsigned>(column) < m_Columns; }
    bool HasRow(int row) const { return static_cast<unsigned>(row) < m_Rows; }
    // Every probe (x + k x dx, y + k x dy for k = 0 to last) meets an empty
    // cell of the map. An empty cell does nothing to anyone and its
    // conditions are never asked, so such probes meet nothing.
    bool AllEmpty(int x, int y, int dx, int dy, int last) const
    {
        for (int k = 0; k <= last; ++k) {
            const int column = (x + k * dx) >> 5;
            const int row = (y + k * dy) >> 5;
            if (!EmptyCell(column, row)) return false;
        }
        return true;
    }
    // AllEmpty of two columns of probes along the same rows (y + k x step).
    // Here and below, a cell met twice is asked once: a small box often
    // lies within one column or one row.
    bool ColumnsEmpty(int left, int right, int y, int step, int last) const
    {
        if (!HasColumn(left) || !HasColumn(right)) return false;
        for (int k = 0; k <= last; ++k) {
            const int row = (y + k * step) >> 5;
            if (!HasRow(row)) return false;
            const std::size_t start = static_cast<std::size_t>(row) << m_Shift;
            if (!EmptyAt(static_cast<std::size_t>(left) + start) ||
                (right != left && !EmptyAt(static_cast<std::size_t>(right) + start)))
                return false;
        }
        return true;
    }
    // AllEmpty of two rows of probes along the same columns (x + k x step).
    bool RowsEmpty(int top, int bottom, int x, int step, int last) const
    {
        if (!HasRow(top) || !HasRow(bottom)) return false;
        const std::size_t topStart = static_cast<std::size_t>(top) << m_Shift;
        const std::size_t bottomStart = static_cast<std::size_t>(bottom) << m_Shift;
        for (int k = 0; k <= last; ++k) {
            const int column = (x + k * step) >> 5;
            if (!HasColumn(column)) return false;
            if (!EmptyAt(static_cast<std::size_t>(column) + topStart) ||
                (bottom != top && !EmptyAt(static_cast<std::size_t>(column) + bottomStart)))
                return false;
        }
        return true;
    }
    // The four corner cells of a rectangle of cells lie in the map and are
    // empty.
    bool CornersEmpty(int left, int top, int right, int bottom) const
    {
        if (!HasColumn(left) || !HasColumn(right) || !HasRow(top) || !HasRow(bottom)) return false;
        const std::size_t topStart = static_cast<std::size_t>(top) << m_Shift;
        const std::size_t bottomStart = static_cast<std::size_t>(bottom) << m_Shift;
        return EmptyAt(static_cast<std::size_t>(left) + topStart) &&
               (bottom == top || EmptyAt(static_cast<std::size_t>(left) + bottomStart)) &&
               (right == left ||
                (EmptyAt(static_cast<std::size_t>(right) + topStart) &&
                 (bottom == top || EmptyAt(static_cast<std::size_t>(right) + bottomStart))));
    }
    // The cell of a column and a row lies in the map and is empty.
    bool EmptyCell(int column, int row) const
    {
        return HasColumn(column) && HasRow(row) &&
               EmptyAt(static_cast<std::size_t>(column) +
                       (static_cast<std::size_t>(row) << m_Shift));
    }
    // The cell of an index lies in the map and is empty.
    bool EmptyAt(std::size_t index) const
    {
        return index < m_Size && m_Cells[index].nGraphicNo == 0;
    }
    // CellAt of a column and a row that both lie within their bounds.
    BlockCell& Inside(int column, int row) const
    {
        const std::size_t index =
            static_cast<std::size_t>(column) + (static_cast<std::size_t>(row) << m_Shift);
        // Past the end of a map shorter than its sizes: the outside cell.
        return index < m_Size ? m_Cells[index] : m_Stage.CellAt(column, row);
    }

private:
    cRunningStage& m_Stage;
    BlockCell* m_Cells;
    std::size_t m_Size;
    unsigned m_Columns;
    unsigned m_Rows;
    unsigned m_Shift;
};

// The worst of a column of probes (y + k x step for k = 0 to scale), the
// topmost among equals.
Probe WorstInColumn(const MapReader& map, int group, int x, int y, int step, int scale)
{
    cRunningStage& stage = map.Stage();
    const int column = x >> 5;
    // Beside the map every probe meets the outside cell.
    if (!map.HasColumn(column)) return {&stage.CellAt(column, y >> 5), 0};
    Probe best{nullptr, -1};
    const BlockCell* last = nullptr;
    int lastRow = 0;
    for (int k = 0; k <= scale; ++k) {
        const int row = (y + k * step) >> 5;
        // The cell just probed again: without conditions its answer stands
        // and cannot beat itself.
        if (last && row == lastRow && !last->HasConds()) continue;
        BlockCell& cell = map.HasRow(row) ? map.Inside(column, row) : stage.CellAt(column, row);
        const int mode = stage.HitMode(cell, group);
        if (mode > best.mode) best = {&cell, mode};
        last = &cell;
        lastRow = row;
    }
    return best;
}

// The worst of a row of probes along a horizontal line, the one nearest to
// the centre among equals, the leftmost among equal distances. Inline: a
// walker's landing probes its bottom row every other sub-step.
template <class XOf>
[[gnu::always_inline]] inline Probe WorstOnRow(const MapReader& map, int group, int count, XOf xOf,
                                               int y, int centre)
{
    cRunningStage& stage = map.Stage();
    const int row = y >> 5;
    // Above or below the map every probe meets the outside cell.
    if (!map.HasRow(row)) return {&stage.CellAt(xOf(0) >> 5, row), 0};
    Probe best{nullptr, -1};
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const int x = xOf(i);
        const int column = x >> 5;
        BlockCell& cell =
            map.HasColumn(column) ? map.Inside(column, row) : stage.CellAt(column, row);
        const int mode = stage.HitMode(cell, group);
        const int distance = std::abs(x - centre);
        if (mode > best.mode || (mode == best.mode && distance < bestDistance)) {
            best = {&cell, mode};
            bestDistance = distance;
        }
    }
    return best;
}

// The probes of one character's edges against one reading of the map. A
// push fires flows, which may change anything, the map included: the
// edges after a push are probed with a new reading.
class EdgeProbes {
public:
    explicit EdgeProbes(cCharaObj& chara) : m_Map(RunStage()), m_Chara(chara) {}

    // A horizontal (y1 = y2) or vertical (x1 = x2) edge; any other line,
    // or a character of negative size, meets cell (0, 0) unasked.
    Probe Edge(int x1, int y1, int x2, int y2) const
    {
        const int scale = Scale(m_Chara);
        if (scale < 0 || (x1 != x2 && y1 != y2)) return {&m_Map.Stage().CellAt(0, 0), -1};
        if (x1 == x2)
            return WorstInColumn(m_Map, m_Chara.m_Group, x1, y1, m_Chara.m_Height0 - 1, scale);
        const int step = m_Chara.m_Width0 - 1;
        return WorstOnRow(
            m_Map, m_Chara.m_Group, scale + 1, [x1, step](int k) { return x1 + k * step; }, y1,
            (x1 + x2) >> 1);
    }
    // The probes of Edge all meet empty cells of the map: the edge meets
    // nothing, whichever of them Edge would pick.
    bool Clear(int x1, int y1, int x2, int y2) const
    {
        const int scale = Scale(m_Chara);
        if (scale < 0 || (x1 != x2 && y1 != y2)) return false;
        if (x1 == x2) return m_Map.AllEmpty(x1, y1, 0, m_Chara.m_Height0 - 1, scale);
        return m_Map.AllEmpty(x1, y1, m_Chara.m_Width0 - 1, 0, scale);
    }
    bool SideClear(int x) const
    {
        return Clear(x, TruncToInt(m_Chara.m_Y), x, TruncToInt(m_Chara.m_Bottom));
    }
    // Inline, as Row: a walker's landing asks both every other sub-step.
    [[gnu::always_inline]] bool RowClear(int y) const
    {
        return Clear(TruncToInt(m_Chara.m_X), y, TruncToInt(m_Chara.m_Right), y);
    }
    // SideClear of both sides.
    bool SidesClear() const
    {
        const int scale = Scale(m_Chara);
        return scale >= 0 &&
               m_Map.ColumnsEmpty(TruncToInt(m_Chara.m_X) >> 5, TruncToInt(m_Chara.m_Right) >> 5,
                                  TruncToInt(m_Chara.m_Y), m_Chara.m_Height0 - 1, scale);
    }
    // RowClear of the top and the bottom edge.
    bool TopAndBottomClear() const
    {
        const int scale = Scale(m_Chara);
        const int left = TruncToInt(m_Chara.m_X);
        // A box less than a pixel wide probes downward from each edge.
        if (scale < 0 || left == TruncToInt(m_Chara.m_Right)) return false;
        return m_Map.RowsEmpty(TruncToInt(m_Chara.m_Y) >> 5, TruncToInt(m_Chara.m_Bottom) >> 5,
                               left, m_Chara.m_Width0 - 1, scale);
    }
    // SidesClear and TopAndBottomClear at once. Their probes share the four
    // corner cells of the box (for a character of size 1 they are all
    // there): each cell is asked once.
    bool EdgesClear() const
    {
        const int scale = Scale(m_Chara);
        const int left = TruncToInt(m_Chara.m_X);
        const int right = TruncToInt(m_Chara.m_Right);
        const int y = TruncToInt(m_Chara.m_Y);
        if (scale < 0 || left == right) return false;
        const int leftColumn = left >> 5, rightColumn = right >> 5;
        const int topRow = y >> 5, bottomRow = TruncToInt(m_Chara.m_Bottom) >> 5;
        if (!m_Map.CornersEmpty(leftColumn, topRow, rightColumn, bottomRow)) return false;
        // The sides' probes below their first (the first row is the top).
        const int down = m_Chara.m_Height0 - 1;
        for (int k = 1; k <= scale; ++k) {
            const int row = (y + k * down) >> 5;
            if (row != topRow && row != bottomRow &&
                !m_Map.CornersEmpty(leftColumn, row, rightColumn, row))
                return false;
        }
        // The top and bottom edges' probes after their first (the first
        // column is the left one).
        const int across = m_Chara.m_Width0 - 1;
        for (int k = 1; k <= scale; ++k) {
            const int column = (left + k * across) >> 5;
            if (column != leftColumn && column != rightColumn &&
                !m_Map.CornersEmpty(column, topRow, column, bottomRow))
                return false;
        }
        return true;
    }
    // A side at column of pixels x, from the top edge down.
    Probe Side(int x) const
    {
        return Edge(x, TruncToInt(m_Chara.m_Y), x, TruncToInt(m_Chara.m_Bottom));
    }
    // The top or bottom edge at row of pixels y.
    [[gnu::always_inline]] Probe Row(int y) const
    {
        return Edge(TruncToInt(m_Chara.m_X), y, TruncToInt(m_Chara.m_Right), y);
    }
    // The player's finer probe of the row under its bottom edge.
    Probe Foot() const
    {
        const int scale = Scale(m_Chara) >= 1 ? Scale(m_Chara) : 1;
        const int n = scale % 2 != 0 ? scale + 2 : scale + 1;
        const int left = TruncToInt(m_Chara.m_X);
        const int right = TruncToInt(m_Chara.m_Right);
        const int step = m_Chara.m_Width / (n - 1);
        return WorstOnRow(
            m_Map, m_Chara.m_Group, n, [=](int i) { return i < n - 1 ? left + i * step : right; },
            TruncToInt(m_Chara.m_Bottom), (left + right) >> 1);
    }
    // What the probed cell does, asked once more as a collision always asks
    // it: a cell with conditions tests them again, a cell without keeps the
    // probe's answer.
    int ModeOf(const Probe& probe) const
    {
        if (probe.mode >= 0 && !probe.cell->HasConds()) return probe.mode;
        return m_Map.Stage().HitMode(*probe.cell, m_Chara.m_Group);
    }

private:
    MapReader m_Map;
    cCharaObj& m_Chara;
};

// A bottom edge over nothing: one more step in the air.
void InTheAir(cCharaObj& chara)
{
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
}

// Two sides or edges one after the other; 2 as soon as one kills. Each
// reads the map afresh: the first may have fired flows, which may change
// anything, the map and the character's flying mode included.
template <int (*First)(cCharaObj&), int (*Second)(cCharaObj&)> int OneThenOther(cCharaObj& chara)
{
    if (First(chara) == 2) return 2;
    return Second(chara);
}

} // namespace

int CollideBlockLeft(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const EdgeProbes probes(chara);
    const int left = TruncToInt(chara.m_X);
    if (probes.SideClear(left)) return 0;
    const int mode = probes.ModeOf(probes.Side(left));
    if (mode != 1 && mode != 2) return 0;
    if ((mode == 2 && IsPlayer(chara)) || DiesOnBlocks(chara)) return 2;
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
    const EdgeProbes probes(chara);
    const int right = TruncToInt(chara.m_Right);
    if (probes.SideClear(right)) return 0;
    const int mode = probes.ModeOf(probes.Side(right));
    if (mode != 1 && mode != 2) return 0;
    if ((mode == 2 && IsPlayer(chara)) || DiesOnBlocks(chara)) return 2;
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

int CollideBlockTop(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const EdgeProbes probes(chara);
    const int top = TruncToInt(chara.m_Y);
    if (probes.RowClear(top)) return 0;
    const int mode = probes.ModeOf(probes.Row(top));
    if (mode != 1 && mode != 2) return 0;
    if ((mode == 2 && IsPlayer(chara)) || DiesOnBlocks(chara)) return 2;
    chara.HitCeiling();
    return 0;
}

// The bottom edge is probed in full: a walker's bottom edge mostly rests on
// a block (and the Y pass has tested both edges before).
int CollideBlockBottom(cCharaObj& chara)
{
    if (PassesBlocks(chara)) return 0;
    const EdgeProbes probes(chara);
    const Probe probe = probes.Row(TruncToInt(chara.m_Bottom));
    BlockCell& cell = *probe.cell;
    chara.m_UnderFeet = &cell;
    const int mode = probes.ModeOf(probe);
    if (mode == 1) {
        if (DiesOnBlocks(chara)) return 2;
        if (IsPlayer(chara)) chara.m_UnderFeet = probes.Foot().cell;
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
    InTheAir(chara);
    return 0;
}

BlockCell& ProbeEdgeCells(cCharaObj& chara, int x1, int y1, int x2, int y2)
{
    return *EdgeProbes(chara).Edge(x1, y1, x2, y2).cell;
}

BlockCell& ProbeFootCells(cCharaObj& chara)
{
    return *EdgeProbes(chara).Foot().cell;
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

namespace {

// The bodies of the passes, apart from the tests that let most characters
// out at once (one flying through blocks, edges over empty cells): out of
// line, so that those stay cheap. A walker's bottom edge mostly rests on a
// block, so the Y pass tests its edges inside its body.

[[gnu::noinline]] int BlocksX(cCharaObj& chara)
{
    const bool rightFirst = (chara.m_Flying && chara.m_BlockMode == 1) || chara.m_SpeedX > 0;
    if (rightFirst) return OneThenOther<CollideBlockRight, CollideBlockLeft>(chara);
    return OneThenOther<CollideBlockLeft, CollideBlockRight>(chara);
}

[[gnu::noinline]] int BlocksY(cCharaObj& chara)
{
    chara.m_UnderFeet = nullptr;
    const bool bottomFirst = (chara.m_Flying && chara.m_BlockMode == 1) || chara.m_SpeedY > 0;
    // Neither edge meets a block, in either order.
    if (EdgeProbes(chara).TopAndBottomClear()) {
        InTheAir(chara);
        return 0;
    }
    if (bottomFirst) return OneThenOther<CollideBlockBottom, CollideBlockTop>(chara);
    return OneThenOther<CollideBlockTop, CollideBlockBottom>(chara);
}

// CollideBlocksX and CheckBlockCrushes past the test for a character that
// flies through blocks: out of line, so that such a one leaves at once.
[[gnu::noinline]] int SidesThenBlocksX(cCharaObj& chara)
{
    if (EdgeProbes(chara).SidesClear()) return 0;
    return BlocksX(chara);
}

[[gnu::noinline]] void Crushes(cCharaObj& chara)
{
    // Both re-tests meet only empty cells: neither does anything.
    if (EdgeProbes(chara).EdgesClear()) return;
    CheckBlockCrushX(chara);
    CheckBlockCrushY(chara);
}

[[gnu::noinline]] int CrushX(cCharaObj& chara)
{
    return OneThenOther<CollideBlockRight, CollideBlockLeft>(chara);
}

// The bottom edge as a landing without the air count, then the top edge
// whatever the bottom did.
[[gnu::noinline]] int CrushY(cCharaObj& chara)
{
    const EdgeProbes probes(chara);
    const int bottom = TruncToInt(chara.m_Bottom);
    if (!probes.RowClear(bottom)) {
        const Probe probe = probes.Row(bottom);
        BlockCell& cell = *probe.cell;
        const int mode = probes.ModeOf(probe);
        if (mode == 1 || mode == 2) {
            if (mode == 1 && DiesOnBlocks(chara)) return 2;
            BlockCell* feet = IsPlayer(chara) ? probes.Foot().cell : &cell;
            chara.m_UnderFeet = feet;
            chara.m_LastBlock = feet;
            if (mode == 2 && (IsPlayer(chara) || DiesOnBlocks(chara))) return 2;
            chara.LandOnBlock();
        }
    }
    return CollideBlockTop(chara);
}

} // namespace

int CollideBlocksX(cCharaObj& chara)
{
    return PassesBlocks(chara) ? 0 : SidesThenBlocksX(chara);
}

int CollideBlocksY(cCharaObj& chara)
{
    return PassesBlocks(chara) ? 0 : BlocksY(chara);
}

int CheckBlockCrushX(cCharaObj& chara)
{
    if (PassesBlocks(chara) || EdgeProbes(chara).SidesClear()) return 0;
    return CrushX(chara);
}

int CheckBlockCrushY(cCharaObj& chara)
{
    if (PassesBlocks(chara) || EdgeProbes(chara).TopAndBottomClear()) return 0;
    return CrushY(chara);
}

void CheckBlockCrushes(cCharaObj& chara)
{
    if (!PassesBlocks(chara)) Crushes(chara);
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

int CellBoxEmpty(const cGameObj& obj)
{
    return MapReader(RunStage())
                   .CornersEmpty(obj.m_CellLeft, obj.m_CellTop, obj.m_CellRight, obj.m_CellBottom)
               ? 1
               : 0;
}
