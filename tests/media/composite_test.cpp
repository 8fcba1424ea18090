// Drawings built from copies and fills, in one mode of each back end:
// frames, numbers from a digit strip, waves, strip shifts, card flips and
// four-way splits.

#include "media/graphics_fixture.h"

#include "media/dd_blit.h"
#include "media/dd_composite.h"

using namespace gfxtest;
using Grid = std::vector<std::vector<int>>;

namespace {

class Composite : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 16, 12));
        reader = std::make_unique<PaletteReader>();
    }
    void TearDown() override
    {
        for (DDSURFACEDATA* sd : {&a, &b, &dest})
            DDReleaseSurface(sd);
        TearDownMode();
    }
    void makeDest(int w, int h)
    {
        ASSERT_TRUE(DDCreateSurface(&dest, w, h, 0, 1, 0, 0, 0));
        DDClearPal(&dest, B);
    }
    std::vector<int> row(int y, int w) const { return reader->grid(dest, w, y + 1)[y]; }
    int column(int x, int colour, int h) const
    {
        for (int y = 0; y < h; ++y)
            if (reader->at(dest, x, y) == colour) return y;
        return -1;
    }

    static constexpr int B = 20;
    DDSURFACEDATA a, b, dest;
    std::unique_ptr<PaletteReader> reader;
};

TEST_P(Composite, FrameLiesInsideTheRectangleAndAroundThePicture)
{
    makeDest(6, 5);
    DDFrameRect(&dest, 1, 1, 4, 3, 1, 3);
    EXPECT_EQ(reader->grid(dest, 6, 5), (Grid{{B, B, B, B, B, B},
                                              {B, 3, 3, 3, 3, B},
                                              {B, 3, B, B, 3, B},
                                              {B, 3, 3, 3, 3, B},
                                              {B, B, B, B, B, B}}));
    ASSERT_TRUE(DDCreateSurface(&a, 2, 1, 0, 1, 0, 0, 0));
    Paint(&a, {{7, 8}});
    DDClearPal(&dest, B);
    DDBltFrame(&dest, 2, 2, 2, 1, &a, 1, 4);
    EXPECT_EQ(reader->grid(dest, 6, 5), (Grid{{B, B, B, B, B, B},
                                              {B, 4, 4, 4, 4, B},
                                              {B, 4, 7, 8, 4, B},
                                              {B, 4, 4, 4, 4, B},
                                              {B, B, B, B, B, B}}));
}

TEST_P(Composite, NumbersArePaddedToTheirField)
{
    // Digit d is colour d + 1 in a strip of cells one pixel wide.
    ASSERT_TRUE(DDCreateSurface(&a, 10, 1, 0, 1, 0, 0, 0));
    Paint(&a, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    makeDest(8, 1);
    struct Case {
        int value, digits, centre;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {42, 5, 0, {B, B, B, 5, 3, B, B, B}},
        {42, 5, 1, {B, 5, 3, B, B, B, B, B}}, // half of three cells, rounded down
        {123456, 5, 0, {2, 3, 4, 5, 6, 7, B, B}},
        {0, 3, 0, {B, B, 1, B, B, B, B, B}},
        {-7, 2, 0, {B, 1, B, B, B, B, B, B}}, // shown as 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        DDClearPal(&dest, B);
        DDDrawNumber(&dest, 0, 0, 1, 1, &a, 0, 0, 0, c.value, c.digits, c.centre);
        EXPECT_EQ(row(0, 8), c.expected);
    }
}

TEST_P(Composite, WaveWithoutAmplitudeDrawsThePictureUnchanged)
{
    ASSERT_TRUE(DDCreateSurface(&a, 5, 3, 0, 1, 0, 0, 0));
    const Grid picture = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}};
    Paint(&a, picture);
    makeDest(5, 3);
    for (int band : {1, 2, 7}) {
        for (int vertical : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "band " << band << " vertical " << vertical);
            DDClearPal(&dest, B);
            DDBltWave(&dest, 0, 0, 5, 3, 3, 0.0, 40, band, &a, 0, 0, 0, vertical);
            EXPECT_EQ(reader->grid(dest, 5, 3), picture);
        }
    }
    DDClearPal(&dest, B);
    DDBltWave(&dest, 0, 0, 5, 3, 3, 0.0, 40, 0, &a, 0, 0, 0, 1);
    EXPECT_EQ(reader->grid(dest, 5, 3)[0][0], B) << "no bands: nothing";
}

TEST_P(Composite, WaveAcrossAWidePictureTurnsByRealDegrees)
{
    // 400 columns: each adds 0.9 degrees, so column 99 stands at 90 degrees.
    ASSERT_TRUE(DDCreateSurface(&a, 400, 2, 0, 1, 0, 0, 0));
    DDClearPal(&a, 2);
    DDBoxFillPal(&a, 0, 0, 400, 1, 1);
    makeDest(400, 30);
    DDBltWave(&dest, 0, 10, 400, 2, 1, 10.0, 0, 1, &a, 0, 0, 0, 1);
    EXPECT_EQ(column(0, 1, 30), 10);
    EXPECT_EQ(column(99, 1, 30), 20);
    EXPECT_EQ(column(299, 1, 30), 0);
}

TEST_P(Composite, ShiftDrawsWholeStripsOnly)
{
    ASSERT_TRUE(DDCreateSurface(&a, 100, 1, 0, 1, 0, 0, 0));
    DDClearPal(&a, 1);
    makeDest(100, 5);
    DDBltShift(&dest, 0, 2, 100, 1, 30, 1, &a, 0, 0, 0, 1);
    EXPECT_EQ(column(0, 1, 5), 3) << "even strips move down";
    EXPECT_EQ(column(30, 1, 5), 1) << "odd strips move up";
    EXPECT_EQ(column(89, 1, 5), 3);
    EXPECT_EQ(column(90, 1, 5), -1) << "the last 10 columns are left out";
    DDClearPal(&dest, B);
    DDBltShift(&dest, 0, 0, 100, 1, 0, 1, &a, 0, 0, 0, 1);
    EXPECT_EQ(column(99, 1, 5), 0) << "no strips: a plain copy";
}

TEST_P(Composite, FlipTurnsBetweenTheTwoSides)
{
    ASSERT_TRUE(DDCreateSurface(&a, 4, 1, 0, 1, 0, 0, 0));
    DDClearPal(&a, 1);
    ASSERT_TRUE(DDCreateSurface(&b, 4, 1, 0, 1, 0, 0, 0));
    DDClearPal(&b, 2);
    makeDest(64, 1);
    struct Case {
        int counter, left, width, colour;
    };
    const Case cases[] = {
        {0, 0, 64, 1}, {31, 31, 2, 1}, {32, 31, 2, 2}, {63, 0, 64, 2}, {64, 0, 64, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.counter);
        DDClearPal(&dest, B);
        DDBltFlip(&dest, 0, 0, 64, 1, &a, 0, 0, &b, 0, 0, 4, 1, 0, c.counter, 0);
        std::vector<int> expected(64, B);
        for (int x = c.left; x < c.left + c.width; ++x)
            expected[x] = c.colour;
        EXPECT_EQ(row(0, 64), expected);
    }
}

TEST_P(Composite, FlipTooNarrowToTurnShowsTheFront)
{
    ASSERT_TRUE(DDCreateSurface(&a, 1, 1, 0, 1, 0, 0, 0));
    DDClearPal(&a, 1);
    ASSERT_TRUE(DDCreateSurface(&b, 1, 1, 0, 1, 0, 0, 0));
    DDClearPal(&b, 2);
    makeDest(3, 3);
    for (int counter : {0, 1, 5}) {
        DDBltFlip(&dest, 1, 1, 1, 1, &a, 0, 0, &b, 0, 0, 1, 1, 0, counter, 0);
        DDBltFlip(&dest, 0, 0, 1, 1, &a, 0, 0, &b, 0, 0, 1, 1, 0, counter, 1);
    }
    EXPECT_EQ(reader->at(dest, 1, 1), 1);
    EXPECT_EQ(reader->at(dest, 0, 0), 1);
    DDClearPal(&dest, B);
    DDBltFlip(&dest, 0, 0, 3, 3, &a, 0, 0, &b, 0, 0, 1, 1, 0, 0, 2);
    EXPECT_EQ(reader->at(dest, 0, 0), B) << "no such mode";
}

TEST_P(Composite, SplitWithoutGapReproducesThePicture)
{
    ASSERT_TRUE(DDCreateSurface(&a, 5, 3, 0, 1, 0, 0, 0));
    Paint(&a, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}});
    makeDest(7, 5);
    DDBltSplit(&dest, 1, 1, 4, 2, &a, 0, 0, 0, 0);
    EXPECT_EQ(reader->grid(dest, 7, 5), (Grid{{B, B, B, B, B, B, B},
                                              {B, 1, 2, 3, 4, B, B},
                                              {B, 6, 7, 8, 9, B, B},
                                              {B, B, B, B, B, B, B},
                                              {B, B, B, B, B, B, B}}));
    DDClearPal(&dest, B);
    DDBltSplit(&dest, 1, 1, 5, 3, &a, 0, 0, 0, 0);
    EXPECT_EQ(reader->grid(dest, 7, 5)[1], (std::vector<int>{B, 1, 2, 3, 4, B, B}))
        << "odd: one less";
    DDClearPal(&dest, B);
    DDBltSplit(&dest, 1, 1, 4, 2, &a, 0, 0, 1, 0);
    EXPECT_EQ(reader->grid(dest, 7, 5), (Grid{{1, 2, B, B, 3, 4, B},
                                              {B, B, B, B, B, B, B},
                                              {B, B, B, B, B, B, B},
                                              {6, 7, B, B, 8, 9, B},
                                              {B, B, B, B, B, B, B}}));
}

INSTANTIATE_TEST_SUITE_P(Modes, Composite, testing::Values(AllModes()[0], AllModes()[4]), ModeName);

} // namespace
