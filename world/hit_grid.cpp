#include "world/hit_grid.h"

#include <algorithm>
#include <cmath>

#include "world/trunc.h"

namespace {

constexpr int kFirstShift = 6;
constexpr int kLastShift = 24;

// The whole pixel at or left of (above) a coordinate.
std::int64_t FloorPixel(double v)
{
    return TruncToInt(std::floor(v));
}

} // namespace

bool cHitGrid::CellRange(const DRect& box, int& c1, int& r1, int& c2, int& r2) const
{
    if (m_Cols == 0 || !(box.x1 <= box.x2) || !(box.y1 <= box.y2)) return false;
    const std::int64_t x1 = (FloorPixel(box.x1) >> m_Shift) - m_X0;
    const std::int64_t x2 = (FloorPixel(box.x2) >> m_Shift) - m_X0;
    const std::int64_t y1 = (FloorPixel(box.y1) >> m_Shift) - m_Y0;
    const std::int64_t y2 = (FloorPixel(box.y2) >> m_Shift) - m_Y0;
    if (x2 < 0 || y2 < 0 || x1 >= m_Cols || y1 >= m_Rows) return false;
    c1 = static_cast<int>(std::max<std::int64_t>(x1, 0));
    r1 = static_cast<int>(std::max<std::int64_t>(y1, 0));
    c2 = static_cast<int>(std::min<std::int64_t>(x2, m_Cols - 1));
    r2 = static_cast<int>(std::min<std::int64_t>(y2, m_Rows - 1));
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
        const DRect& b = boxes[i];
        if ((use && !(*use)[i]) || !(b.x1 <= b.x2) || !(b.y1 <= b.y2)) continue;
        const std::int64_t x1 = FloorPixel(b.x1), y1 = FloorPixel(b.y1);
        const std::int64_t x2 = FloorPixel(b.x2), y2 = FloorPixel(b.y2);
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
    m_Shift = kFirstShift;
    for (;;) {
        const std::int64_t cols = (maxX >> m_Shift) - (minX >> m_Shift) + 1;
        const std::int64_t rows = (maxY >> m_Shift) - (minY >> m_Shift) + 1;
        if (cols * rows <= budget || m_Shift == kLastShift) {
            m_X0 = minX >> m_Shift;
            m_Y0 = minY >> m_Shift;
            m_Cols = static_cast<int>(cols);
            m_Rows = static_cast<int>(rows);
            break;
        }
        ++m_Shift;
    }
    const std::size_t cells = static_cast<std::size_t>(m_Cols) * static_cast<std::size_t>(m_Rows);
    m_CellStart.assign(cells + 1, 0);
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if ((use && !(*use)[i]) || !CellRange(boxes[i], c1, r1, c2, r2)) continue;
        for (int r = r1; r <= r2; ++r)
            for (int c = c1; c <= c2; ++c)
                ++m_CellStart[static_cast<std::size_t>(r) * m_Cols + c + 1];
    }
    for (std::size_t c = 0; c < cells; ++c)
        m_CellStart[c + 1] += m_CellStart[c];
    m_Items.resize(static_cast<std::size_t>(m_CellStart[cells]));
    m_Fill.assign(m_CellStart.begin(), m_CellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        if ((use && !(*use)[i]) || !CellRange(boxes[i], c1, r1, c2, r2)) continue;
        for (int r = r1; r <= r2; ++r)
            for (int c = c1; c <= c2; ++c)
                m_Items[static_cast<std::size_t>(
                    m_Fill[static_cast<std::size_t>(r) * m_Cols + c]++)] = static_cast<int>(i);
    }
}

void cHitGrid::Query(const DRect& box, std::vector<int>& out)
{
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (!CellRange(box, c1, r1, c2, r2)) return;
    if (++m_Query == 0) {
        std::fill(m_Stamp.begin(), m_Stamp.end(), 0);
        m_Query = 1;
    }
    const std::size_t first = out.size();
    const std::vector<DRect>& boxes = *m_Boxes;
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
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
