#pragma once
// A uniform grid over boxes, the broad phase of the hit checks: built from
// a set of boxes (some of which may be left out), it answers for a set of
// query boxes which of the entered boxes overlap each (inclusive on every
// side). A box that holds no point (a NaN edge, or an edge past its
// opposite one) neither enters nor asks. The cells are 64 pixels wide, or
// wider when the boxes are spread so thinly that the grid would hold many
// more cells than boxes. The storage is kept between builds, so that a grid
// rebuilt every sub-step allocates nothing once it has grown.

#include <cstdint>
#include <vector>

#include "world/geometry.h"

// A query box and an entered box that overlap, as indices into their sets.
struct GridPair {
    int query = 0;
    int entered = 0;
};

class cHitGrid {
public:
    // Enters box i when use is null or use[i] is non-zero.
    void Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use);
    // Appends the overlapping pairs of query box q (when use is null or
    // use[q] is non-zero) with the entered boxes, ascending by query, then
    // by entered box, each pair once.
    void Pairs(const std::vector<DRect>& queries, const std::vector<std::uint8_t>* use,
               std::vector<GridPair>& out);

private:
    // The cells a box covers (empty: c2 < c1).
    struct CellSpan {
        int c1 = 0;
        int r1 = 0;
        int c2 = -1;
        int r2 = -1;
    };
    // The cells of points and boxes.
    struct Mapping;
    Mapping Map() const;

    double m_X0 = 0; // the grid's corner and the cells per pixel
    double m_Y0 = 0;
    double m_PerPixel = 1;
    int m_Cols = 0;
    int m_Rows = 0;
    double m_LastCol = 0;
    double m_LastRow = 0;
    std::vector<int> m_CellStart; // per cell, its first item; one more at the end
    // The boxes cell by cell, each with its index (copies, so that a search
    // reads one run of memory).
    struct Item {
        DRect box;
        int index = 0;
    };
    std::vector<Item> m_Items;
    std::vector<int> m_Fill;       // where the next item of each cell goes (building)
    std::vector<int> m_Entered;    // the boxes entered (building)
    std::vector<CellSpan> m_Spans; // the cells of each (building)
    std::vector<std::uint32_t> m_Stamp;
    std::uint32_t m_Query = 0;
};
