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
    // Enters box i when use is null or use[i] is non-zero. The boxes must
    // stay unchanged until the next Build.
    void Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use);
    // Appends to out the indices of the entered boxes that overlap the box,
    // ascending, each once.
    void Query(const DRect& box, std::vector<int>& out);

private:
    // The cell range a box covers, clipped to the grid; false when none.
    bool CellRange(const DRect& box, int& c1, int& r1, int& c2, int& r2) const;

    const std::vector<DRect>* m_Boxes = nullptr;
    int m_Shift = 6;
    std::int64_t m_X0 = 0; // the first column and row, in cells
    std::int64_t m_Y0 = 0;
    int m_Cols = 0;
    int m_Rows = 0;
    std::vector<int> m_CellStart; // per cell, its first item; one more at the end
    std::vector<int> m_Items;     // box indices, cell by cell
    std::vector<int> m_Fill;      // where the next item of each cell goes (building)
    std::vector<std::uint32_t> m_Stamp;
    std::uint32_t m_Query = 0;
};
