#include "world/hit_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

// A layer's boxes, groups and use flags, and the queries' boxes for it.
struct LayerCase {
    std::vector<DRect> boxes;
    std::vector<int> groups;
    std::vector<std::uint8_t> use; // empty: every box
    std::vector<DRect> asks;
};

bool HoldsPoints(const DRect& b)
{
    return b.x1 <= b.x2 && b.y1 <= b.y2;
}

// The pairs as nested loops over the queries and the boxes find them.
std::vector<GridPair> Expected(const LayerCase& layer, const std::vector<int>& queryGroups)
{
    std::vector<GridPair> out;
    for (std::size_t q = 0; q < queryGroups.size(); ++q)
        for (std::size_t i = 0; i < layer.boxes.size(); ++i) {
            if (!layer.use.empty() && !layer.use[i]) continue;
            if (!HoldsPoints(layer.boxes[i]) || layer.groups[i] == queryGroups[q]) continue;
            if (layer.boxes[i].Intersects(layer.asks[q]))
                out.push_back({static_cast<int>(q), static_cast<int>(i)});
        }
    return out;
}

GridLayer Filed(const LayerCase& layer)
{
    return {&layer.boxes, &layer.groups, layer.use.empty() ? nullptr : &layer.use};
}

// Both layers filed in one grid and asked at once.
std::array<std::vector<GridPair>, 2> SearchTwoLayers(const LayerCase (&layers)[2],
                                                     const std::vector<int>& queryGroups)
{
    cHitGrid grid;
    const GridLayer filed[] = {Filed(layers[0]), Filed(layers[1])};
    grid.Build(filed);
    std::array<std::vector<GridPair>, 2> found;
    const GridAsk asks[] = {{&layers[0].asks, &found[0]}, {&layers[1].asks, &found[1]}};
    grid.Pairs(queryGroups, asks);
    return found;
}

void ExpectPairs(const std::vector<GridPair>& got, const std::vector<GridPair>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t p = 0; p < got.size(); ++p) {
        EXPECT_EQ(got[p].query, want[p].query) << "pair " << p;
        EXPECT_EQ(got[p].entered, want[p].entered) << "pair " << p;
    }
}

// Random boxes of up to `size` pixels in a field of `width` x `height`.
struct BoxMaker {
    std::mt19937 random;
    double width;
    double height;
    double size;

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    DRect Next()
    {
        // Past a few thousand pixels, half of them crowd one corner, so that
        // a thin spread still has boxes that meet.
        const bool crowd = width > 4000 && Below(2) == 0;
        std::uniform_real_distribution<double> x(0, crowd ? 400 : width),
            y(0, crowd ? 400 : height), s(0, size);
        const double x1 = std::floor(x(random));
        const double y1 = std::floor(y(random));
        return {x1, y1, x1 + std::floor(s(random)), y1 + std::floor(s(random))};
    }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Spread {
    const char* name;
    double width;
    double height;
    double size; // largest box
};

// Dense small boxes (one cell each, or a few); boxes wider than many cells;
// boxes so thinly spread that the cells widen.
const Spread kSpreads[] = {
    {"dense", 640, 480, 40},
    {"wide boxes", 2000, 600, 400},
    {"thinly spread", 5e6, 3e6, 50},
};

// Two layers asked at once, some boxes left out, some queries empty in one
// layer or both, some boxes that hold no point: the grid finds exactly what
// the nested loops find, in their order.
TEST(HitGrid, FindsWhatNestedLoopsFindInTheirOrder)
{
    for (const Spread& spread : kSpreads) {
        SCOPED_TRACE(spread.name);
        BoxMaker make{std::mt19937(7), spread.width, spread.height, spread.size};
        LayerCase layers[2];
        std::vector<int> queryGroups;
        const int queries = 400;
        for (int q = 0; q < queries; ++q) {
            queryGroups.push_back(make.Below(6));
            for (LayerCase& layer : layers)
                layer.asks.push_back(make.Below(8) == 0 ? kEmptyBox : make.Next());
        }
        for (int k = 0; k < 2; ++k) {
            const int boxes = k == 0 ? 300 : 60;
            for (int i = 0; i < boxes; ++i) {
                DRect box = make.Next();
                if (i % 37 == 5) box.x1 = kNaN;
                if (i % 41 == 7) box.y2 = box.y1 - 1;
                layers[k].boxes.push_back(box);
                layers[k].groups.push_back(make.Below(6));
                if (k == 0) layers[k].use.push_back(make.Below(5) != 0);
            }
        }
        const auto found = SearchTwoLayers(layers, queryGroups);
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(k);
            const std::vector<GridPair> want = Expected(layers[k], queryGroups);
            EXPECT_FALSE(want.empty()) << "the case finds pairs";
            ExpectPairs(found[k], want);
        }
    }
}

// One layer asked alone, as the shots look for the shots that collide; the
// pairs are appended after what the list held; a grid built again with
// fewer boxes keeps nothing of the build before.
TEST(HitGrid, OneLayerAppendsAndARebuildForgetsTheLast)
{
    BoxMaker make{std::mt19937(11), 800, 600, 60};
    std::vector<int> queryGroups;
    LayerCase layer;
    for (int q = 0; q < 200; ++q) {
        queryGroups.push_back(make.Below(4));
        layer.asks.push_back(make.Next());
    }
    cHitGrid grid;
    for (const int boxes : {120, 15, 0}) {
        SCOPED_TRACE(boxes);
        layer.boxes.clear();
        layer.groups.clear();
        for (int i = 0; i < boxes; ++i) {
            layer.boxes.push_back(make.Next());
            layer.groups.push_back(make.Below(4));
        }
        const GridLayer filed[] = {Filed(layer)};
        grid.Build(filed);
        std::vector<GridPair> found = {{-1, -1}};
        const GridAsk asks[] = {{&layer.asks, &found}};
        grid.Pairs(queryGroups, asks);
        std::vector<GridPair> want = {{-1, -1}};
        for (const GridPair& p : Expected(layer, queryGroups))
            want.push_back(p);
        ExpectPairs(found, want);
    }
}

// A layer that files no box finds nothing, and its queries' boxes do not
// widen the search of the other.
TEST(HitGrid, AnEmptyLayerFindsNothing)
{
    BoxMaker make{std::mt19937(3), 500, 500, 30};
    LayerCase layers[2];
    std::vector<int> queryGroups;
    for (int q = 0; q < 100; ++q) {
        queryGroups.push_back(make.Below(3));
        layers[0].asks.push_back(make.Next());
        layers[1].asks.push_back({-1e7, -1e7, 1e7, 1e7});
    }
    for (int i = 0; i < 80; ++i) {
        layers[0].boxes.push_back(make.Next());
        layers[0].groups.push_back(make.Below(3));
    }
    const auto found = SearchTwoLayers(layers, queryGroups);
    ExpectPairs(found[0], Expected(layers[0], queryGroups));
    EXPECT_TRUE(found[1].empty());
}

} // namespace
