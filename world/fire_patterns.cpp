// Firing shot parts: volleys, the six formations, the summons they lay out.
//
// Positions are stage pixels of the block map. A formation is computed
// from the shooter's screen box (L, T, R, B, W, H) plus the scroll
// position, the element size w x h, the spacing s (parameter 1 in hbl) and
// the count n; halves are integer halves. Every placement ends by adding
// the volley's offset. An angle a flies at (-v cos a, -v sin a): 0 degrees
// left, 90 up, 180 right, 270 down.

#include "world/fire_patterns.h"

#include <cmath>

#include "core/checked_access.h"
#include "data/ed_database.h"
#include "data/ed_key_cond.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "world/chara_obj.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"
#include "world/steering.h"
#include "world/summons.h"
#include "world/trunc.h"

namespace {

constexpr double kDiag = 0.7071067811865476; // 1 / sqrt(2)
constexpr double kDegToRad = 0.017453292519943295;

// The base angle of each direction code (2 left, 3 right, 6 up, 7 down,
// 8 up-left, 9 down-left, 10 up-right, 11 down-right).
constexpr int kBaseAngle[12] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};

bool IsDiagonal(int code)
{
    return code >= 8 && code <= 11;
}

int BaseAngle(int code)
{
    return code >= 0 && code < 12 ? kBaseAngle[code] : 0;
}

// Direction code of a shot part's direction mode for the shooter's facing.
// A code that names no direction (a fire direction of several keys, or a
// mode outside the table) flies forward.
int DirCodeOf(const cEdShot& def, const cCharaObj& shooter)
{
    const bool right = shooter.m_Facing != 0;
    int code = def.m_Dir;
    switch (def.m_Dir) {
    case 0:
        code = right ? 3 : 2;
        break;
    case 1:
        code = right ? 2 : 3;
        break;
    case 4:
        code = right ? 7 : 6;
        break;
    case 5:
        code = right ? 6 : 7;
        break;
    case 12: {
        const cFlowRun* flow = RunStage().m_CurFlowRun;
        code = DirectionCode(flow ? flow->m_FireDir : 0, shooter.m_Facing);
        break;
    }
    default:
        break;
    }
    const bool named = code == 2 || code == 3 || code == 6 || code == 7 || IsDiagonal(code);
    return named ? code : (right ? 3 : 2);
}

// The velocity of a direction code at speed v (diagonals by 1/sqrt(2)).
void CodeVelocity(ShotFireRequest& req, int code)
{
    const double v = req.m_Speed;
    const double d = v * kDiag;
    switch (code) {
    case 2:
        req.m_VX = -v, req.m_VY = 0;
        break;
    case 3:
        req.m_VX = v, req.m_VY = 0;
        break;
    case 6:
        req.m_VX = 0, req.m_VY = -v;
        break;
    case 7:
        req.m_VX = 0, req.m_VY = v;
        break;
    case 8:
        req.m_VX = -d, req.m_VY = -d;
        break;
    case 9:
        req.m_VX = -d, req.m_VY = d;
        break;
    case 10:
        req.m_VX = d, req.m_VY = -d;
        break;
    default:
        req.m_VX = d, req.m_VY = d;
        break;
    }
}

void AngleVelocity(ShotFireRequest& req, double degrees, double v)
{
    req.m_VX = -v * std::cos(degrees * kDegToRad);
    req.m_VY = -v * std::sin(degrees * kDegToRad);
}

// A character's screen box and the scroll position.
struct Frame {
    int L, T, R, B, W, H;
    double SX, SY;
};

Frame FrameOf(const cCharaObj& chara)
{
    const cRunningStage& stage = RunStage();
    return {chara.m_ScrLeft,
            chara.m_ScrTop,
            chara.m_ScrRight,
            chara.m_ScrBottom,
            chara.m_ScrRight - chara.m_ScrLeft + 1,
            chara.m_ScrBottom - chara.m_ScrTop + 1,
            stage.m_ScrollX.m_Pos,
            stage.m_ScrollY.m_Pos};
}

// What a formation is laid out from: the element count, the screen box of
// the character it centres on, the direction code and the element size.
struct Layout {
    int n;
    Frame f;
    int code, w, h;
};

Layout LayoutOf(const cEdShot& def, const cCharaObj& chara, const ShotFireRequest& req)
{
    return {def.m_Count, FrameOf(chara), req.m_DirCode, req.m_Width, req.m_Height};
}

cCharaObj* TargetOf(const cCharaObj& shooter)
{
    return RunStage().FindCharaByNumber(shooter.m_TargetNo);
}

// Where a single element sits beside the shooter for a direction code.
void SidePoint(const Frame& f, int code, int w, int h, int& x, int& y)
{
    const int sx = TruncToInt(f.SX);
    const int sy = TruncToInt(f.SY);
    switch (code) {
    case 2:
    case 3:
        x = code == 2 ? sx + f.L + 1 - w : sx + f.R + 1;
        y = sy + f.T + (f.H >> 1) - (h >> 1);
        return;
    case 6:
    case 7:
        x = sx + f.L + (f.W >> 1) - (w >> 1);
        y = code == 6 ? sy + f.T - h : sy + f.B + 1;
        return;
    default: {
        const int dx =
            code <= 9 ? 1 - (f.W >> 1) - (w >> 1) : f.R - f.L - (f.W >> 1) + (w >> 1) + 1;
        const int dy = code == 8 || code == 10 ? -((f.H >> 1) + (h >> 1))
                                               : f.B - f.T - (f.H >> 1) + (h >> 1) + 1;
        x = TruncToInt(sx + f.L + (f.W >> 1) + kDiag * dx - (w >> 1));
        y = TruncToInt(sy + f.T + (f.H >> 1) + kDiag * dy - (h >> 1));
        return;
    }
    }
}

// The shooter's centre in stage pixels plus the volley's offset.
double CentreX(const Frame& f, const ShotFireRequest& req)
{
    return TruncToInt(f.SX) + f.L + (f.W >> 1) + req.m_OffsetX;
}

double CentreY(const Frame& f, const ShotFireRequest& req)
{
    return TruncToInt(f.SY) + f.T + (f.H >> 1) + req.m_OffsetY;
}

// The flight angle of the base element: toward the target from its centre
// when aimed, else the direction's base angle.
int BaseAimAngle(ShotFireRequest& req, cCharaObj& shooter, const cEdShot& def)
{
    if (!def.m_Aim) return BaseAngle(req.m_DirCode);
    return AimAngle(req.m_BaseX + (req.m_Width >> 1), req.m_BaseY + (req.m_Height >> 1), shooter,
                    def, req);
}

// The velocity of a row: its direction code's own, or, once turned or aimed,
// the base element's angle plus the volley's.
void RowVelocity(ShotFireRequest& req, cCharaObj& shooter, const cEdShot& def)
{
    if (req.m_Angle == 0 && !def.m_Aim) {
        CodeVelocity(req, req.m_DirCode);
        return;
    }
    const int aim = BaseAimAngle(req, shooter, def); // aiming may set the speed
    AngleVelocity(req, aim + req.m_Angle, req.m_Speed);
}

void AddOffsets(ShotFireRequest& req)
{
    req.m_BaseX += req.m_OffsetX;
    req.m_BaseY += req.m_OffsetY;
}

void SpawnAt(std::list<cShotObj>& shots, ShotFireRequest& req, cCharaObj& shooter, cCommandRun& run,
             const cEdShot& def, int x, int y)
{
    req.m_X = x;
    req.m_Y = y;
    SpawnShotElement(shots, req, shooter, run, def);
}

// Spawns the n elements of a row from the base point along the step.
void SpawnRow(std::list<cShotObj>& shots, ShotFireRequest& req, cCharaObj& shooter,
              cCommandRun& run, const cEdShot& def, int n)
{
    for (int i = 0; i < n; ++i)
        SpawnAt(shots, req, shooter, run, def, req.m_BaseX + i * req.m_StepX,
                req.m_BaseY + i * req.m_StepY);
}

// "直進A": a row across the flight direction, centred beside the shooter,
// or turned with the flight when the formation rotates.
void PatternRowA(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                 const cEdShot& def, ShotFireRequest& req)
{
    const auto [n, f, code, w, h] = LayoutOf(def, shooter, req);
    if (n == 0) return;
    const int s = HblToPixels(def.m_PatternParams[0]);
    const bool straight = req.m_Angle == 0 && !def.m_Aim;
    if (straight || !def.m_AimMode) {
        int px = 0, py = 0;
        SidePoint(f, code, w, h, px, py);
        if (code == 2 || code == 3) {
            req.m_BaseX = px;
            req.m_BaseY = py - (n - 1) * ((s >> 1) + (h >> 1));
            req.m_StepX = 0;
            req.m_StepY = s + h;
        } else if (code == 6 || code == 7) {
            req.m_BaseX = px - (n - 1) * ((s >> 1) + (w >> 1));
            req.m_BaseY = py;
            req.m_StepX = s + w;
            req.m_StepY = 0;
        } else {
            const bool falling = code == 8 || code == 11; // the row's y grows along it
            const double along = kDiag * (n - 1);
            req.m_BaseX = TruncToInt(px - along * ((s >> 1) + (w >> 1)));
            req.m_BaseY = TruncToInt(falling ? py + along * ((s >> 1) + (h >> 1))
                                             : py - along * ((s >> 1) + (h >> 1)));
            req.m_StepX = TruncToInt(kDiag * (s + w));
            req.m_StepY = TruncToInt(falling ? -kDiag * (s + h) : kDiag * (s + h));
        }
        AddOffsets(req);
        RowVelocity(req, shooter, def);
        SpawnRow(shots, req, shooter, run, def, n);
        return;
    }
    int a = def.m_Aim ? AimAngle(CentreX(f, req), CentreY(f, req), shooter, def, req) + req.m_Angle
                      : req.m_Angle + BaseAngle(code);
    RotatePlacement(req, shooter, a);
    if (def.m_Aim)
        a = AimAngle(req.m_BaseX + (w >> 1) + req.m_OffsetX, req.m_BaseY + (h >> 1) + req.m_OffsetY,
                     shooter, def, req) +
            req.m_Angle;
    const double sa = std::sin(a * kDegToRad);
    const double ca = std::cos(a * kDegToRad);
    // The row lies across the flight line; its signs follow the quadrant.
    const double sign = (sa >= 0 && ca >= 0) || (sa < 0 && ca < 0) ? 1.0 : -1.0;
    const double cx = req.m_BaseX;
    const double cy = req.m_BaseY;
    req.m_BaseX = TruncToInt(cx - sign * sa * ((s >> 1) + (w >> 1)) * (n - 1));
    req.m_StepX = TruncToInt(sign * sa * (s + w));
    req.m_BaseY = TruncToInt(cy + sign * ca * ((s >> 1) + (h >> 1)) * (n - 1));
    req.m_StepY = TruncToInt(-sign * ca * (s + h));
    AddOffsets(req);
    req.m_VX = -req.m_Speed * ca;
    req.m_VY = -req.m_Speed * sa;
    SpawnRow(shots, req, shooter, run, def, n);
}

// "直進B": a column standing on the shooter's foot line, growing upward.
void PatternRowB(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                 const cEdShot& def, ShotFireRequest& req)
{
    const auto [n, f, code, w, h] = LayoutOf(def, shooter, req);
    if (n == 0) return;
    const int s = HblToPixels(def.m_PatternParams[0]);
    const bool vertical = code == 6 || code == 7;
    const bool left = code == 2 || code == 8 || code == 9 || (vertical && !shooter.m_Facing);
    req.m_BaseX = TruncToInt(f.SX) + (left ? f.L + 1 - w : f.R + 1);
    req.m_BaseY = TruncToInt(f.SY) + f.B - h + 1;
    req.m_StepX = 0;
    req.m_StepY = -(s + h);
    AddOffsets(req);
    RowVelocity(req, shooter, def);
    SpawnRow(shots, req, shooter, run, def, n);
}

// "拡散": a fan of n directions g degrees apart from one point.
void PatternFan(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                const cEdShot& def, ShotFireRequest& req)
{
    const auto [n, f, code, w, h] = LayoutOf(def, shooter, req);
    if (n == 0) return;
    if ((req.m_Angle != 0 || def.m_Aim) && def.m_AimMode) {
        const int a = (def.m_Aim ? AimAngle(CentreX(f, req), CentreY(f, req), shooter, def, req)
                                 : BaseAngle(code)) +
                      req.m_Angle;
        RotatePlacement(req, shooter, a);
    } else {
        SidePoint(f, code, w, h, req.m_BaseX, req.m_BaseY);
    }
    AddOffsets(req);
    const int centre = BaseAimAngle(req, shooter, def);
    const double g = def.m_PatternParams[0];
    const double half = n % 2 ? n / 2 : n / 2 - 0.5;
    const double first = centre + req.m_Angle - g * half;
    const double v = std::fabs(req.m_Speed);
    for (int i = 0; i < n; ++i) {
        AngleVelocity(req, first + i * g, v);
        SpawnAt(shots, req, shooter, run, def, req.m_BaseX, req.m_BaseY);
    }
}

// "落雷": from the edge of the view toward the shooter's target, in rows
// across the flight line.
void PatternThunder(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                    const cEdShot& def, ShotFireRequest& req)
{
    const cCharaObj* target = TargetOf(shooter);
    if (!target) return;
    const auto [n, t, code, w, h] = LayoutOf(def, *target, req);
    if (n == 0) return;
    const int kw = TruncToInt(kDiag * w);
    const int kh = TruncToInt(kDiag * h);
    const double cx = t.L + (t.W >> 1);
    const double cy = t.T + (t.H >> 1);
    double x = 0, y = 0;
    int stepX = 0, stepY = 0;
    switch (code) {
    case 2:
    case 3:
        x = code == 2 ? t.SX + 640 - w : t.SX;
        y = t.SY + t.T + (t.H >> 1) - (h >> 1);
        stepX = code == 2 ? -w : w;
        break;
    case 6:
    case 7:
        x = t.SX + t.L + (t.W >> 1) - (w >> 1);
        y = code == 6 ? t.SY + 480 - h : t.SY;
        stepY = code == 6 ? -h : h;
        break;
    default: {
        // The edge that the 45-degree line through the target's centre meets first.
        const double dR = 640 - cx, dL = cx, dB = 480 - cy, dT = cy;
        if (code == 8) {
            x = dR < dB ? t.SX + 640 - w : t.SX + cx + dB - w;
            y = dR < dB ? t.SY + cy + dR - h : t.SY + 480 - h;
        } else if (code == 9) {
            x = dR < dT ? t.SX + 640 - w : t.SX + cx + dT - w;
            y = dR < dT ? t.SY + cy - dR : t.SY;
        } else if (code == 10) {
            x = dL < dB ? t.SX : t.SX + cx - dB;
            y = dL < dB ? t.SY + cy + dL - h : t.SY + 480 - h;
        } else {
            x = dL < dT ? t.SX : t.SX + cx - dT;
            y = dL < dT ? t.SY + cy - dL : t.SY;
        }
        stepX = code <= 9 ? -kw : kw;
        stepY = code == 8 || code == 10 ? -kh : kh;
        break;
    }
    }
    const int rows = def.m_PatternParams[1];
    const int c = HblToPixels(def.m_PatternParams[2]);
    int rowX = 0, rowY = 0;
    if (rows >= 2) {
        const int spread = ((rows - 1) >> 1) * c + (rows % 2 == 0 ? def.m_PatternParams[2] * 8 : 0);
        const int kc = TruncToInt(kDiag * c);
        const int kf = TruncToInt(kDiag * spread);
        if (code == 2 || code == 3) {
            rowY = c;
            y -= spread;
        } else if (code == 6 || code == 7) {
            rowX = c;
            x -= spread;
        } else if (code == 8 || code == 11) {
            rowX = kc, rowY = -kc;
            x -= kf;
            y += kf;
        } else {
            rowX = kc, rowY = kc;
            x -= kf;
            y -= kf;
        }
    }
    req.m_BaseX = TruncToInt(x);
    req.m_BaseY = TruncToInt(y);
    req.m_StepX = stepX;
    req.m_StepY = stepY;
    req.m_RowStepX = rowX;
    req.m_RowStepY = rowY;
    AddOffsets(req);
    if (req.m_Angle != 0)
        AngleVelocity(req, BaseAngle(code) + req.m_Angle, req.m_Speed);
    else
        CodeVelocity(req, code);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < rows; ++j)
            SpawnAt(shots, req, shooter, run, def, req.m_BaseX + i * stepX + j * rowX,
                    req.m_BaseY + i * stepY + j * rowY);
}

// "爆発": n directions evenly round the shooter's centre.
void PatternBurst(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                  const cEdShot& def, ShotFireRequest& req)
{
    const int n = def.m_Count;
    if (n == 0) return;
    const Frame f = FrameOf(shooter);
    req.m_BaseX = TruncToInt(f.L + (f.W >> 1) + f.SX - (req.m_Width >> 1));
    req.m_BaseY = TruncToInt(f.T + (f.H >> 1) + f.SY - (req.m_Height >> 1));
    AddOffsets(req);
    const double v = std::fabs(req.m_Speed);
    for (int i = 0; i < n; ++i) {
        AngleVelocity(req, BaseAngle(req.m_DirCode) + req.m_Angle + i * 360.0 / n, v);
        SpawnAt(shots, req, shooter, run, def, req.m_BaseX, req.m_BaseY);
    }
}

// "包囲": a ring round the shooter's target, flying inward.
void PatternSurround(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run,
                     const cEdShot& def, ShotFireRequest& req)
{
    const cCharaObj* target = TargetOf(shooter);
    const int n = def.m_Count;
    if (!target || n == 0) return;
    const Frame t = FrameOf(*target);
    req.m_BaseX = TruncToInt(t.L + (t.W >> 1) + t.SX - (req.m_Width >> 1) + req.m_OffsetX);
    req.m_BaseY = TruncToInt(t.T + (t.H >> 1) + t.SY - (req.m_Height >> 1) + req.m_OffsetY);
    const double r = HblToPixels(def.m_PatternParams[0]);
    const double v = std::fabs(req.m_Speed);
    for (int i = 0; i < n; ++i) {
        const double a = BaseAngle(req.m_DirCode) + req.m_Angle + i * 360.0 / n;
        const double ca = std::cos(a * kDegToRad);
        const double sa = std::sin(a * kDegToRad);
        req.m_VX = -v * ca;
        req.m_VY = -v * sa;
        SpawnAt(shots, req, shooter, run, def, req.m_BaseX + TruncToInt(r * ca + 0.5),
                req.m_BaseY + TruncToInt(r * sa + 0.5));
    }
}

// The volley's angle: the mirrored base plus its step, with a fresh spread.
int VolleyAngle(const cEdShot& def, const cCharaObj& shooter, int volley)
{
    int angle = def.m_Angle + def.m_AngleStep * volley;
    if (def.m_AngleMirror && shooter.m_Facing) angle = 360 - angle;
    const int r = def.m_AngleRandom;
    if (r != 0) angle += Random() % (2 * r + 1) - r;
    return angle;
}

// The palette a summon takes its definition from: 0 common, 1 the stage's.
template <class T>
std::vector<T>& SummonList(const cEdShot& def, std::vector<T>& common, std::vector<T>& stage)
{
    return def.m_SummonPalette == 0 ? common : stage;
}

bool SummonIndexValid(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// One summon volley: copy 0, speed 1, angle 0, the offsets of volley 0.
void FireSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def, int size)
{
    cRunningStage& stage = RunStage();
    if (def.m_Pattern >= kFirePatterns) return;
    shooter.RefreshScreenBox();
    ShotFireRequest req;
    req.m_CopyNo = 0;
    req.m_Speed = 1.0;
    req.m_Angle = 0;
    req.m_Width = req.m_Height = size;
    req.m_DirCode = DirCodeOf(def, shooter);
    req.m_OffsetX = TruncToInt(def.GetOffsetX(0, shooter.m_Facing));
    req.m_OffsetY = TruncToInt(def.GetOffsetY(0, shooter.m_Facing));
    g_ShotPatternProc[def.m_Pattern](stage.m_ShotList, shooter, run, def, req);
}

// A shot set up for the request, returned to be built where the stage
// takes it: no copy of it is made and then dropped.
cShotObj FiredShot(cCharaObj& shooter, const cEdShot& def, ShotFireRequest& request)
{
    cShotObj shot;
    shot.SetupShot(shooter, 11, def, request);
    return shot;
}

} // namespace

void FireShot(std::list<cShotObj>& shots, cCharaObj& shooter, cCommandRun& run, const cEdShot& def)
{
    const int size = HblToPixels(def.m_Size == 0 ? 1 : def.m_Size);
    ShotFireRequest req;
    req.m_Width = req.m_Height = size;
    req.m_DirCode = DirCodeOf(def, shooter);
    if (shooter.m_Operator == 1) {
        shooter.UpdateScreenBox();
        if (cCharaObj* target = TargetOf(shooter); target && target->m_Operator == 1)
            target->UpdateScreenBox();
    }
    req.m_Angle = VolleyAngle(def, shooter, 0);
    req.m_Speed = def.m_Speed * 0.1;
    req.m_Range = def.m_MoveTime;
    req.m_Time = def.m_LifeTime;
    for (int i = 0; i <= def.m_Repeat; ++i) {
        req.m_CopyNo = i;
        req.m_OffsetX = TruncToInt(def.GetOffsetX(i, shooter.m_Facing));
        req.m_OffsetY = TruncToInt(def.GetOffsetY(i, shooter.m_Facing));
        if (def.m_Pattern < kFirePatterns)
            g_ShotPatternProc[def.m_Pattern](shots, shooter, run, def, req);
        if (i == def.m_Repeat) break;
        req.m_Speed += def.m_SpeedStep * 0.1;
        req.m_Angle = VolleyAngle(def, shooter, i + 1);
        req.m_Range += def.m_MoveTimeStep;
        req.m_Time += def.m_LifeTimeStep;
    }
}

void FireCharaSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def)
{
    std::vector<cEdChara>& list =
        SummonList(def, g_CommonPalette.PaletteCharas, g_Stage.PaletteCharas);
    if (!SummonIndexValid(def.m_SummonIndex, list.size())) return;
    const cEdChara& chara = list[static_cast<std::size_t>(def.m_SummonIndex)];
    if (chara.nOperator != 1) return;
    FireSummon(shooter, run, def, chara.nSize * 32);
}

void FireItemSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def)
{
    std::vector<cEdItem>& list =
        SummonList(def, g_CommonPalette.PaletteItems, g_Stage.PaletteItems);
    if (!SummonIndexValid(def.m_SummonIndex, list.size())) return;
    FireSummon(shooter, run, def, list[static_cast<std::size_t>(def.m_SummonIndex)].nSize * 32);
}

void FireBlockSummon(cCharaObj& shooter, cCommandRun& run, const cEdShot& def)
{
    std::vector<cEdBlock>& list =
        SummonList(def, g_CommonPalette.PaletteBlocks, g_Stage.PaletteBlocks);
    if (!SummonIndexValid(def.m_SummonIndex, list.size())) return;
    FireSummon(shooter, run, def, 32);
}

void SpawnShotElement(std::list<cShotObj>&, ShotFireRequest& request, cCharaObj& shooter,
                      cCommandRun& run, const cEdShot& def)
{
    cRunningStage& stage = RunStage();
    switch (run.m_Kind) {
    case 11: {
        cShotObj& shot = stage.AddShot(FiredShot(shooter, def, request));
        ++stage.m_BlockSerial;
        const bool aimed = def.m_MoveKind == 3 || def.m_MoveKind == 6;
        cCharaObj* target = aimed ? stage.FindCharaByNumber(shot.m_TargetNo) : nullptr;
        if (target) {
            if (!HoldsChara(target->m_AimedShots, shot.m_ObjNo))
                target->m_AimedShots.push_back(shot.m_ObjNo);
        } else {
            shot.m_TargetNo = -1;
        }
        break;
    }
    case 13: {
        std::vector<cEdBlock>& list =
            SummonList(def, g_CommonPalette.PaletteBlocks, g_Stage.PaletteBlocks);
        SummonBlock(request.m_X, request.m_Y, def, VecAt(list, def.m_SummonIndex));
        break;
    }
    case 14: {
        std::vector<cEdChara>& list =
            SummonList(def, g_CommonPalette.PaletteCharas, g_Stage.PaletteCharas);
        cEdChara& chara = VecAt(list, def.m_SummonIndex);
        const int facing = def.m_FlipFacing ? (shooter.m_Facing ? 0 : 1) : shooter.m_Facing;
        int group = chara.nGroup;
        if (def.m_GroupMode == 1)
            group = shooter.m_Group;
        else if (def.m_GroupMode == 2)
            group = def.m_GroupNumber;
        SummonChara(stage.m_CharaList, request.m_X, request.m_Y, group, facing, def, chara,
                    stage.m_CharaSerial);
        break;
    }
    case 15: {
        std::vector<cEdItem>& list =
            SummonList(def, g_CommonPalette.PaletteItems, g_Stage.PaletteItems);
        SummonItem(stage.m_ItemList, request.m_X, request.m_Y, def, VecAt(list, def.m_SummonIndex),
                   stage.m_ItemSerial);
        break;
    }
    default:
        break;
    }
}

int AimAngle(double x, double y, cCharaObj& shooter, const cEdShot& def, ShotFireRequest& request)
{
    cCharaObj* target = TargetOf(shooter);
    if (!target) return shooter.m_Facing ? 180 : 0;
    const cRunningStage& stage = RunStage();
    const Frame t = FrameOf(*target);
    const double tx = TruncToInt(t.SX) + t.L + (t.W >> 1);
    const double ty = TruncToInt(t.SY) + t.T + (t.H >> 1);
    const double direct = std::atan2(ty - y, tx - x) / kDegToRad + 180 + 0.5;
    const bool still = stage.m_ScrollX.FollowSpeed() == 0 && stage.m_ScrollY.FollowSpeed() == 0;
    if (still || def.m_Homing || !target->m_ScrollFollow) return TruncToInt(direct);
    // The view scrolls, the shot would not follow it and the target does: aim
    // where the target will be.
    const double b = g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
    const double speed = (def.m_Speed + def.m_SpeedStep * request.m_CopyNo) * 0.1 / b;
    double vx = 0, vy = 0;
    int direction = 0;
    SteerSolve(vx, vy, direction, target, x - t.SX, y - t.SY, t.L + (t.W >> 1), t.T + (t.H >> 1),
               speed, def.m_Homing, 0, 0);
    if (!std::isfinite(vx) || !std::isfinite(vy)) return TruncToInt(direct);
    request.m_Speed = std::sqrt(vx * vx + vy * vy) * b;
    return TruncToInt(std::atan2(vy, vx) / kDegToRad + 180);
}

void RotatePlacement(ShotFireRequest& request, cCharaObj& shooter, int angle)
{
    const Frame f = FrameOf(shooter);
    const int w = request.m_Width;
    const int h = request.m_Height;
    const double r = (f.B + (h >> 1) - f.T - (f.H >> 1) + 1) * kDiag;
    const double t = kDiag * ((w >> 1) + f.R - f.L - (f.W >> 1) + 1);
    const double th = (angle + 225) * kDegToRad;
    request.m_BaseX =
        TruncToInt(f.L + (f.W >> 1) + f.SX + r * std::sin(th) + t * std::cos(th) - (w >> 1));
    request.m_BaseY =
        TruncToInt(f.T + (f.H >> 1) + f.SY + t * std::sin(th) - r * std::cos(th) - (h >> 1));
}

const ShotPatternProc g_ShotPatternProc[kFirePatterns] = {
    PatternRowA, PatternRowB, PatternFan, PatternThunder, PatternBurst, PatternSurround};
