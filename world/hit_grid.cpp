#include "world/hit_grid.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr double kFirstCell = 64;
constexpr double kLastCell = 16777216;
// The grid's corners are held to this range.
constexpr double kFar = 1e9;

double Held(double v)
{
    return v > -kFar ? (v < kFar ? v : kFar) : -kFar;
}

bool HoldsPoints(const DRect& b)
{
    return b.x1 <= b.x2 && b.y1 <= b.y2;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A box that meets nothing.
constexpr DRect kNoBox{kNaN, kNaN, kNaN, kNaN};

// A corner of a box: its x and y side by side, so that both axes take one
// instruction each step.
typedef double Corner __attribute__((vector_size(16)));
typedef std::int32_t CornerCell __attribute__((vector_size(8)));

Corner TopLeft(const DRect& b)
{
    Corner c;
    std::memcpy(&c, &b.x1, sizeof c);
    return c;
}

Corner BottomRight(const DRect& b)
{
    Corner c;
    std::memcpy(&c, &b.x2, sizeof c);
    return c;
}

std::uint64_t Bits(CornerCell c)
{
    std::uint64_t bits;
    std::memcpy(&bits, &c, sizeof bits);
    return bits;
}

} // namespace

// The grid needs no more than a mapping that never decreases: two boxes
// that share a point then share the cell of that point, whatever the
// rounding. Points before the grid or past it fall into its first or last
// column or row.
struct cHitGrid::Mapping {
    Corner origin;
    Corner perPixel;
    Corner last;

    CornerCell CellOf(Corner p) const
    {
        const Corner zero = {0, 0};
        Corner v = (p - origin) * perPixel;
        v = v > zero ? v : zero;
        v = v < last ? v : last;
        return __builtin_convertvector(v, CornerCell);
    }
    // Of a box that holds points.
    CellSpan Span(const DRect& box) const
    {
        const CornerCell a = CellOf(TopLeft(box));
        const CornerCell b = CellOf(BottomRight(box));
        return {a[0], a[1], b[0], b[1]};
    }
};

cHitGrid::Mapping cHitGrid::Map() const
{
    Mapping map;
    map.origin = Corner{m_X0, m_Y0};
    map.perPixel = Corner{m_PerPixel, m_PerPixel};
    map.last = Corner{m_LastCol, m_LastRow};
    return map;
}

void cHitGrid::Build(std::span<const GridLayer> layers)
{
    m_Cols = m_Rows = 0;
    m_Layers = static_cast<int>(layers.size());
    m_Entered.clear();
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int k = 0; k < m_Layers; ++k) {
        const std::vector<DRect>& boxes = *layers[static_cast<std::size_t>(k)].boxes;
        const std::uint8_t* const use = layers[static_cast<std::size_t>(k)].use
                                            ? layers[static_cast<std::size_t>(k)].use->data()
                                            : nullptr;
        const std::size_t before = m_Entered.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const DRect& b = boxes[i];
            if ((use && !use[i]) || !HoldsPoints(b)) continue;
            if (m_Entered.empty()) {
                minX = b.x1, minY = b.y1, maxX = b.x2, maxY = b.y2;
            } else {
                minX = std::min(minX, b.x1), minY = std::min(minY, b.y1);
                maxX = std::max(maxX, b.x2), maxY = std::max(maxY, b.y2);
            }
            m_Entered.push_back({b, static_cast<int>(i), k, 0, 0, -1});
        }
        m_Filed[k] = static_cast<int>(m_Entered.size() - before);
    }
    if (m_Entered.empty()) return;
    m_X0 = Held(minX);
    m_Y0 = Held(minY);
    const double width = Held(maxX) - m_X0;
    const double height = Held(maxY) - m_Y0;
    // Wider cells while the grid would be much larger than its contents.
    const auto budget = std::max<std::int64_t>(64, 4 * static_cast<std::int64_t>(m_Entered.size()));
    for (double cell = kFirstCell;; cell *= 2) {
        m_PerPixel = 1 / cell;
        const auto cols = static_cast<std::int64_t>(width * m_PerPixel) + 1;
        const auto rows = static_cast<std::int64_t>(height * m_PerPixel) + 1;
        if (cols * rows <= budget || cell >= kLastCell) {
            m_Cols = static_cast<int>(cols);
            m_Rows = static_cast<int>(rows);
            m_LastCol = m_Cols - 1;
            m_LastRow = m_Rows - 1;
            break;
        }
    }
    const std::size_t cols = static_cast<std::size_t>(m_Cols);
    // Each cell's items form a chain from its head; filed last first, so
    // that every chain runs in the order entered.
    m_Head.assign(cols * static_cast<std::size_t>(m_Rows), -1);
    m_Items.clear();
    const Mapping map = Map();
    for (std::size_t e = m_Entered.size(); e-- > 0;) {
        Item item = m_Entered[e];
        const CellSpan s = map.Span(item.box);
        item.c1 = s.c1;
        item.r1 = s.r1;
        for (int r = s.r1; r <= s.r2; ++r)
            for (int c = s.c1; c <= s.c2; ++c) {
                int& head = m_Head[static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c)];
                item.next = head;
                head = static_cast<int>(m_Items.size());
                m_Items.push_back(item);
            }
    }
}

void cHitGrid::Pairs(std::span<const GridAsk> asks)
{
    if (m_Cols == 0) return;
    // Read once (the grid and the queries alike): the stores into the found
    // pairs could otherwise stand for any of them. A layer that holds no
    // box is not asked.
    const int* const head = m_Head.data();
    const Item* const items = m_Items.data();
    const std::size_t cols = static_cast<std::size_t>(m_Cols);
    const Mapping map = Map();
    const DRect* ask[kMaxLayers] = {};
    std::vector<GridPair>* found[kMaxLayers] = {};
    for (int k = 0; k < m_Layers; ++k) {
        if (m_Filed[k] == 0) continue;
        ask[k] = asks[static_cast<std::size_t>(k)].boxes->data();
        found[k] = asks[static_cast<std::size_t>(k)].found;
    }
    const int n = static_cast<int>(asks[0].boxes->size());
    for (int q = 0; q < n; ++q) {
        // The boxes the query asks with (a layer it cannot ask, with a box
        // that meets nothing), and the corners of the cells they cover.
        DRect box[kMaxLayers] = {kNoBox, kNoBox};
        Corner topLeft = {}, bottomRight = {};
        bool asking = false;
        for (int k = 0; k < kMaxLayers; ++k) {
            if (!ask[k] || !HoldsPoints(ask[k][q])) continue;
            const DRect& b = box[k] = ask[k][q];
            if (!asking) {
                topLeft = TopLeft(b);
                bottomRight = BottomRight(b);
                asking = true;
            } else {
                topLeft = topLeft < TopLeft(b) ? topLeft : TopLeft(b);
                bottomRight = bottomRight > BottomRight(b) ? bottomRight : BottomRight(b);
            }
        }
        if (!asking) continue;
        const CornerCell first = map.CellOf(topLeft);
        const CornerCell last = map.CellOf(bottomRight);
        if (Bits(first) == Bits(last)) {
            // One cell holds each box once: no marks needed, already ascending.
            const std::size_t cell =
                static_cast<std::size_t>(first[1]) * cols + static_cast<std::size_t>(first[0]);
            for (int i = head[cell]; i >= 0; i = items[i].next) {
                const Item& item = items[i];
                if (item.box.Intersects(box[item.layer]))
                    found[item.layer]->push_back({q, item.index});
            }
            continue;
        }
        // A box in several of the query's cells is found in the first of
        // them, the one its own first column and row meet.
        int added[kMaxLayers] = {};
        for (int r = first[1]; r <= last[1]; ++r) {
            for (int c = first[0]; c <= last[0]; ++c) {
                const std::size_t cell = static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c);
                for (int i = head[cell]; i >= 0; i = items[i].next) {
                    const Item& item = items[i];
                    if (!item.box.Intersects(box[item.layer]) || (c > first[0] && item.c1 < c) ||
                        (r > first[1] && item.r1 < r))
                        continue;
                    found[item.layer]->push_back({q, item.index});
                    ++added[item.layer];
                }
            }
        }
        // A handful at most, ascending but for the cells: sorted in place.
        for (int k = 0; k < kMaxLayers; ++k) {
            if (added[k] < 2) continue;
            std::vector<GridPair>& out = *found[k];
            const std::size_t from = out.size() - static_cast<std::size_t>(added[k]);
            for (std::size_t i = from + 1; i < out.size(); ++i)
                for (std::size_t j = i; j > from && out[j - 1].entered > out[j].entered; --j)
                    std::swap(out[j - 1], out[j]);
        }
    }
}
