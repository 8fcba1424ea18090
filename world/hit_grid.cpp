#include "world/hit_grid.h"

#include <algorithm>
#include <cstring>

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

void cHitGrid::Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use)
{
    m_Cols = m_Rows = 0;
    const std::size_t n = boxes.size();
    if (m_Stamp.size() < n) m_Stamp.resize(n, 0);
    m_Entered.clear();
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const DRect& b = boxes[i];
        if ((use && !(*use)[i]) || !HoldsPoints(b)) continue;
        if (m_Entered.empty()) {
            minX = b.x1, minY = b.y1, maxX = b.x2, maxY = b.y2;
        } else {
            minX = std::min(minX, b.x1), minY = std::min(minY, b.y1);
            maxX = std::max(maxX, b.x2), maxY = std::max(maxY, b.y2);
        }
        m_Entered.push_back(static_cast<int>(i));
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
    const std::size_t cells = static_cast<std::size_t>(m_Cols) * static_cast<std::size_t>(m_Rows);
    m_CellStart.assign(cells + 1, 0);
    // Grown only: every span and item is written below.
    if (m_Spans.size() < m_Entered.size()) m_Spans.resize(m_Entered.size());
    const Mapping map = Map();
    for (std::size_t e = 0; e < m_Entered.size(); ++e) {
        const CellSpan s = m_Spans[e] = map.Span(boxes[static_cast<std::size_t>(m_Entered[e])]);
        for (int r = s.r1; r <= s.r2; ++r)
            for (int c = s.c1; c <= s.c2; ++c)
                ++m_CellStart[static_cast<std::size_t>(r) * m_Cols + c + 1];
    }
    for (std::size_t c = 0; c < cells; ++c)
        m_CellStart[c + 1] += m_CellStart[c];
    if (m_Items.size() < static_cast<std::size_t>(m_CellStart[cells]))
        m_Items.resize(static_cast<std::size_t>(m_CellStart[cells]));
    m_Fill.assign(m_CellStart.begin(), m_CellStart.end() - 1);
    for (std::size_t e = 0; e < m_Entered.size(); ++e) {
        const CellSpan& s = m_Spans[e];
        const int i = m_Entered[e];
        for (int r = s.r1; r <= s.r2; ++r)
            for (int c = s.c1; c <= s.c2; ++c) {
                const int at = m_Fill[static_cast<std::size_t>(r) * m_Cols + c]++;
                m_Items[static_cast<std::size_t>(at)] = {boxes[static_cast<std::size_t>(i)], i};
            }
    }
}

void cHitGrid::Pairs(const std::vector<DRect>& queries, const std::vector<std::uint8_t>* use,
                     std::vector<GridPair>& out)
{
    if (m_Cols == 0) return;
    // Read once (the grid and the queries alike): the stores into out could
    // otherwise stand for any of them.
    const int* const start = m_CellStart.data();
    const Item* const items = m_Items.data();
    const std::size_t cols = static_cast<std::size_t>(m_Cols);
    const Mapping map = Map();
    const DRect* const boxes = queries.data();
    const std::uint8_t* const used = use ? use->data() : nullptr;
    const int n = static_cast<int>(queries.size());
    for (int q = 0; q < n; ++q) {
        if (used && !used[q]) continue;
        const DRect& box = boxes[q];
        if (!HoldsPoints(box)) continue;
        const CornerCell topLeft = map.CellOf(TopLeft(box));
        const CornerCell bottomRight = map.CellOf(BottomRight(box));
        if (Bits(topLeft) == Bits(bottomRight)) {
            // One cell holds each box once: no marks needed, already ascending.
            const std::size_t cell = static_cast<std::size_t>(topLeft[1]) * cols +
                                     static_cast<std::size_t>(topLeft[0]);
            for (int k = start[cell], end = start[cell + 1]; k < end; ++k)
                if (items[k].box.Intersects(box)) out.push_back({q, items[k].index});
            continue;
        }
        if (++m_Query == 0) {
            std::fill(m_Stamp.begin(), m_Stamp.end(), 0);
            m_Query = 1;
        }
        const CellSpan s = {topLeft[0], topLeft[1], bottomRight[0], bottomRight[1]};
        std::uint32_t* const stamps = m_Stamp.data();
        const std::uint32_t mark = m_Query;
        const std::size_t first = out.size();
        for (int r = s.r1; r <= s.r2; ++r) {
            for (int col = s.c1; col <= s.c2; ++col) {
                const std::size_t cell = static_cast<std::size_t>(r) * cols + col;
                for (int k = start[cell], end = start[cell + 1]; k < end; ++k) {
                    const Item& item = items[k];
                    if (!item.box.Intersects(box)) continue;
                    std::uint32_t& stamp = stamps[item.index];
                    if (stamp == mark) continue;
                    stamp = mark;
                    out.push_back({q, item.index});
                }
            }
        }
        // A handful at most: sorted in place.
        for (std::size_t i = first + 1; i < out.size(); ++i)
            for (std::size_t j = i; j > first && out[j - 1].entered > out[j].entered; --j)
                std::swap(out[j - 1], out[j]);
    }
}
