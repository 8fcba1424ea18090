// The texture back end's quad in software: which texel each destination
// pixel samples (stretched, shrunk, mirrored, wrapped, clipped), what the
// texture stage makes of a texel and the vertex colour, and the blend onto
// the target, all in exact integers.

#include <gtest/gtest.h>

#include <cmath>

#include "media/dd_quad.h"
#include "media/dd_state.h"

namespace {

// A one-row texture whose texel i holds blue i, opaque.
DDPixels RampTexture(int width)
{
    DDPixels t(DDFormat::A8R8G8B8, width, 1);
    for (int i = 0; i < width; ++i)
        t.set(i, 0, 0xFF000000u | static_cast<std::uint32_t>(i));
    return t;
}

struct SamplingCase {
    const char* name;
    int x, w, sx, sw;
    std::vector<int> texels; // sampled texel of target pixels 0, 1, ...
};

class QuadSampling : public testing::TestWithParam<SamplingCase> {};

TEST_P(QuadSampling, EachPixelSamplesTheTexelUnderItsCentre)
{
    const SamplingCase& c = GetParam();
    DDPixels texture = RampTexture(8);
    DDPixels target(DDFormat::A8R8G8B8, static_cast<int>(c.texels.size()), 1);
    target.fill(0xFF0000FFu);
    DDQUAD q;
    q.x = c.x;
    q.y = 0;
    q.w = c.w;
    q.h = 1;
    q.texture = &texture;
    q.sx = c.sx;
    q.sy = 0;
    q.sw = c.sw;
    q.sh = 1;
    DDDrawQuad(target, q);
    std::vector<int> got;
    for (int i = 0; i < target.width; ++i)
        got.push_back(static_cast<int>(target.get(i, 0) & 0xFF));
    EXPECT_EQ(got, c.texels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuadSampling,
    testing::Values(SamplingCase{"Identity", 0, 4, 2, 4, {2, 3, 4, 5}},
                    SamplingCase{"Twice", 0, 4, 0, 2, {0, 0, 1, 1}},
                    SamplingCase{"ThreeTimes", 0, 6, 0, 2, {0, 0, 0, 1, 1, 1}},
                    SamplingCase{"Quarter", 0, 2, 0, 8, {2, 6}},
                    SamplingCase{"Mirrored", 0, 4, 4, -4, {3, 2, 1, 0}},
                    SamplingCase{"MirroredTwice", 0, 4, 2, -2, {1, 1, 0, 0}},
                    SamplingCase{"WrapsPastTheTexture", 0, 4, 6, 4, {6, 7, 0, 1}},
                    SamplingCase{"NegativeDestinationWidth", 4, -4, 0, 4, {3, 2, 1, 0}},
                    SamplingCase{"ClippedLeft", -3, 6, 0, 6, {3, 4, 5, 255}},
                    SamplingCase{"ClippedRight", 2, 6, 0, 6, {255, 255, 0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Quad, ClipsAtTopAndLeftFromNegativeOrigin)
{
    DDPixels texture(DDFormat::A8R8G8B8, 4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            texture.set(x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x));
    DDPixels target(DDFormat::A8R8G8B8, 3, 3);
    DDQUAD q;
    q.x = -2;
    q.y = -1;
    q.w = 4;
    q.h = 3;
    q.texture = &texture;
    q.sw = 4;
    q.sh = 3;
    DDDrawQuad(target, q);
    EXPECT_EQ(target.get(0, 0) & 0xFF, 0x12u);
    EXPECT_EQ(target.get(1, 1) & 0xFF, 0x23u);
    EXPECT_EQ(target.get(2, 2), 0u) << "outside the quad";
}

struct StageCase {
    int op;
    std::uint32_t expected;
};

class StageOperation : public testing::TestWithParam<StageCase> {};

// Texel (a 200, r 100, g 50, b 250) with vertex colour (a 128, r 200, g 100,
// b 20); the alpha operation is the texel's alpha.
TEST_P(StageOperation, CombinesTexelAndVertexColour)
{
    DDQUAD q;
    q.arg2 = 0x80C86414u;
    q.colorOp = GetParam().op;
    q.alphaOp = D3DTOP_SELECTARG1;
    EXPECT_EQ(DDStageColor(0xC86432FAu, q), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ops, StageOperation,
                         testing::Values(StageCase{D3DTOP_SELECTARG1, 0xC86432FAu},
                                         StageCase{D3DTOP_SELECTARG2, 0xC8C86414u},
                                         StageCase{D3DTOP_MODULATE, 0xC84E1414u},
                                         StageCase{D3DTOP_MODULATE2X, 0xC89C2828u},
                                         StageCase{D3DTOP_ADD, 0xC8FF96FFu},
                                         StageCase{D3DTOP_ADDSIGNED, 0xC8AC168Eu},
                                         StageCase{D3DTOP_SUBTRACT, 0xC80000E6u},
                                         StageCase{D3DTOP_BLENDDIFFUSEALPHA, 0xC8964B87u}),
                         [](const auto& info) { return "Op" + std::to_string(info.param.op); });

TEST(Quad, ModulatedAlphaTakesTheVertexAlpha)
{
    DDQUAD q;
    q.arg2 = 0x80FFFFFFu;
    q.colorOp = D3DTOP_MODULATE;
    q.alphaOp = D3DTOP_MODULATE;
    EXPECT_EQ(DDStageColor(0xFF102030u, q), 0x80102030u);
}

struct BlendCase {
    std::uint32_t src, dst, expected;
};

class Blend : public testing::TestWithParam<BlendCase> {};

TEST_P(Blend, SourceOverDestinationByTheSourceAlpha)
{
    EXPECT_EQ(DDBlendOver(GetParam().src, GetParam().dst), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Blend,
                         testing::Values(BlendCase{0x00FF0000u, 0xFF0000FFu, 0xFF0000FFu},
                                         BlendCase{0xFFFF0000u, 0xFF0000FFu, 0xFFFF0000u},
                                         BlendCase{0x80FF0000u, 0xFF0000FFu, 0xBF80007Fu},
                                         BlendCase{0x80FF0000u, 0x000000FFu, 0x40800000u | 0x7Fu},
                                         BlendCase{0x01FFFFFFu, 0xFF000000u, 0xFE010101u}));

TEST(Quad, SixteenBitTexelsOntoTheFullScreenBackBuffer)
{
    DDPixels texture(DDFormat::A1R5G5B5, 2, 1);
    texture.set(0, 0, 0x8000u | 31u << 10 | 16u << 5 | 1u);
    texture.set(1, 0, 31u << 10); // alpha bit clear: transparent
    DDPixels target(DDFormat::R5G6B5, 2, 1);
    target.fill(0x1234);
    DDQUAD q;
    q.w = 2;
    q.h = 1;
    q.texture = &texture;
    q.sw = 2;
    q.sh = 1;
    DDDrawQuad(target, q);
    EXPECT_EQ(target.get(0, 0), 31u << 11 | 33u << 5 | 1u);
    EXPECT_EQ(target.get(1, 0), 0x1234u);
}

TEST(Quad, TranslucentTexelsBlendOnSixteenBitTargets)
{
    DDPixels target(DDFormat::A1R5G5B5, 1, 1);
    target.set(0, 0, 0x8000u); // opaque black
    DDQUAD q;
    q.w = 1;
    q.h = 1;
    q.arg2 = 0x80FFFFFFu; // no texture: the second argument alone
    q.colorOp = D3DTOP_SELECTARG2;
    q.alphaOp = D3DTOP_SELECTARG2;
    DDDrawQuad(target, q);
    // 255 x 128/255 = 128 in each channel: 5 bits of 16.
    EXPECT_EQ(target.get(0, 0), 0x8000u | 16u << 10 | 16u << 5 | 16u);
}

} // namespace

namespace {

// A translucent copy: each texel's alpha scaled by the vertex alpha, then
// blended. Rows of opaque texels, of opaque and transparent ones, and rows
// with translucent ones take different ways through the quad; all must give
// the blend of each pixel.
TEST(Quad, TranslucentCopyBlendsEachPixelByTheScaledAlpha)
{
    const int w = 37;
    DDPixels texture(DDFormat::A8R8G8B8, w, 3);
    DDPixels target(DDFormat::A8R8G8B8, w, 3);
    for (int x = 0; x < w; ++x) {
        const auto v = static_cast<std::uint32_t>(x * 7);
        texture.set(x, 0, 0xFF000000u | (v * 0x010305u & 0xFFFFFFu));
        texture.set(x, 1, (x == 5 ? 0x40000000u : 0xFF000000u) | (v * 0x030201u & 0xFFFFFFu));
        texture.set(x, 2, (x % 3 ? 0xFF000000u : 0u) | (v * 0x020503u & 0xFFFFFFu));
        target.set(x, 0, (v * 0x05030107u) | 0x10000000u);
        target.set(x, 1, v * 0x01020304u);
        target.set(x, 2, v * 0x03010502u);
    }
    const DDPixels before = target;
    DDQUAD q;
    q.w = w;
    q.h = 3;
    q.texture = &texture;
    q.sw = w;
    q.sh = 3;
    q.arg2 = 0x80FFFFFFu;
    q.colorOp = D3DTOP_MODULATE;
    q.alphaOp = D3DTOP_MODULATE;
    DDDrawQuad(target, q);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t t = texture.get(x, y);
            const std::uint32_t a = DDMul255(t >> 24, 0x80);
            EXPECT_EQ(target.get(x, y), DDBlendOver((t & 0xFFFFFFu) | a << 24, before.get(x, y)))
                << x << "," << y;
        }
    }
}

} // namespace

namespace {

// The blend computes two channels at a time; it must equal the blend done
// channel by channel for every alpha.
TEST(Quad, BlendEqualsTheChannelByChannelBlend)
{
    for (std::uint32_t a = 0; a < 256; ++a) {
        for (std::uint32_t v = 0; v < 256; v += 5) {
            const std::uint32_t s = a << 24 | v << 16 | (255 - v) << 8 | (v * 3 & 0xFF);
            const std::uint32_t d = (255 - v) << 24 | (v * 7 & 0xFF) << 16 | v << 8 | 255;
            std::uint32_t expected = d;
            if (a == 255) {
                expected = s;
            } else if (a != 0) {
                expected = 0;
                for (int shift = 0; shift < 32; shift += 8)
                    expected |=
                        (DDMul255((s >> shift) & 0xFF, a) + DDMul255((d >> shift) & 0xFF, 255 - a))
                        << shift;
            }
            ASSERT_EQ(DDBlendOver(s, d), expected) << a << " " << v;
        }
    }
}

} // namespace

namespace {

// A texture whose texel (x, y) holds x + 16 y in blue, opaque.
DDPixels GridTexture(int w, int h)
{
    DDPixels t(DDFormat::A8R8G8B8, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            t.set(x, y, 0xFF000000u | static_cast<std::uint32_t>(x + 16 * y));
    return t;
}

// The corners of the upright rectangle (x, y, w, h) from (sx, sy).
void UprightCorners(DDQUADCORNER c[4], int x, int y, int w, int h, int sx, int sy,
                    const DDPixels& tex)
{
    const float l = x - 0.5f, r = x + w - 0.5f, t = y - 0.5f, b = y + h - 0.5f;
    const float u0 = static_cast<float>(sx) / tex.width,
                u1 = static_cast<float>(sx + w) / tex.width;
    const float v0 = static_cast<float>(sy) / tex.height,
                v1 = static_cast<float>(sy + h) / tex.height;
    c[0] = {l, t, u0, v0};
    c[1] = {l, b, u0, v1};
    c[2] = {r, t, u1, v0};
    c[3] = {r, b, u1, v1};
}

TEST(QuadCorners, UprightCornersDrawWhatTheRectangleDraws)
{
    const DDPixels tex = GridTexture(8, 6);
    struct Rect {
        int x, y, w, h, sx, sy;
    };
    for (const Rect& r : {Rect{0, 0, 8, 6, 0, 0}, Rect{2, 1, 3, 4, 4, 1}, Rect{-2, -3, 5, 5, 1, 0},
                          Rect{5, 4, 6, 6, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        DDPixels byRect(DDFormat::A8R8G8B8, 7, 6), byCorners(DDFormat::A8R8G8B8, 7, 6);
        DDQUAD q;
        q.x = r.x;
        q.y = r.y;
        q.w = r.w;
        q.h = r.h;
        q.texture = &tex;
        q.sx = r.sx;
        q.sy = r.sy;
        q.sw = r.w;
        q.sh = r.h;
        DDDrawQuad(byRect, q);
        DDQUADCORNER c[4];
        UprightCorners(c, r.x, r.y, r.w, r.h, r.sx, r.sy, tex);
        DDDrawQuadCorners(byCorners, c, q);
        EXPECT_EQ(byCorners.storage(), byRect.storage());
    }
}

// Corners turned a quarter clockwise about the picture's centre: the left
// column becomes the top row.
TEST(QuadCorners, QuarterTurnMovesTheLeftColumnToTheTop)
{
    const DDPixels tex = GridTexture(3, 2);
    DDPixels target(DDFormat::A8R8G8B8, 2, 3);
    // Turned, the 3 x 2 picture is 2 wide and 3 high: top-left corner of the
    // picture goes to the top right.
    DDQUADCORNER c[4] = {
        {1.5f, -0.5f, 0, 0}, {-0.5f, -0.5f, 0, 1}, {1.5f, 2.5f, 1, 0}, {-0.5f, 2.5f, 1, 1}};
    DDQUAD q;
    q.texture = &tex;
    DDDrawQuadCorners(target, c, q);
    const std::uint32_t expected[3][2] = {{16, 0}, {17, 1}, {18, 2}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(target.get(x, y), 0xFF000000u | expected[y][x]) << x << "," << y;
}

// Pixel centres on the diagonal the two triangles share are drawn once: a
// translucent colour blended twice or not at all would show.
TEST(QuadCorners, TheSharedDiagonalIsDrawnOnce)
{
    DDPixels target(DDFormat::A8R8G8B8, 4, 4);
    target.fill(0xFF000000u);
    DDQUADCORNER c[4] = {{-0.5f, -0.5f}, {-0.5f, 3.5f}, {3.5f, -0.5f}, {3.5f, 3.5f}};
    DDQUAD q;
    q.arg2 = 0x80FFFFFFu;
    q.colorOp = D3DTOP_SELECTARG2;
    q.alphaOp = D3DTOP_SELECTARG2;
    DDDrawQuadCorners(target, c, q);
    const std::uint32_t once = DDBlendOver(0x80FFFFFFu, 0xFF000000u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.get(x, y), once) << x << "," << y;
}

// A picture turned by 45 degrees from the middle of a larger texture whose
// other texels are marked: no marked texel reaches the target, and pixels
// beyond the turned picture stay as they were.
TEST(QuadCorners, ATurnedPictureReadsOnlyItsSourceRectangle)
{
    DDPixels tex(DDFormat::A8R8G8B8, 12, 12);
    tex.fill(0xFFFF0000u);
    tex.fillRect(3, 3, 6, 6, 0xFF00FF00u);
    DDPixels target(DDFormat::A8R8G8B8, 16, 16);
    target.fill(0xFF0000FFu);
    const float s = std::sin(0.785398163f), co = std::cos(0.785398163f);
    DDQUADCORNER c[4];
    const float xs[4] = {-3, -3, 3, 3}, ys[4] = {-3, 3, -3, 3};
    for (int i = 0; i < 4; ++i) {
        c[i].x = 7.5f + xs[i] * co - ys[i] * s;
        c[i].y = 7.5f + xs[i] * s + ys[i] * co;
        c[i].u = (xs[i] < 0 ? 3.0f : 9.0f) / 12;
        c[i].v = (ys[i] < 0 ? 3.0f : 9.0f) / 12;
    }
    DDQUAD q;
    q.texture = &tex;
    DDDrawQuadCorners(target, c, q);
    int inside = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t p = target.get(x, y);
            ASSERT_NE(p, 0xFFFF0000u) << x << "," << y;
            if (p == 0xFF00FF00u) ++inside;
        }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(target.get(0, 0), 0xFF0000FFu);
    EXPECT_EQ(target.get(15, 15), 0xFF0000FFu);
}

} // namespace

namespace {

// Whatever way a row takes through the quad, each pixel is its texel's
// stage colour blended over the target: every colour operation with the
// texel's alpha, its modulation and the second colour's alpha, over texels
// of every alpha.
TEST(Quad, EveryStageDrawsTheStageColourBlended)
{
    const int w = 21;
    DDPixels texture(DDFormat::A8R8G8B8, w, 1);
    DDPixels before(DDFormat::A8R8G8B8, w, 1);
    for (int x = 0; x < w; ++x) {
        const auto v = static_cast<std::uint32_t>(x * 13);
        const std::uint32_t alpha = x % 4 == 0 ? 0 : (x % 4 == 1 ? 255 : v & 0xFF);
        texture.set(x, 0, alpha << 24 | (v * 0x030507u & 0xFFFFFFu));
        before.set(x, 0, (v * 0x07050301u) | 0x20000000u);
    }
    for (int op = D3DTOP_DISABLE; op <= D3DTOP_BLENDFACTORALPHA; ++op) {
        for (int alphaOp : {D3DTOP_SELECTARG1, D3DTOP_MODULATE, D3DTOP_SELECTARG2}) {
            SCOPED_TRACE(testing::Message() << "op " << op << " alpha " << alphaOp);
            DDPixels target = before;
            DDQUAD q;
            q.w = w;
            q.h = 1;
            q.texture = &texture;
            q.sw = w;
            q.sh = 1;
            q.arg2 = 0xC0A05030u;
            q.factor = 0x60000000u;
            q.colorOp = op;
            q.alphaOp = alphaOp;
            DDDrawQuad(target, q);
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(target.get(x, 0),
                          DDBlendOver(DDStageColor(texture.get(x, 0), q), before.get(x, 0)))
                    << x;
        }
    }
}

// Quads wider and taller than their texture, as the layers draw them: a
// picture tiled across the screen (its columns copied in runs), a picture
// of one texel, rows that repeat one texel row, a stretched picture. Every
// pixel is the texel under its centre, blended over what was there.
TEST(Quad, TiledAndStretchedPicturesSampleEveryPixelUnderItsCentre)
{
    struct Case {
        const char* name;
        int texW, texH;
        int x, y, w, h;
        int sx, sy, sw, sh;
    };
    const Case cases[] = {
        {"tiled", 24, 5, -7, 2, 150, 9, 5, 1, 150, 9},
        {"one texel", 1, 1, 0, 0, 150, 12, 0, 0, 150, 12},
        {"rows repeated", 24, 3, 3, 0, 120, 12, 2, 0, 120, 3},
        {"stretched", 24, 5, 0, 0, 150, 10, 4, 1, 40, 4},
        {"tiled backwards", 24, 5, 150, 0, -150, 6, 3, 0, 150, 6},
    };
    auto wrap = [](std::int64_t v, int size) {
        return static_cast<int>(((v % size) + size) % size);
    };
    auto floorDiv = [](std::int64_t a, std::int64_t b) {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDPixels texture(DDFormat::A8R8G8B8, c.texW, c.texH);
        for (int v = 0; v < c.texH; ++v)
            for (int u = 0; u < c.texW; ++u) {
                const auto n = static_cast<std::uint32_t>(v * c.texW + u);
                const std::uint32_t alpha = n % 5 == 0 ? 0 : (n % 5 == 1 ? 0x80 : 0xFF);
                texture.set(u, v, alpha << 24 | (n * 0x010305u & 0xFFFFFFu));
            }
        DDPixels before(DDFormat::A8R8G8B8, 160, 14);
        for (int y = 0; y < before.height; ++y)
            for (int x = 0; x < before.width; ++x)
                before.set(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 0x10101 + y * 7));
        DDPixels target = before;
        DDQUAD q;
        q.x = c.x;
        q.y = c.y;
        q.w = c.w;
        q.h = c.h;
        q.texture = &texture;
        q.sx = c.sx;
        q.sy = c.sy;
        q.sw = c.sw;
        q.sh = c.sh;
        DDDrawQuad(target, q);
        const int x0 = std::min(c.x, c.x + c.w), x1 = std::max(c.x, c.x + c.w);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                std::uint32_t want = before.get(x, y);
                if (x >= x0 && x < x1 && y >= c.y && y < c.y + c.h) {
                    const int u = wrap(c.sx + floorDiv((2 * (std::int64_t{x} - c.x) + 1) * c.sw,
                                                       2 * std::int64_t{c.w}),
                                       c.texW);
                    const int v = wrap(c.sy + floorDiv((2 * (std::int64_t{y} - c.y) + 1) * c.sh,
                                                       2 * std::int64_t{c.h}),
                                       c.texH);
                    want = DDBlendOver(texture.get(u, v), want);
                }
                ASSERT_EQ(target.get(x, y), want) << x << ", " << y;
            }
    }
}

// A colour of any alpha without a texture (a tint over the screen) is
// blended over every pixel of its rectangle, each as DDBlendOver gives it.
TEST(Quad, AColourWithoutTextureIsBlendedOverEveryPixel)
{
    DDPixels before(DDFormat::A8R8G8B8, 77, 3);
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x)
            before.set(x, y, static_cast<std::uint32_t>(x * 0x0301F7u + y * 0x51u) | 0x7F000000u);
    for (std::uint32_t alpha : {0u, 1u, 0x80u, 0xFEu, 0xFFu}) {
        SCOPED_TRACE(alpha);
        DDPixels target = before;
        DDQUAD q;
        q.x = 3;
        q.w = 70;
        q.h = 3;
        q.arg2 = alpha << 24 | 0x2A80F1u;
        q.colorOp = D3DTOP_SELECTARG2;
        q.alphaOp = D3DTOP_SELECTARG2;
        DDDrawQuad(target, q);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                const std::uint32_t want =
                    x >= 3 && x < 73 ? DDBlendOver(DDStageColor(0xFF000000u, q), before.get(x, y))
                                     : before.get(x, y);
                ASSERT_EQ(target.get(x, y), want) << x << ", " << y;
            }
    }
}

} // namespace
