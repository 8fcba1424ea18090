// Solid characters against the other characters.
//
// A solid character acts on every other character like a moving block: it
// stops them at its sides (1.5 pixels short of it), they land on it and
// ride with it, it knocks against their heads, and two solids, or a solid
// and a wall, crush a character between them. A collision gathers up to
// four candidate positions (a new left edge from a solid on the left or on
// the right, a new top from a solid above or below, -1 for none) and then
// resolves them in a fixed order.

#include "world/solid_charas.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "data/ed_stage.h"
#include "world/block_collision.h"
#include "world/npc_obj.h"
#include "world/running_stage.h"

namespace {

constexpr double kNone = -1.0;
constexpr double kFeetStrip = 5.0;
constexpr int kUnstickSteps = 15;

double SubStepsF()
{
    return g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
}

DRect BoxOf(const cGameObj& o)
{
    return {o.m_X, o.m_Y, o.m_Right, o.m_Bottom};
}

// The list was taken in this sub-step and set-up, with this number of
// characters and this character counter.
bool SolidsKeyHolds(const cRunningStage& stage)
{
    const std::int32_t* held = stage.m_SolidsKey;
    return held[1] == stage.m_SubStepTotal && held[0] == stage.m_SetStageCount &&
           held[2] == stage.m_CharaSerial &&
           held[3] == static_cast<std::int32_t>(stage.m_CharaList.size());
}

// The list taken anew, out of line: the key test before it is the common
// case and stays cheap.
[[gnu::noinline]] void ListSolids(cRunningStage& stage)
{
    stage.m_Solids.clear();
    for (cNpcObj& chara : stage.m_CharaList)
        if (chara.m_Def.bSolid) stage.m_Solids.push_back(&chara);
    const std::int32_t key[4] = {stage.m_SetStageCount, stage.m_SubStepTotal, stage.m_CharaSerial,
                                 static_cast<std::int32_t>(stage.m_CharaList.size())};
    std::copy(std::begin(key), std::end(key), std::begin(stage.m_SolidsKey));
}

// The solid characters of the running stage in list order. The list is
// taken again when the sub-step, the set-up, the number of characters or
// the character counter changed since it was last taken (so an addition or
// a removal is always seen); presence and death are tested at each use.
const std::vector<cNpcObj*>& SolidList(cRunningStage& stage)
{
    if (!SolidsKeyHolds(stage)) ListSolids(stage);
    return stage.m_Solids;
}

bool ActsAsSolid(const cCharaObj& solid, const cCharaObj& self)
{
    return solid.m_Def.bSolid && solid.m_Present && !solid.m_Dying && solid.m_ObjNo != self.m_ObjNo;
}

// Calls f(solid) for each solid character other than self, in list order,
// until f answers true; true when one did.
template <class F> bool AnySolid(cCharaObj& self, F f)
{
    cRunningStage& stage = RunStage();
    const std::vector<cNpcObj*>& solids = SolidList(stage);
    for (std::size_t i = 0; i < solids.size(); ++i) {
        cNpcObj& solid = *solids[i];
        if (ActsAsSolid(solid, self) && f(solid)) return true;
    }
    return false;
}

// A segment or rectangle (inclusive) touches an object's box.
bool Touches(const cGameObj& o, double x1, double y1, double x2, double y2)
{
    return o.m_X <= x2 && o.m_Right >= x1 && o.m_Y <= y2 && o.m_Bottom >= y1;
}

// How far two intersecting boxes overlap along each axis.
void OverlapExtent(const DRect& a, const DRect& c, double& w, double& h)
{
    w = a.x2 >= c.x1 && c.x1 > a.x1 ? a.x2 - c.x1 + 1 : c.x2 - a.x1 + 1;
    h = a.y2 >= c.y1 && c.y1 > a.y1 ? a.y2 - c.y1 + 1 : c.y2 - a.y1 + 1;
}

// One candidate position with the solid that offered it.
struct Candidate {
    double pos = kNone;
    cNpcObj* solid = nullptr;
    double speed = 0; // the solid's x displacement (sides) or y speed (up, down)

    bool Exists() const { return pos != kNone; }
    // Greatest (lower = false) or smallest (lower = true) wins.
    void Offer(double value, cNpcObj& from, double fromSpeed, bool lower)
    {
        if (Exists() && (lower ? value >= pos : value <= pos)) return;
        pos = value;
        solid = &from;
        speed = fromSpeed;
    }
};

struct Candidates {
    Candidate left, right, up, down;
};

void ClearCeilingState(cCharaObj& c)
{
    c.m_JumpEnded = 1;
    c.m_Jumping = 1;
    c.m_JumpLatch = 1;
}

// --- the flight branch

[[gnu::noinline]] int CollideFlying(cCharaObj& c)
{
    Candidates k;
    bool touched = false;
    const double width = c.m_Width;
    const double height = c.m_Height;
    AnySolid(c, [&](cNpcObj& s) {
        if (!BoxOf(c).Intersects(BoxOf(s))) return false;
        touched = true;
        double w = 0, h = 0;
        OverlapExtent(BoxOf(c), BoxOf(s), w, h);
        if (w <= h) {
            if (Touches(s, c.m_X, c.m_Y + 1, c.m_X, c.m_Bottom - 1)) {
                c.m_ContactL = 1;
                k.left.Offer(s.m_Right + 1, s, s.m_SpeedX, false);
            }
            if (Touches(s, c.m_Right, c.m_Y + 1, c.m_Right, c.m_Bottom - 1)) {
                c.m_ContactR = 1;
                k.right.Offer(s.m_X - width, s, s.m_SpeedX, true);
            }
        } else {
            if (Touches(s, c.m_X + 1, c.m_Y, c.m_Right - 1, c.m_Y)) {
                c.m_ContactU = 1;
                k.up.Offer(s.m_Bottom + 1, s, s.m_SpeedY, false);
            }
            if (Touches(s, c.m_X + 1, c.m_Bottom, c.m_Right - 1, c.m_Bottom)) {
                c.m_ContactD = 1;
                k.down.Offer(s.m_Y - height, s, s.m_SpeedY, true);
            }
        }
        return false;
    });
    if (touched) c.FireFlows(5);
    if (c.m_BlockMode == 2)
        return k.left.Exists() || k.right.Exists() || k.up.Exists() || k.down.Exists() ? 2 : 0;
    std::list<cNpcObj>& list = RunStage().m_CharaList;
    // A solid moving away from the character drags it along the other axis
    // instead of pushing it back.
    if (k.left.Exists()) {
        c.m_InertiaX = 0;
        if (k.left.speed < 0 && c.m_SpeedX >= 0) {
            c.m_ContactL = 0;
            PushOutOfSolidCharas(c, list, 1);
        } else {
            c.m_X = k.left.pos;
            c.m_Rider = 1;
            c.OnMovedX();
        }
    }
    if (k.right.Exists()) {
        c.m_InertiaX = 0;
        if (k.right.speed > 0 && c.m_SpeedX <= 0) {
            c.m_ContactR = 0;
            PushOutOfSolidCharas(c, list, 1);
        } else {
            c.m_X = k.right.pos;
            c.m_Rider = 1;
            c.OnMovedX();
        }
    }
    if (k.up.Exists()) {
        c.m_InertiaY = 0;
        if (k.up.speed < 0 && c.m_SpeedY >= 0) {
            c.m_ContactU = 0;
            PushOutOfSolidCharas(c, list, 0);
        } else {
            c.m_Y = k.up.pos;
            c.OnMovedY();
        }
    }
    if (k.down.Exists()) {
        c.m_InertiaY = 0;
        if (k.down.speed > 0 && c.m_SpeedY <= 0) {
            c.m_ContactD = 0;
            PushOutOfSolidCharas(c, list, 0);
        } else {
            c.m_Y = k.down.pos;
            c.OnMovedY();
        }
    }
    return 0;
}

// --- the ground branch

// The character lands on (or is carried by) a solid below it.
void OfferLanding(cCharaObj& c, cNpcObj& s, Candidates& k)
{
    if (s.m_SpeedY < 0) c.m_ContactD = 1;
    const double value = s.m_Y - c.m_Height;
    if (k.down.Exists() && value >= k.down.pos) return;
    k.down = {value, &s, s.m_SpeedY};
    c.m_CarrierNo = s.m_ObjNo;
    c.m_CarrierBox = BoxOf(s);
}

void OfferLeft(cCharaObj& c, cNpcObj& s, Candidates& k)
{
    c.m_ContactL = 1;
    k.left.Offer(s.m_Right + 1.5, s, s.m_SpeedX, false);
}

void OfferRight(cCharaObj& c, cNpcObj& s, Candidates& k)
{
    c.m_ContactR = 1;
    k.right.Offer(s.m_X - c.m_Width - 0.5, s, s.m_SpeedX, true);
}

void ScanGround(cCharaObj& c, Candidates& k, bool& touched)
{
    // Without solid characters there is nothing to find.
    if (SolidList(RunStage()).empty()) return;
    const double mid = c.m_Y + c.m_Height / 2;
    const double low = c.m_Bottom - c.m_Height / 3;
    const double fall = 2.0 / SubStepsF();
    const double side = 0.4 / SubStepsF();
    // The saved horizontal extent with the current vertical one.
    const DRect sweep{c.m_SavedBox.x1, c.m_Y, c.m_SavedBox.x2, c.m_Bottom};
    AnySolid(c, [&](cNpcObj& s) {
        if (!BoxOf(c).Intersects(BoxOf(s))) return false;
        touched = true;
        const DRect upper{c.m_X, c.m_Y, c.m_Right, mid};
        if (upper.Intersects(BoxOf(s))) {
            double wU = 0, hU = 0;
            OverlapExtent(upper, BoxOf(s), wU, hU);
            const bool sweepMet = sweep.Intersects(s.m_SavedBox);
            if (c.m_SpeedY > fall && sweepMet && c.m_SavedBox.y1 < s.m_SavedBox.y1) {
                OfferLanding(c, s, k);
            } else if ((wU - hU > side && c.m_Bottom > s.m_Bottom) ||
                       (sweepMet && c.m_SavedBox.y1 > s.m_SavedBox.y1 &&
                        !c.m_SavedBox.Intersects(BoxOf(s)))) {
                if (s.m_SpeedY > 0) c.m_ContactU = 1;
                k.up.Offer(s.m_Bottom + 1, s, s.m_SpeedY, false);
                if (c.m_Riding && c.m_SpeedY < 0) c.m_ContactD = 1;
            } else {
                const bool leftFirst = c.m_SpeedX < 0;
                const bool leftMet = Touches(s, c.m_X, c.m_Y, c.m_X, mid);
                const bool rightMet = Touches(s, c.m_Right, c.m_Y, c.m_Right, mid);
                if (leftFirst ? leftMet : !rightMet && leftMet) OfferLeft(c, s, k);
                if (leftFirst ? !leftMet && rightMet : rightMet) OfferRight(c, s, k);
            }
            return false;
        }
        double w = 0, h = 0;
        OverlapExtent(BoxOf(c), BoxOf(s), w, h);
        if (h > w) {
            if (Touches(s, c.m_Right, c.m_Y, c.m_Right, c.m_Bottom)) OfferRight(c, s, k);
            if (Touches(s, c.m_X, c.m_Y, c.m_X, c.m_Bottom)) OfferLeft(c, s, k);
        } else if (Touches(s, c.m_X + 1, low, c.m_Right - 1, c.m_Bottom)) {
            OfferLanding(c, s, k);
        }
        return false;
    });
}

// Squeezed from both sides in the air: the character goes under the first
// solid over its upper half; sets the up contact when that one moves down.
void SqueezeUnder(cCharaObj& c, bool markUp)
{
    const double mid = c.m_Y + c.m_Height / 2;
    AnySolid(c, [&](cNpcObj& s) {
        if (!Touches(s, c.m_X, c.m_Y, c.m_Right, mid)) return false;
        c.m_InertiaY = 0;
        ClearCeilingState(c);
        c.m_SpeedY = s.m_SpeedY;
        c.m_Y = s.m_Bottom + 1;
        c.OnMovedY();
        if (markUp && s.m_SpeedY > 0) c.m_ContactU = 1;
        return true;
    });
    c.m_ContactL = 0;
    c.m_ContactR = 0;
}

// A head knock from the solid above. When that solid rises, the character
// is pushed down only where there is room: a copy of it with its top at the
// candidate (its bottom and cells as they are) must meet no block and no
// other solid.
void ResolveHead(cCharaObj& c, const Candidate& up)
{
    if (up.speed < 0) {
        cCharaObj moved;
        moved.CopyFrom(c);
        moved.m_Y = up.pos;
        if (moved.BoxHitsBlocks() ||
            OverlapsSolidCharaExcept(moved, RunStage().m_CharaList, up.solid->m_ObjNo))
            return;
    }
    c.m_Y = up.pos;
    ClearCeilingState(c);
    c.m_SpeedY = up.speed;
    c.m_InertiaY = 0;
    c.OnMovedY();
    CheckBlockCrushY(c);
}

// A landing on the solid below; false when the solid sinks into blocks.
bool ResolveLanding(cCharaObj& c, const Candidate& down)
{
    if (down.speed > 0 && c.BoxHitsBlocks()) {
        c.m_Riding = 0;
        return false;
    }
    c.m_InertiaY = 0;
    if (!c.m_Riding) {
        c.m_Riding = 1;
        if (c.m_IsPlayer) down.solid->FireFlows(16);
        down.solid->FireFlows(17);
    }
    c.m_Y = down.pos;
    c.OnMovedY();
    c.m_SpeedY = 0;
    c.m_AirSteps = 0;
    c.m_JumpEnded = 0;
    c.m_Jumping = 0;
    c.m_Airborne = 0;
    c.m_Knockback = 0;
    if (c.m_IsPlayer)
        static_cast<cPlayerObj&>(c).m_JumpForbid = 0;
    else
        c.m_JumpLatch = 0;
    return true;
}

void ResolveSide(cCharaObj& c, const Candidate& side)
{
    c.m_InertiaX = 0;
    if (!(side.solid && side.solid->m_ObjNo == c.m_CarrierNo && c.m_Riding)) c.m_Rider = 1;
    c.m_X = side.pos;
    c.OnMovedX();
}

// The nudges of Unstick, out of line: most boxes lie over empty cells.
[[gnu::noinline]] void NudgeOutOfBlocks(cCharaObj& c)
{
    struct Nudge {
        std::int32_t cCharaObj::*flag;
        bool horizontal;
        double step;
    };
    static constexpr std::array<Nudge, 4> kNudges = {{{&cCharaObj::m_ContactL, true, -0.1},
                                                      {&cCharaObj::m_ContactR, true, 0.1},
                                                      {&cCharaObj::m_ContactU, false, -0.1},
                                                      {&cCharaObj::m_ContactD, false, 0.1}}};
    for (const Nudge& n : kNudges) {
        if (!(c.*n.flag)) continue;
        for (int i = 0; i < kUnstickSteps && !CellBoxEmpty(c) && c.BoxHitsBlocks(); ++i) {
            if (n.horizontal) {
                c.m_X += n.step;
                c.OnMovedX();
            } else {
                c.m_Y += n.step;
                c.OnMovedY();
            }
        }
    }
}

// Nudges the box out of blocks, 0.1 pixel at a time, at most 15 times per
// contact flag.
void Unstick(cCharaObj& c)
{
    // A box over empty cells hits no block and is never nudged.
    if ((!c.m_ContactL && !c.m_ContactR && !c.m_ContactU && !c.m_ContactD) || CellBoxEmpty(c))
        return;
    NudgeOutOfBlocks(c);
}

void KeepRiding(cCharaObj& c)
{
    if (c.m_KnockY < 0) {
        c.SettleOnSolidChara(1);
        return;
    }
    if (!IsOnCarrier(c) && !IsOnAnySolidChara(c)) {
        c.SettleOnSolidChara(1);
        return;
    }
    if (cCharaObj* carrier = RunStage().FindCharaByNumber(c.m_CarrierNo))
        c.m_CarrierBox = BoxOf(*carrier);
    c.m_AirSteps = 0;
    c.m_Knockback = 0;
}

[[gnu::noinline]] int CollideWalkingAmongSolids(cCharaObj& c)
{
    const DRect entry = BoxOf(c);
    Candidates k;
    bool touched = false;
    ScanGround(c, k, touched);
    const bool up = k.up.Exists(), down = k.down.Exists();
    const bool left = k.left.Exists(), right = k.right.Exists();
    bool landed = false;
    bool sidesDone = false;
    if (up && !down) {
        ResolveHead(c, k.up);
    } else if (left && right && !down) {
        SqueezeUnder(c, false);
        sidesDone = true;
    } else if (down && !(left && right)) {
        landed = ResolveLanding(c, k.down);
    }
    if (!sidesDone) {
        if (left) ResolveSide(c, k.left);
        if (right) ResolveSide(c, k.right);
        if (left && right && !down) {
            c.m_X = entry.x1;
            c.OnMovedX();
            SqueezeUnder(c, true);
        }
    }
    if (touched || c.m_Riding) c.FireFlows(5);
    if (c.m_Riding) c.FireFlows(6);
    if ((c.m_ContactL && c.m_ContactR) || (c.m_ContactU && c.m_ContactD) ||
        CornersInSolidCharas(c, entry))
        return 2;
    Unstick(c);
    if (c.m_Riding && !landed) KeepRiding(c);
    return 0;
}

// Out of line: a character that flies through blocks leaves before it.
[[gnu::noinline]] int CollideWalking(cCharaObj& c)
{
    // Without solid characters a walker that rides none meets nothing and
    // fires nothing: the crush by contacts and the nudge out of blocks
    // remain (the corner test finds no solid either).
    if (!c.m_Riding && SolidList(RunStage()).empty()) {
        if ((c.m_ContactL && c.m_ContactR) || (c.m_ContactU && c.m_ContactD)) return 2;
        Unstick(c);
        // As after the full collision's nudge.
        if (c.m_Riding) KeepRiding(c);
        return 0;
    }
    return CollideWalkingAmongSolids(c);
}

// Feet strip: from the bottom edge 5 pixels down.
bool OnFeetStrip(const cCharaObj& c, const cGameObj& s)
{
    return s.m_X <= c.m_Right && s.m_Right >= c.m_X && s.m_Y <= c.m_Bottom + kFeetStrip &&
           s.m_Bottom >= c.m_Bottom;
}

} // namespace

int CollideSolidCharas(cCharaObj& chara, std::list<cNpcObj>&)
{
    if (chara.m_Flying && chara.m_BlockMode == 0) return 0;
    if (chara.m_Flying) return CollideFlying(chara);
    return CollideWalking(chara);
}

void PushOutOfSolidCharas(cCharaObj& c, std::list<cNpcObj>&, int axis)
{
    Candidates k;
    AnySolid(c, [&](cNpcObj& s) {
        if (!BoxOf(c).Intersects(BoxOf(s))) return false;
        if (axis == 0) {
            if (Touches(s, c.m_X, c.m_Y + 1, c.m_X, c.m_Bottom - 1)) {
                c.m_ContactL = 1;
                k.left.Offer(s.m_Right + 1, s, 0, false);
            }
            if (Touches(s, c.m_Right, c.m_Y, c.m_Right, c.m_Bottom)) {
                c.m_ContactR = 1;
                k.right.Offer(s.m_X - c.m_Width, s, 0, true);
            }
        } else {
            if (Touches(s, c.m_X + 1, c.m_Y, c.m_Right - 1, c.m_Y)) {
                c.m_ContactU = 1;
                k.up.Offer(s.m_Bottom + 1, s, 0, false);
            }
            if (Touches(s, c.m_X, c.m_Bottom, c.m_Right, c.m_Bottom)) {
                c.m_ContactD = 1;
                k.down.Offer(s.m_Y - c.m_Height, s, 0, true);
            }
        }
        return false;
    });
    for (const Candidate* side : {&k.left, &k.right}) {
        if (!side->Exists()) continue;
        if (!(side->solid->m_ObjNo == c.m_CarrierNo && c.m_Riding)) c.m_Rider = 1;
        c.m_X = side->pos;
        c.OnMovedX();
    }
    for (const Candidate* vertical : {&k.up, &k.down}) {
        if (!vertical->Exists()) continue;
        c.m_Y = vertical->pos;
        c.OnMovedY();
    }
}

int OverlapsSolidCharaExcept(cCharaObj& chara, std::list<cNpcObj>&, int exceptNo)
{
    if (chara.m_BlockMode == 0) return 0;
    return AnySolid(chara,
                    [&](cNpcObj& s) {
                        return s.m_ObjNo != exceptNo && BoxOf(chara).Intersects(BoxOf(s));
                    })
               ? 1
               : 0;
}

int IsOnCarrier(cCharaObj& chara)
{
    return AnySolid(
               chara,
               [&](cNpcObj& s) { return s.m_ObjNo == chara.m_CarrierNo && OnFeetStrip(chara, s); })
               ? 1
               : 0;
}

int IsOnAnySolidChara(cCharaObj& chara)
{
    return AnySolid(chara, [&](cNpcObj& s) { return OnFeetStrip(chara, s); }) ? 1 : 0;
}

int CornersInSolidCharas(cCharaObj& chara, const DRect& box)
{
    if (chara.m_BlockMode == 0 || SolidList(RunStage()).empty()) return 0;
    const double own[4][2] = {{chara.m_X, chara.m_Y},
                              {chara.m_Right, chara.m_Y},
                              {chara.m_X, chara.m_Bottom - 1},
                              {chara.m_Right, chara.m_Bottom - 1}};
    const double given[4][2] = {
        {box.x1, box.y1}, {box.x2, box.y1}, {box.x1, box.y2 - 1}, {box.x2, box.y2 - 1}};
    for (int i = 0; i < 4; ++i) {
        const bool held = AnySolid(chara, [&](cNpcObj& s) {
            return Touches(s, own[i][0], own[i][1], own[i][0], own[i][1]) ||
                   Touches(s, given[i][0], given[i][1], given[i][0], given[i][1]);
        });
        if (!held) return 0;
    }
    return 1;
}

int CarryRider(cCharaObj& chara, std::list<cNpcObj>&)
{
    if (chara.m_Flying) return 0;
    cCharaObj* carrier = RunStage().FindCharaByNumber(chara.m_CarrierNo);
    if (!carrier || carrier->m_IsPlayer || !ActsAsSolid(*carrier, chara)) return 0;
    chara.m_SpeedX += carrier->m_X - chara.m_CarrierBox.x1;
    chara.m_SpeedY = carrier->m_Y - chara.m_CarrierBox.y1;
    if (chara.m_IsPlayer) carrier->FireFlows(16);
    carrier->FireFlows(17);
    return 0;
}

int OverlapsSolidChara(cCharaObj& chara, std::list<cNpcObj>& charas)
{
    if (chara.m_BlockMode == 0) return 0;
    for (cNpcObj& s : charas)
        if (ActsAsSolid(s, chara) && BoxOf(chara).Intersects(BoxOf(s))) return 1;
    return 0;
}
