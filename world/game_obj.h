#pragma once
// The base of every object of a running stage: the player, the computer
// characters, items and shots (cGameObj -> cCharaObj -> cPlayerObj,
// cNpcObj; cGameObj -> cItemObj; cGameObj -> cShotObj).
//
// It holds the object's box in map pixels (the author's stage lies at
// [320, 320 + 32W) x [320, 320 + 32H) inside a margin of 10 blocks), its
// speeds, its size at the current scale and unscaled, where its picture
// sits around the box, its animator and its per-sub-step flags; and the
// operations every object shares: set-up, the movement mode, scaling, the
// edge updates that keep it inside the scroll range, the stage or the
// world and report which edge it met, one sub-step of motion, gravity,
// inertia decay, the screen box, the visibility and removal-area tests and
// the block test of the box corners.
//
// Edge codes of UpdateEdgeX/Y (and so of StepX/Y):
//   0 inside the scroll range (or clamped in modes 0 and 1)
//   1 partly outside the scroll range (vertical: above it)
//   2 partly outside the stage (vertical: above it)
//   3 clamped at a world edge (vertical: the top one)
//   4 below the scroll range, 5 below the stage, 6 clamped at the bottom
//     world edge (vertical only)
// The character moves turn them into their results: 4 left the world
// sideways, 7 fell out of the stage, 8 left the world while flying.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "data/ed_stage.h"
#include "world/frame_seq.h"
#include "world/geometry.h"
#include "world/scroll_axis.h"
#include "world/trunc.h"

class cCommandRun;

// A removal area laid around the current view, with the world's outer
// edges: worked out once for a pass over many objects. Each limit is a pair
// (x, y); a side switched off is NaN, so that its comparison fails.
struct cAreaBounds {
    cAreaBounds() = default;
    explicit cAreaBounds(const cEdArea& area);
    double m_Before[2] = {0, 0}; // out when the far edge is at or before it (left, top)
    double m_Beyond[2] = {0, 0}; // out when the near edge is at or beyond it (right, bottom)
    double m_Outer[2] = {0, 0};  // the world's far edges less one pixel
};

class cGameObj {
public:
    cGameObj();
    cGameObj(const cGameObj&) = default;
    cGameObj(cGameObj&&) = default;
    cGameObj& operator=(const cGameObj&) = default;
    cGameObj& operator=(cGameObj&&) = default;
    virtual ~cGameObj();

    // Virtual operations in their slot order; from ScaleHitBox on they do
    // nothing here.
    // Copies every member of this base from another object.
    virtual void Assign(const cGameObj& other);
    // Rescales width, height and the picture's offsets and size from their
    // unscaled values, keeps the chosen point in place, then ScaleHitBox.
    virtual void SetScale(int newScale, int oldScale);
    virtual int ScaleHitBox(int scale);
    virtual void AdjustPosOnScale(int newScale, int oldScale);
    virtual void UpdateHitBoxX();
    virtual void UpdateHitBoxY();
    // The centring operations (characters): the argument is the wanted
    // centre on the screen; the Stop forms also stop the run's movement.
    virtual void SetCenter(int x, int y);
    virtual void SetCenterStop(int x, int y, cCommandRun& run);
    virtual void SetCenterX(int x);
    virtual void SetCenterXStop(int x, cCommandRun& run);
    virtual void SetCenterY(int y);
    virtual void SetCenterYStop(int y, cCommandRun& run);

    // Set-up: number, operator, input number, group and graphic; life
    // unlimited; the animator from the sequence source (when given) started
    // on firstSeq, forced; picture offsets and sizes, box size, facing and
    // copy number; speeds and inertias 0; not present, not on screen; then
    // SetFlyMode(flyMode).
    void SetupObj(int number, int op, int inputNo, int group, int graphicNo,
                  const FrameSeqTable& seqSource, int firstSeq, int picOffX, int picOffY,
                  int width, int height, int picWidth, int picHeight, int facing, int flyMode,
                  int copyNo);
    // The choices of "飛行": 0 walking (blocked by blocks), 1 flying through
    // blocks, 2 flying and blocked, 3 flying and killed by blocks; other
    // modes change nothing.
    void SetFlyMode(int mode);
    // KeepCentreX, then the virtual AdjustPosOnScale (nothing when equal).
    void RescalePos(int newScale, int oldScale);
    // x -= (new - old) x (unscaled width >> 1), then UpdateEdgeX(2).
    void KeepCentreX(int newScale, int oldScale);

    // Mode 0 keeps the box in the scroll range, 1 in the stage, 2 in the
    // world; then right, the hit boxes and the cells follow. The edge code.
    int UpdateEdgeX(int mode);
    int UpdateEdgeY(int mode);
    // The speed clamped to the stage's limit per sub-step, added to the
    // position, then the edge update of the mode.
    int StepX(int mode);
    int StepY(int mode);
    // UpdateEdgeX(2) and StepX(2) (the same along y) of an object whose hit
    // boxes are the two given, against the view's axis and with the stage's
    // finite speed limit: the same, with the boxes placed directly instead
    // of through the virtual update. Inline for the characters' moves.
    int FitInWorldX(const cScrollAxis& axis, HitBox& boxA, HitBox& boxB)
    {
        const int code = ClampInWorld(m_X, m_X + m_Width - 1, m_Width, axis, 3, 2, 1);
        m_Right = m_X + m_Width - 1;
        const int x = TruncToInt(m_X);
        boxA.PlaceX(x);
        boxB.PlaceX(x);
        m_CellLeft = x >> 5;
        m_CellRight = TruncToInt(m_Right) >> 5;
        return code;
    }
    int FitInWorldY(const cScrollAxis& axis, HitBox& boxA, HitBox& boxB)
    {
        const int code = ClampInWorld(m_Y, m_Y + m_Height - 1, m_Height, axis, 6, 5, 4);
        m_Bottom = m_Y + m_Height - 1;
        const int y = TruncToInt(m_Y);
        boxA.PlaceY(y);
        boxB.PlaceY(y);
        m_CellTop = y >> 5;
        m_CellBottom = TruncToInt(m_Bottom) >> 5;
        return code;
    }
    int StepInWorldX(double limit, const cScrollAxis& axis, HitBox& boxA, HitBox& boxB)
    {
        m_SpeedX = ClampedSpeed(m_SpeedX, limit);
        m_X += m_SpeedX;
        return FitInWorldX(axis, boxA, boxB);
    }
    int StepInWorldY(double limit, const cScrollAxis& axis, HitBox& boxA, HitBox& boxB)
    {
        m_SpeedY = ClampedSpeed(m_SpeedY, limit);
        m_Y += m_SpeedY;
        return FitInWorldY(axis, boxA, boxB);
    }
    // A speed within [-limit, limit]; a NaN speed stops.
    static double ClampedSpeed(double v, double limit)
    {
        return std::isnan(v) ? 0.0 : std::clamp(v, -limit, limit);
    }
    // Mode 2 of the edge update along one axis: clamps the near edge p at
    // the world's edges (far edge p + size - 1 given as far); the edge code,
    // with the far-side codes of the axis (x: 3, 2, 1; y: 6, 5, 4).
    static int ClampInWorld(double& p, double far, int size, const cScrollAxis& a, int clampFar,
                            int stageFar, int viewFar)
    {
        if (p < 0) {
            p = 0;
            return 3;
        }
        if (far >= a.m_Outer) {
            p = a.m_Outer - size;
            return clampFar;
        }
        if (p < a.m_Base) return 2;
        if (far >= a.m_Full) return stageFar;
        if (p < a.m_Min) return 1;
        if (far >= a.m_Max) return viewFar;
        return 0;
    }
    // y speed += the stage's gravity per sub-step, unless flying. Inline:
    // every walking object takes it each sub-step.
    void ApplyGravity()
    {
        if (!m_Flying) m_SpeedY += FiniteOr(g_Stage.dGravityStep, 0.0);
    }
    // Moves an inertia toward 0 by the deceleration, never past it;
    // nothing when not enabled.
    void DecayInertia(double& inertia, int enabled) const;
    // +1 facing right, -1 facing left.
    int FacingSign() const { return m_Facing ? 1 : -1; }
    // v per frame as a change per sub-step squared: v / sub-steps / 60.
    static double FrameToSubStep(double v);

    // The picture's rectangle on the screen.
    void UpdateScreenBox();
    // The box meets the 640 x 480 view at the current scroll position.
    int IsOnScreen() const;
    // The same with either half of the test skipped (both skipped: 1).
    int IsOnScreenAxes(int skipX, int skipY) const;
    // 0: inside the author's stage; 1: inside the whole world.
    int IsInsideStage(int wholeWorld) const;
    // Beyond a removal area's sides (never while on screen), or touching
    // the world's outer edge. The area is laid around the view once for a
    // pass over many objects.
    int IsOutsideArea(const cAreaBounds& b) const
    {
        if (m_OnScreen) return 0;
#if defined(__SSE2__)
        // Both axes at once; the packed comparisons fail on NaN as the
        // scalar ones do.
        const __m128d nearEdge = _mm_set_pd(m_Y, m_X);
        const __m128d farEdge = _mm_set_pd(m_Bottom, m_Right);
        __m128d out = _mm_cmple_pd(nearEdge, _mm_setzero_pd());
        out = _mm_or_pd(out, _mm_cmpge_pd(nearEdge, _mm_loadu_pd(b.m_Beyond)));
        out = _mm_or_pd(out, _mm_cmple_pd(farEdge, _mm_loadu_pd(b.m_Before)));
        out = _mm_or_pd(out, _mm_cmpge_pd(farEdge, _mm_loadu_pd(b.m_Outer)));
        return _mm_movemask_pd(out) != 0 ? 1 : 0;
#else
        return m_X <= 0 || m_Y <= 0 || m_X >= b.m_Beyond[0] || m_Y >= b.m_Beyond[1] ||
                       m_Right <= b.m_Before[0] || m_Bottom <= b.m_Before[1] ||
                       m_Right >= b.m_Outer[0] || m_Bottom >= b.m_Outer[1]
                   ? 1
                   : 0;
#endif
    }
    // One of the four corner cells of the box blocks the object's group.
    int BoxHitsBlocks() const;
    int OverlapsRect(double left, double top, double right, double bottom) const;
    // The base part of a placement on a cell: the picture's top-left on the
    // cell's, then RescalePos(scale, 1); the class's edge updates follow.
    void PlaceAtCellBase(int column, int row, int scale);

    // Members in an order chosen for speed: the box and its motion first,
    // then who the object is: the passes over every object each sub-step
    // read these, and together they share few cache lines. The picture
    // comes last.
    double m_X = 0;              // top-left of the box
    double m_Y = 0;
    double m_Right = 0;          // x + width - 1
    double m_Bottom = 0;         // y + height - 1
    std::int32_t m_CellLeft = 0; // int(edge) >> 5 of each edge ("cell box")
    std::int32_t m_CellTop = 0;
    std::int32_t m_CellRight = 0;
    std::int32_t m_CellBottom = 0;
    double m_SpeedX = 0; // "x movement of the sub-step"
    double m_SpeedY = 0;
    double m_InertiaX = 0;     // "walking speed along x"
    double m_InertiaY = 0;     // "flying speed along y"
    double m_Decel = 0;        // "stopping deceleration", per sub-step
    std::int32_t m_DecelX = 0; // 1: the inertia shrinks this sub-step ("inertia counters")
    std::int32_t m_DecelY = 0;
    std::int32_t m_ScrollFollow = 0; // moves with the auto-scroll ("auto-scroll sync switch")
    std::int32_t m_Width = 0;        // the box, scaled
    std::int32_t m_Height = 0;
    std::int32_t m_Width0 = 0; // unscaled
    std::int32_t m_Height0 = 0;
    std::int32_t m_Flying = 0;    // no gravity ("flight flag")
    std::uint8_t m_BlockMode = 1; // 0 through blocks, 1 blocked, 2 killed ("flight block mode")
    std::int32_t m_Present = 0;   // exists this sub-step
    std::int32_t m_OnScreen = 0;  // meets the view this sub-step
    std::int32_t m_ObjNo = 0;         // object number ("id")
    std::int32_t m_Life = 2147483647; // sub-steps left; 2147483647 unlimited ("life timer")
    std::int32_t m_Facing = 0;        // 1 right, 0 left
    std::int32_t m_Group = 0;    // 0 to 7
    std::int32_t m_Operator = 0; // 0 player side, 1 computer
    std::int32_t m_InputNo = 0;  // input record of a player character
    std::int16_t m_CopyNo = 0;        // copy of one placement or request, 0 first
    std::int32_t m_GraphicNo = 0;     // picture number within its sheet
    cFrameSeq m_Anime;                // the animator
    std::int32_t m_ScrLeft = 0;       // screen box ("graphic screen rectangle")
    std::int32_t m_ScrTop = 0;
    std::int32_t m_ScrRight = 0;
    std::int32_t m_ScrBottom = 0;
    std::int32_t m_PicOffX = 0; // the box's top-left inside the picture, scaled
    std::int32_t m_PicOffY = 0;
    std::int32_t m_PicWidth = 0; // the drawn picture, scaled
    std::int32_t m_PicHeight = 0;
    std::int32_t m_PicOffX0 = 0; // the same four unscaled
    std::int32_t m_PicOffY0 = 0;
    std::int32_t m_PicWidth0 = 0;
    std::int32_t m_PicHeight0 = 0;
};

// The 640 x 480 view at a scroll position, and which objects' boxes meet
// it on each axis. Read once, it serves a pass over many objects.
class cScreenView {
public:
    cScreenView(double left, double top)
        : m_Left(left), m_Top(top), m_RightEnd(left + 640), m_BottomEnd(top + 480)
    {
    }
    bool MeetsX(const cGameObj& obj) const { return obj.m_Right >= m_Left && m_RightEnd > obj.m_X; }
    bool MeetsY(const cGameObj& obj) const
    {
        return obj.m_Bottom >= m_Top && m_BottomEnd > obj.m_Y;
    }
    int Shows(const cGameObj& obj) const { return MeetsX(obj) && MeetsY(obj) ? 1 : 0; }

private:
    double m_Left;
    double m_Top;
    double m_RightEnd; // the first column and row past the view
    double m_BottomEnd;
};
