#pragma once
// A uniform grid over boxes, the broad phase of the hit checks: built from
// a set of boxes (some of which may be left out), it answers which of them
// overlap a given box (inclusive on every side), as ascending indices into
// the set. The cells are 64 pixels wide, or wider when the boxes are
// spread so thinly that the grid would hold many more cells than boxes.
// The storage is kept between builds, so that a grid rebuilt every
// sub-step allocates nothing once it has grown.

#include <cstdint>
#include <vector>

#include "world/geometry.h"

class cHitGrid {
public:
    // Enters box i (a copy of it) when use is null or use[i] is non-zero.
    void Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use);
    // Appends to out the indices of the entered boxes that overlap the box,
    // ascending, each once.
    void Query(const DRect& box, std::vector<int>& out);

private:
    // The cells a box covers, clipped to the grid (empty: c2 < c1).
    struct CellSpan {
        int c1 = 0;
        int r1 = 0;
        int c2 = -1;
        int r2 = -1;
    };
    // A box's corners as whole numbers (see the mapping in the source).
    struct BoxCoords {
        std::int64_t c[4] = {};
    };
    // The cells a box of whole numbers covers; false when none.
    bool CellRange(const std::int64_t (&c)[4], CellSpan& span) const;

    int m_Shift = 6;
    std::int64_t m_X0 = 0; // the first column and row, in cells
    std::int64_t m_Y0 = 0;
    int m_Cols = 0;
    int m_Rows = 0;
    std::vector<int> m_CellStart; // per cell, its first item; one more at the end
    // The boxes cell by cell, each with its index (copies, so that a search
    // reads one run of memory).
    struct Item {
        DRect box;
        int index = 0;
    };
    std::vector<Item> m_Items;
    std::vector<int> m_Fill;       // where the next item of each cell goes (building)
    std::vector<CellSpan> m_Spans; // the cells of each box (building)
    std::vector<BoxCoords> m_Coords;
    std::vector<std::uint8_t> m_Entered;
    std::vector<std::uint32_t> m_Stamp;
    std::uint32_t m_Query = 0;
};
