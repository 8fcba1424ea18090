#pragma once
// A uniform grid over boxes, the broad phase of the hit checks. It files a
// set of boxes, or two (layers; in each some boxes may be left out), each
// box in a group, and tells a set of query objects, each in a group too,
// which filed boxes of other groups overlap theirs (inclusive on every
// side). A query object asks each layer with a box of its own and visits
// the cells of its boxes once for all layers, so that one walk over the
// queries serves two searches. A filed box that holds no point (a NaN
// edge, or an edge past its opposite one) does not enter; a query box holds
// a point or is kEmptyBox, and then asks nothing. The cells are 64
// pixels wide, or wider when the boxes are spread so thinly that the grid
// would hold many more cells than boxes. The storage is kept between
// builds, so that a grid rebuilt every sub-step allocates nothing once it
// has grown.

#include <cstdint>
#include <span>
#include <vector>

#include "world/geometry.h"

// A query box and a filed box that overlap, as indices into their sets.
struct GridPair {
    int query = 0;
    int entered = 0;
};

// A set of boxes to file, each in a group: box i when use is null or
// use[i] is non-zero.
struct GridLayer {
    const std::vector<DRect>* boxes = nullptr;
    const std::vector<int>* groups = nullptr;
    const std::vector<std::uint8_t>* use = nullptr;
};

// The search of a layer: the box each query object asks it with, and where
// the pairs go.
struct GridAsk {
    const std::vector<DRect>* boxes = nullptr;
    std::vector<GridPair>* found = nullptr;
};

class cHitGrid {
public:
    static constexpr int kMaxLayers = 2;

    // Files the boxes of the layers (at most kMaxLayers).
    void Build(std::span<const GridLayer> layers);
    // Asks layer k with asks[k] (one for each layer filed, all as long as
    // `groups`, the queries' groups): appends to its found the pairs of
    // query q with the boxes of layer k in other groups that asks[k].boxes[q]
    // overlaps, ascending by query, then by box, each pair once.
    void Pairs(const std::vector<int>& groups, std::span<const GridAsk> asks);

private:
    // The cells of points.
    struct Mapping;
    Mapping Map() const;

    double m_X0 = 0; // the grid's corner and the cells per pixel
    double m_Y0 = 0;
    double m_PerPixel = 1;
    int m_Cols = 0;
    int m_Rows = 0;
    double m_LastCol = 0;
    double m_LastRow = 0;
    int m_Filed[kMaxLayers] = {}; // boxes filed, per layer
    std::vector<int> m_Entering;  // the indices of the boxes filed, layer by layer
    std::vector<int> m_Head;      // per cell, its first item (none: -1)
    // The boxes in the cells, each with its index, layer, group, first cell
    // and the next item of the same cell (copies, so that a search reads the
    // boxes with the links).
    struct Item {
        DRect box;
        int index = 0;
        int layer = 0;
        int group = 0;
        int c1 = 0;
        int r1 = 0;
        int next = -1;
    };
    std::vector<Item> m_Items;
    // A query that may find boxes: its index, the chain of its first cell,
    // the columns and rows of its cells, and whether they are one.
    struct Asking {
        int query = 0;
        int chain = -1;
        int c1 = 0;
        int r1 = 0;
        int c2 = 0;
        int r2 = 0;
        int oneCell = 0;
    };
    std::vector<Asking> m_Asking;
};
