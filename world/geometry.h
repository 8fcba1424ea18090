#pragma once
// The rectangle and hit-box records of the collision code. Boxes are
// doubles in pixels of the block map with inclusive edges: right = left +
// width - 1, bottom = top + height - 1; every overlap test is inclusive on
// all four sides.

#include <cstdint>
#include <limits>

struct DRect {
    double x1 = 0; // left
    double y1 = 0; // top
    double x2 = 0; // right
    double y2 = 0; // bottom

    // 1 when the two rectangles share at least one point (edges included).
    int Intersects(const DRect& other) const
    {
        return x1 <= other.x2 && x2 >= other.x1 && y1 <= other.y2 && y2 >= other.y1 ? 1 : 0;
    }
};

// A rectangle that holds no point and takes nothing in when it is joined
// to another by the least and greatest edges; it meets only a rectangle
// unbounded on all four sides, which no object has.
inline constexpr DRect kEmptyBox{
    std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};

// A character's box against characters, shots or items: its rectangle,
// then its place relative to the object's x and y at the current scale,
// then the same four before scaling.
struct HitBox {
    DRect m_Rect;
    std::int32_t m_OffX = 0;
    std::int32_t m_OffY = 0;
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_OffX0 = 0;
    std::int32_t m_OffY0 = 0;
    std::int32_t m_Width0 = 0;
    std::int32_t m_Height0 = 0;

    // Offsets and size, scaled and unscaled alike.
    void Set(int offX, int offY, int width, int height)
    {
        m_OffX = m_OffX0 = offX;
        m_OffY = m_OffY0 = offY;
        m_Width = m_Width0 = width;
        m_Height = m_Height0 = height;
    }
    // Each scaled member becomes s x its unscaled value.
    void Scale(int s)
    {
        m_OffX = s * m_OffX0;
        m_OffY = s * m_OffY0;
        m_Width = s * m_Width0;
        m_Height = s * m_Height0;
    }
    // The rectangle's x from the object's truncated x, and its y.
    void PlaceX(int xi)
    {
        m_Rect.x1 = xi + m_OffX;
        m_Rect.x2 = m_Rect.x1 + m_Width - 1;
    }
    void PlaceY(int yi)
    {
        m_Rect.y1 = yi + m_OffY;
        m_Rect.y2 = m_Rect.y1 + m_Height - 1;
    }
};
