#include "world/hit_grid.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Of corners that hold no NaN.
// (The processor's own minimum and maximum give the same; the compiler
// does not always see it.)
Corner Min(Corner a, Corner b)
{
#if defined(__SSE2__)
    return reinterpret_cast<Corner>(
        _mm_min_pd(reinterpret_cast<__m128d>(a), reinterpret_cast<__m128d>(b)));
#else
    return a < b ? a : b;
#endif
}

Corner Max(Corner a, Corner b)
{
#if defined(__SSE2__)
    return reinterpret_cast<Corner>(
        _mm_max_pd(reinterpret_cast<__m128d>(a), reinterpret_cast<__m128d>(b)));
#else
    return a > b ? a : b;
#endif
}

std::uint64_t Bits(CornerCell c)
{
    std::uint64_t bits;
    std::memcpy(&bits, &c, sizeof bits);
    return bits;
}

// Sorts the last `count` pairs by box (a handful at most).
void SortLast(std::vector<GridPair>& out, int count)
{
    const std::size_t from = out.size() - static_cast<std::size_t>(count);
    for (std::size_t i = from + 1; i < out.size(); ++i)
        for (std::size_t j = i; j > from && out[j - 1].entered > out[j].entered; --j)
            std::swap(out[j - 1], out[j]);
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
        return __builtin_convertvector(Min(Max((p - origin) * perPixel, zero), last), CornerCell);
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
    // The boxes that enter, listed by layer, and their bounds. The layers
    // are read through copies of their pointers, which the stores below
    // cannot change.
    std::size_t boxCount = 0;
    for (const GridLayer& layer : layers)
        boxCount += layer.boxes->size();
    if (m_Entering.size() < boxCount) m_Entering.resize(boxCount);
    int* const entering = m_Entering.data();
    int ends[kMaxLayers] = {};
    constexpr double inf = std::numeric_limits<double>::infinity();
    Corner low = {inf, inf}, high = {-inf, -inf};
    int entered = 0;
    for (std::size_t k = 0; k < layers.size(); ++k) {
        const DRect* const boxes = layers[k].boxes->data();
        const std::size_t n = layers[k].boxes->size();
        const std::uint8_t* const use = layers[k].use ? layers[k].use->data() : nullptr;
        const int before = entered;
        for (std::size_t i = 0; i < n; ++i) {
            if ((use && !use[i]) || !HoldsPoints(boxes[i])) continue;
            low = Min(low, TopLeft(boxes[i]));
            high = Max(high, BottomRight(boxes[i]));
            entering[entered++] = static_cast<int>(i);
        }
        m_Filed[k] = entered - before;
        ends[k] = entered;
    }
    if (entered == 0) return;
    m_X0 = Held(low[0]);
    m_Y0 = Held(low[1]);
    const double width = Held(high[0]) - m_X0;
    const double height = Held(high[1]) - m_Y0;
    // Wider cells while the grid would be much larger than its contents.
    const auto budget = std::max<std::int64_t>(64, 4 * std::int64_t{entered});
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
    int* const head = m_Head.data();
    const Mapping map = Map();
    std::size_t room = m_Items.size();
    Item* items = m_Items.data();
    int used = 0;
    for (std::size_t k = layers.size(); k-- > 0;) {
        const DRect* const boxes = layers[k].boxes->data();
        const int* const groups = layers[k].groups->data();
        for (int e = ends[k]; e-- > (k > 0 ? ends[k - 1] : 0);) {
            const int i = entering[e];
            const DRect& box = boxes[i];
            const CornerCell first = map.CellOf(TopLeft(box));
            const CornerCell last = map.CellOf(BottomRight(box));
            const auto cells = static_cast<std::size_t>(last[0] - first[0] + 1) *
                               static_cast<std::size_t>(last[1] - first[1] + 1);
            // Grown only: the items are written in place.
            if (room < static_cast<std::size_t>(used) + cells) {
                room = 2 * (static_cast<std::size_t>(used) + cells);
                m_Items.resize(room);
                items = m_Items.data();
            }
            Item item = {box, i, static_cast<int>(k), groups[i], first[0], first[1]};
            if (cells == 1) {
                int& chain = head[static_cast<std::size_t>(first[1]) * cols +
                                  static_cast<std::size_t>(first[0])];
                item.next = chain;
                items[used] = item;
                chain = used++;
                continue;
            }
            for (int r = first[1]; r <= last[1]; ++r)
                for (int c = first[0]; c <= last[0]; ++c) {
                    int& chain =
                        head[static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c)];
                    item.next = chain;
                    items[used] = item;
                    chain = used++;
                }
        }
    }
}

void cHitGrid::Pairs(const std::vector<int>& groups, std::span<const GridAsk> asks)
{
    if (m_Cols == 0) return;
    // Read once (the grid and the queries alike): the stores into the found
    // pairs could otherwise stand for any of them. A single layer is asked
    // as if twice alike.
    const int* const head = m_Head.data();
    const Item* const items = m_Items.data();
    const std::size_t cols = static_cast<std::size_t>(m_Cols);
    const Mapping map = Map();
    const GridAsk& second = asks.size() > 1 ? asks[1] : asks[0];
    // A layer that holds no box is asked with the other's boxes, so that its
    // own widen no query's cells.
    const DRect* const ask0 = (m_Filed[0] != 0 ? asks[0] : second).boxes->data();
    const DRect* const ask1 = (asks.size() > 1 && m_Filed[1] != 0 ? second : asks[0]).boxes->data();
    std::vector<GridPair>& found0 = *asks[0].found;
    std::vector<GridPair>& found1 = *second.found;
    const int* const group = groups.data();
    const int n = static_cast<int>(groups.size());
    // First the cells the boxes of every query cover (an empty box widens
    // nothing) and the chain of its first cell, in a loop without a branch;
    // the walk below then reaches each chain without waiting on that
    // arithmetic, and passes over the queries that hold no point or whose
    // only cell is empty.
    if (m_Asking.size() < groups.size()) m_Asking.resize(groups.size());
    Asking* const asking = m_Asking.data();
    int asked = 0;
    for (int q = 0; q < n; ++q) {
        const Corner topLeft = Min(TopLeft(ask0[q]), TopLeft(ask1[q]));
        const Corner bottomRight = Max(BottomRight(ask0[q]), BottomRight(ask1[q]));
        const CornerCell first = map.CellOf(topLeft);
        const CornerCell last = map.CellOf(bottomRight);
        const int chain =
            head[static_cast<std::size_t>(first[1]) * cols + static_cast<std::size_t>(first[0])];
        const bool oneCell = Bits(first) == Bits(last);
        asking[asked] = {q, chain, first[0], first[1], last[0], last[1], oneCell};
        asked += (topLeft[0] <= bottomRight[0]) & ((chain >= 0) | !oneCell);
    }
    for (int a = 0; a < asked; ++a) {
        const Asking& query = asking[a];
        const int q = query.query;
        const DRect& box0 = ask0[q];
        const DRect& box1 = ask1[q];
        const int own = group[q];
        if (query.oneCell) {
            // One cell holds each box once: already ascending.
            for (int i = query.chain; i >= 0; i = items[i].next) {
                const Item& item = items[i];
                if (item.group != own && item.box.Intersects(item.layer ? box1 : box0))
                    (item.layer ? found1 : found0).push_back({q, item.index});
            }
            continue;
        }
        // A box in several of the query's cells is found in the first of
        // them, the one its own first column and row meet.
        int added0 = 0, added1 = 0;
        for (int r = query.r1; r <= query.r2; ++r) {
            for (int c = query.c1; c <= query.c2; ++c) {
                const std::size_t cell =
                    static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c);
                for (int i = head[cell]; i >= 0; i = items[i].next) {
                    const Item& item = items[i];
                    if (item.group == own || !item.box.Intersects(item.layer ? box1 : box0) ||
                        (c > query.c1 && item.c1 < c) || (r > query.r1 && item.r1 < r))
                        continue;
                    (item.layer ? found1 : found0).push_back({q, item.index});
                    ++(item.layer ? added1 : added0);
                }
            }
        }
        // A handful at most, ascending but for the cells: sorted in place.
        if (added0 > 1) SortLast(found0, added0);
        if (added1 > 1) SortLast(found1, added1);
    }
}
