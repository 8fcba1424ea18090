#include "world/hit_grid.h"

#include <algorithm>

namespace {

constexpr int kFirstShift = 6;
constexpr int kLastShift = 24;
// Coordinates are held to this range, then moved to positive values.
constexpr double kFar = 1e9;
constexpr double kBias = 1073741824.0;

// A coordinate as a non-negative whole number. The grid needs no more than
// a mapping that never decreases: two boxes that share a point then share
// the cell of that point's number, whatever the rounding. NaN maps far left.
std::int64_t Coord(double v)
{
    const double held = v > -kFar ? (v < kFar ? v : kFar) : -kFar;
    return static_cast<std::int64_t>(held + kBias);
}

// A box as whole numbers; false when it holds no point.
bool Coords(const DRect& b, std::int64_t (&c)[4])
{
    if (!(b.x1 <= b.x2) || !(b.y1 <= b.y2)) return false;
    c[0] = Coord(b.x1);
    c[1] = Coord(b.y1);
    c[2] = Coord(b.x2);
    c[3] = Coord(b.y2);
    return true;
}

} // namespace

bool cHitGrid::CellRange(const std::int64_t (&c)[4], CellSpan& span) const
{
    const std::int64_t x1 = (c[0] >> m_Shift) - m_X0;
    const std::int64_t y1 = (c[1] >> m_Shift) - m_Y0;
    const std::int64_t x2 = (c[2] >> m_Shift) - m_X0;
    const std::int64_t y2 = (c[3] >> m_Shift) - m_Y0;
    if (x2 < 0 || y2 < 0 || x1 >= m_Cols || y1 >= m_Rows) return false;
    span.c1 = static_cast<int>(std::max<std::int64_t>(x1, 0));
    span.r1 = static_cast<int>(std::max<std::int64_t>(y1, 0));
    span.c2 = static_cast<int>(std::min<std::int64_t>(x2, m_Cols - 1));
    span.r2 = static_cast<int>(std::min<std::int64_t>(y2, m_Rows - 1));
    return true;
}

void cHitGrid::Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use)
{
    m_Cols = m_Rows = 0;
    const std::size_t n = boxes.size();
    if (m_Stamp.size() < n) m_Stamp.resize(n, 0);
    m_Coords.resize(n);
    m_Entered.resize(n);
    std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::int64_t entered = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::int64_t(&c)[4] = m_Coords[i].c;
        m_Entered[i] = (!use || (*use)[i]) && Coords(boxes[i], c);
        if (!m_Entered[i]) continue;
        if (entered == 0) {
            minX = c[0], minY = c[1], maxX = c[2], maxY = c[3];
        } else {
            minX = std::min(minX, c[0]), minY = std::min(minY, c[1]);
            maxX = std::max(maxX, c[2]), maxY = std::max(maxY, c[3]);
        }
        ++entered;
    }
    if (entered == 0) return;
    // Wider cells while the grid would be much larger than its contents.
    const std::int64_t budget = std::max<std::int64_t>(64, 4 * entered);
    for (m_Shift = kFirstShift;; ++m_Shift) {
        const std::int64_t cols = (maxX >> m_Shift) - (minX >> m_Shift) + 1;
        const std::int64_t rows = (maxY >> m_Shift) - (minY >> m_Shift) + 1;
        if (cols * rows <= budget || m_Shift == kLastShift) {
            m_X0 = minX >> m_Shift;
            m_Y0 = minY >> m_Shift;
            m_Cols = static_cast<int>(cols);
            m_Rows = static_cast<int>(rows);
            break;
        }
    }
    const std::size_t cells = static_cast<std::size_t>(m_Cols) * static_cast<std::size_t>(m_Rows);
    m_CellStart.assign(cells + 1, 0);
    m_Spans.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        CellSpan& s = m_Spans[i];
        if (!m_Entered[i] || !CellRange(m_Coords[i].c, s)) {
            s = CellSpan();
            continue;
        }
        for (int r = s.r1; r <= s.r2; ++r)
            for (int c = s.c1; c <= s.c2; ++c)
                ++m_CellStart[static_cast<std::size_t>(r) * m_Cols + c + 1];
    }
    for (std::size_t c = 0; c < cells; ++c)
        m_CellStart[c + 1] += m_CellStart[c];
    m_Items.resize(static_cast<std::size_t>(m_CellStart[cells]));
    m_Fill.assign(m_CellStart.begin(), m_CellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        const CellSpan& s = m_Spans[i];
        for (int r = s.r1; r <= s.r2; ++r)
            for (int c = s.c1; c <= s.c2; ++c) {
                const int at = m_Fill[static_cast<std::size_t>(r) * m_Cols + c]++;
                m_Items[static_cast<std::size_t>(at)] = {boxes[i], static_cast<int>(i)};
            }
    }
}

void cHitGrid::Query(const DRect& box, std::vector<int>& out)
{
    std::int64_t c[4];
    CellSpan s;
    if (m_Cols == 0 || !Coords(box, c) || !CellRange(c, s)) return;
    if (s.c1 == s.c2 && s.r1 == s.r2) {
        // One cell holds each box once: no marks needed, already ascending.
        const std::size_t cell = static_cast<std::size_t>(s.r1) * m_Cols + s.c1;
        for (int k = m_CellStart[cell]; k < m_CellStart[cell + 1]; ++k) {
            const Item& item = m_Items[static_cast<std::size_t>(k)];
            if (item.box.Intersects(box)) out.push_back(item.index);
        }
        return;
    }
    if (++m_Query == 0) {
        std::fill(m_Stamp.begin(), m_Stamp.end(), 0);
        m_Query = 1;
    }
    const std::size_t first = out.size();
    for (int r = s.r1; r <= s.r2; ++r) {
        for (int col = s.c1; col <= s.c2; ++col) {
            const std::size_t cell = static_cast<std::size_t>(r) * m_Cols + col;
            for (int k = m_CellStart[cell]; k < m_CellStart[cell + 1]; ++k) {
                const Item& item = m_Items[static_cast<std::size_t>(k)];
                if (!item.box.Intersects(box)) continue;
                std::uint32_t& stamp = m_Stamp[static_cast<std::size_t>(item.index)];
                if (stamp == m_Query) continue;
                stamp = m_Query;
                out.push_back(item.index);
            }
        }
    }
    // A handful at most: sorted in place.
    for (std::size_t i = first + 1; i < out.size(); ++i)
        for (std::size_t j = i; j > first && out[j - 1] > out[j]; --j)
            std::swap(out[j - 1], out[j]);
}
