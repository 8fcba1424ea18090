#include "world/hit_grid.h"

#include <algorithm>

namespace {

constexpr int kFirstShift = 6;
constexpr int kLastShift = 24;
// Coordinates are held to this range (a box beyond it is no box of the map).
constexpr double kFar = 1e9;

// The whole pixel at or left of (above) a coordinate; NaN counts as far left.
std::int64_t FloorPixel(double v)
{
    if (!(v > -kFar)) return -static_cast<std::int64_t>(kFar);
    if (v > kFar) return static_cast<std::int64_t>(kFar);
    const auto i = static_cast<std::int64_t>(v);
    return static_cast<double>(i) > v ? i - 1 : i;
}

// A box as whole pixels; false when it holds no pixel.
bool Pixels(const DRect& b, std::int64_t& x1, std::int64_t& y1, std::int64_t& x2, std::int64_t& y2)
{
    if (!(b.x1 <= b.x2) || !(b.y1 <= b.y2)) return false;
    x1 = FloorPixel(b.x1);
    y1 = FloorPixel(b.y1);
    x2 = FloorPixel(b.x2);
    y2 = FloorPixel(b.y2);
    return true;
}

} // namespace

bool cHitGrid::CellRange(const DRect& box, CellSpan& span) const
{
    std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (m_Cols == 0 || !Pixels(box, x1, y1, x2, y2)) return false;
    x1 = (x1 >> m_Shift) - m_X0;
    x2 = (x2 >> m_Shift) - m_X0;
    y1 = (y1 >> m_Shift) - m_Y0;
    y2 = (y2 >> m_Shift) - m_Y0;
    if (x2 < 0 || y2 < 0 || x1 >= m_Cols || y1 >= m_Rows) return false;
    span.c1 = static_cast<int>(std::max<std::int64_t>(x1, 0));
    span.r1 = static_cast<int>(std::max<std::int64_t>(y1, 0));
    span.c2 = static_cast<int>(std::min<std::int64_t>(x2, m_Cols - 1));
    span.r2 = static_cast<int>(std::min<std::int64_t>(y2, m_Rows - 1));
    return true;
}

void cHitGrid::Build(const std::vector<DRect>& boxes, const std::vector<std::uint8_t>* use)
{
    m_Boxes = &boxes;
    m_Cols = m_Rows = 0;
    const std::size_t n = boxes.size();
    if (m_Stamp.size() < n) m_Stamp.resize(n, 0);
    std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::int64_t entered = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if ((use && !(*use)[i]) || !Pixels(boxes[i], x1, y1, x2, y2)) continue;
        if (entered == 0) {
            minX = x1, minY = y1, maxX = x2, maxY = y2;
        } else {
            minX = std::min(minX, x1), minY = std::min(minY, y1);
            maxX = std::max(maxX, x2), maxY = std::max(maxY, y2);
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
        if ((use && !(*use)[i]) || !CellRange(boxes[i], s)) {
            s.c1 = 0, s.c2 = -1, s.r1 = 0, s.r2 = -1;
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
            for (int c = s.c1; c <= s.c2; ++c)
                m_Items[static_cast<std::size_t>(
                    m_Fill[static_cast<std::size_t>(r) * m_Cols + c]++)] = static_cast<int>(i);
    }
}

void cHitGrid::Query(const DRect& box, std::vector<int>& out)
{
    CellSpan s;
    if (!CellRange(box, s)) return;
    const std::vector<DRect>& boxes = *m_Boxes;
    const std::size_t first = out.size();
    if (s.c1 == s.c2 && s.r1 == s.r2) {
        // One cell holds each box once: no marks needed, already ascending.
        const std::size_t cell = static_cast<std::size_t>(s.r1) * m_Cols + s.c1;
        for (int k = m_CellStart[cell]; k < m_CellStart[cell + 1]; ++k) {
            const int i = m_Items[static_cast<std::size_t>(k)];
            if (boxes[static_cast<std::size_t>(i)].Intersects(box)) out.push_back(i);
        }
        return;
    }
    if (++m_Query == 0) {
        std::fill(m_Stamp.begin(), m_Stamp.end(), 0);
        m_Query = 1;
    }
    for (int r = s.r1; r <= s.r2; ++r) {
        for (int c = s.c1; c <= s.c2; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * m_Cols + c;
            for (int k = m_CellStart[cell]; k < m_CellStart[cell + 1]; ++k) {
                const int i = m_Items[static_cast<std::size_t>(k)];
                std::uint32_t& stamp = m_Stamp[static_cast<std::size_t>(i)];
                if (stamp == m_Query) continue;
                stamp = m_Query;
                if (boxes[static_cast<std::size_t>(i)].Intersects(box)) out.push_back(i);
            }
        }
    }
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
}
