// Message objects: game waits, text windows, pop-ups; the pause wait record.

#include "world/message.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/dbcs.h"
#include "core/saturate.h"
#include "data/ed_save_data.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/font.h"
#include "world/chara_obj.h"
#include "world/graphic_ref.h"
#include "world/play_pictures.h"
#include "world/running_stage.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// A message kept on the screen stays below its top 20 rows.
constexpr int kScreenTop = 20;
constexpr int kMessageFont = 1;
constexpr int kIconSide = 16;
// The extra-life icon: a cell of "bmp\Accessory.bmp".
constexpr int kIconBitmap = 49;
constexpr int kIconCellX = 0;
constexpr int kIconCellY = 48;
// A pop-up rises one pixel every four frames of its 30.
constexpr int kPopupFrames = 30;
// The opening zoom shows the frame alone for nine frames.
constexpr double kZoomFrames = 10;
constexpr int kButtonKeyLock = 10;
constexpr int kLastVariable = 255;

Font& MessageFont()
{
    return g_Fonts[kMessageFont];
}

// The text's size in the message font. A font in cells is measured by its
// cells, any other by its glyphs, whichever back end draws it: a font that
// is not measured would give an empty window and an invisible text.
void MeasureMessage(const std::string& text, int* width, int* height)
{
    const Font& font = MessageFont();
    if (font.m_CellWidth != 0)
        font.MeasureText(text.c_str(), width, height);
    else
        font.MeasureTextGdi(text.c_str(), width, height);
}

// --- variable codes

struct VariableCode {
    int number = 0;
    bool common = false;
    bool stage = false;
    int width = 0;
    bool plus = false;
    bool zeros = false;
    std::size_t end = 0; // the first byte after the code
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the code whose "#" is at text[at].
VariableCode ReadCode(const std::string& text, std::size_t at)
{
    VariableCode code;
    bool options = false;
    std::size_t i = at + 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (!options && IsDigit(c)) {
            // Past the last variable the number only has to stay past it.
            code.number = std::min(code.number * 10 + (c - '0'), kLastVariable + 1);
        } else if (!options && (c == 'C' || c == 'c')) {
            code.common = true;
        } else if (!options && (c == 'S' || c == 's')) {
            code.stage = true;
        } else if (!options && c == '_') {
            options = true;
        } else if (options && IsDigit(c)) {
            code.width = c - '0';
        } else if (options && (c == 'P' || c == 'p')) {
            code.plus = true;
        } else if (options && (c == 'Z' || c == 'z')) {
            code.zeros = true;
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == '.') ++i;
    code.end = i;
    return code;
}

// The variable a code names, or null when it names none that exists.
const std::int32_t* CodeVariable(const VariableCode& code)
{
    if (code.number < 1 || code.number > kLastVariable) return nullptr;
    const std::vector<std::int32_t>* vars = nullptr;
    if (code.common)
        vars = &g_Progress.vCommonVar;
    else if (code.stage)
        vars = &RunStage().m_StageVars;
    if (!vars || static_cast<std::size_t>(code.number) >= vars->size()) return nullptr;
    return &(*vars)[static_cast<std::size_t>(code.number)];
}

std::string FormatVariable(std::int64_t value, const VariableCode& code)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < static_cast<std::size_t>(code.width))
        digits.insert(0, static_cast<std::size_t>(code.width) - digits.size(), '0');
    if (!code.zeros)
        for (std::size_t i = 0; i + 1 < digits.size() && digits[i] == '0'; ++i)
            digits[i] = ' ';
    if (value < 0) return "-" + digits;
    if (code.plus) return "+" + digits;
    return digits;
}

// --- placement

enum class Placed { AT, GONE, NOWHERE };

// A block of the current area plus an offset, on the screen of an axis.
std::int64_t MapToScreen(const cScrollAxis& axis, int block, std::int64_t offset)
{
    const std::int64_t map = (axis.m_AreaFirst + std::int64_t{block}) * 32 + offset;
    return TruncToInt(static_cast<double>(map) - axis.m_Pos);
}

// The top-left corner of the message this frame (before keeping it on the
// screen): GONE when the object it follows no longer exists, NOWHERE for a
// placement that names no place.
Placed PlaceMessage(const cMessage& m, std::int64_t& x, std::int64_t& y)
{
    cRunningStage& stage = RunStage();
    const std::int64_t w = m.m_Width;
    const std::int64_t h = m.m_Height;
    const std::int64_t dx = m.m_OffsetX;
    const std::int64_t dy = m.m_OffsetY;
    const double scrollX = stage.m_ScrollX.m_Pos;
    const double scrollY = stage.m_ScrollY.m_Pos;
    switch (m.m_Placement) {
    case 0:
        x = kScreenWidth / 2 + dx - (w >> 1);
        y = kScreenHeight / 2 + dy - (h >> 1);
        return Placed::AT;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6: {
        const cCharaObj* object = stage.FindObjectByNumber(m.m_ObjectNo);
        if (!object) return Placed::GONE;
        const std::int64_t left = TruncToInt(object->m_X - scrollX);
        const std::int64_t top = TruncToInt(object->m_Y - scrollY);
        const std::int64_t oh = object->m_PicHeight;
        const std::int64_t oy = object->m_PicOffY;
        x = left - (w >> 1) + (object->m_PicWidth >> 1) - object->m_PicOffX + dx;
        switch ((m.m_Placement - 1) % 3) {
        case 0: // above
            y = top - oy - h + dy;
            break;
        case 1: // below
            y = top - oy + oh + dy + 1;
            break;
        default: // centred
            y = top - (h >> 1) + (oh >> 1) - oy + dy;
            break;
        }
        return Placed::AT;
    }
    case 7:
        x = std::int64_t{m.m_BlockX} * 32 + dx;
        y = std::int64_t{m.m_BlockY} * 32 + dy;
        return Placed::AT;
    case 8:
        x = MapToScreen(stage.m_ScrollX, m.m_BlockX, dx);
        y = MapToScreen(stage.m_ScrollY, m.m_BlockY, dy);
        return Placed::AT;
    default:
        return Placed::NOWHERE;
    }
}

void KeepOnScreen(std::int64_t& x, std::int64_t& y, std::int64_t w, std::int64_t h)
{
    if (x < 0)
        x = 0;
    else if (x + w >= kScreenWidth - 1)
        x = kScreenWidth - w;
    if (y < kScreenTop)
        y = kScreenTop;
    else if (y + h >= kScreenHeight - 1)
        y = kScreenHeight - h;
}

} // namespace

cMessage::cMessage(int kind, const std::string& text, int graphicKind, int graphicNo, int frame,
                   int placement, int blockX, int blockY, int offsetX, int offsetY,
                   int keepOnScreen, int durationMode, int frames, int stopsGame, int objectNo,
                   int chained, int expandCodes)
    : m_Kind(kind), m_Text(expandCodes ? ExpandMessageCodes(text) : text),
      m_GraphicKind(graphicKind), m_GraphicNo(graphicNo), m_Frame(frame), m_Placement(placement),
      m_BlockX(blockX), m_BlockY(blockY), m_OffsetX(offsetX), m_OffsetY(offsetY),
      m_KeepOnScreen(keepOnScreen), m_DurationMode(durationMode), m_ObjectNo(objectNo),
      m_TimeLeft(frames), m_StopsGame(stopsGame),
      m_Zoom(durationMode == UNTIL_BUTTON && !chained ? 1 : 0)
{
    if (kind != TEXT) {
        m_Width = kIconSide;
        m_Height = kIconSide;
        return;
    }
    int width = 0;
    int height = 0;
    MeasureMessage(m_Text, &width, &height);
    // Never larger than the screen: a longer text is cut at the frame.
    m_Width = std::clamp(width + 2, 2, kScreenWidth);
    m_Height = std::clamp(height + 2, 2, kScreenHeight);
    if (!DDCreateSurfaceList(g_MessageSurfaces, g_MessageSurfaceDefs, m_Width, m_Height, 0, 0, 0,
                             0)) {
        DDDeleteSurfaceList(g_MessageSurfaces, g_MessageSurfaceDefs, &g_MessageSurfaces.back());
        WorldServices().RequestClose();
        return;
    }
    m_Surface = &g_MessageSurfaces.back();
    m_SurfaceDef = &g_MessageSurfaceDefs.back();
    Render(m_Surface);
}

void cMessage::Render(DDSURFACEDATA* surface)
{
    if (!surface) return;
    Font& font = MessageFont();
    const int boxWidth = m_Width - 2;
    const int boxHeight = m_Height - 2;
    font.DrawTextBoxDefColor(surface, 1, 1, boxWidth, boxHeight, m_Text.c_str(), 0);
    // A text cut at the surface's edge ran over the frame: draw it again.
    int width = 0;
    int height = 0;
    MeasureMessage(m_Text, &width, &height);
    if (width > boxWidth || height > boxHeight) {
        const int t = font.m_FrameThickness;
        DDFrameRect(surface, 1 - t, 1 - t, boxWidth + 2 * t, boxHeight + 2 * t, t,
                    font.m_FrameNumber);
    }
}

void cMessage::ReleaseSurface()
{
    if (m_Surface) DDDeleteSurfaceList(g_MessageSurfaces, g_MessageSurfaceDefs, m_Surface);
    m_Surface = nullptr;
    m_SurfaceDef = nullptr;
}

int cMessage::Draw(DDSURFACEDATA* dest, int paused)
{
    if (m_DurationMode == TIMED && (m_StopsGame || !paused)) {
        // One frame less; below 0 the time is over.
        if (m_TimeLeft <= 0) {
            m_TimeLeft = -1;
            ReleaseSurface();
            return 1;
        }
        --m_TimeLeft;
    }
    std::int64_t x = 0;
    std::int64_t y = 0;
    switch (PlaceMessage(*this, x, y)) {
    case Placed::GONE:
        ReleaseSurface();
        return 1;
    case Placed::NOWHERE:
        return 0;
    case Placed::AT:
        break;
    }
    if (m_KeepOnScreen) KeepOnScreen(x, y, m_Width, m_Height);
    const int left = SaturateToInt32(x);
    const int top = SaturateToInt32(y);
    // The pop-ups rise over their life.
    const std::int64_t rise = (kPopupFrames - std::int64_t{m_TimeLeft}) >> 2;
    switch (m_Kind) {
    case TEXT:
        DrawTextWindow(dest, left, top);
        break;
    case GRAPHIC:
        DrawGraphicIcon(dest, left, SaturateToInt32(y - rise), m_GraphicKind, m_GraphicNo, m_Frame);
        break;
    case ICON:
        DDBlt(dest, left, SaturateToInt32(y - rise), kIconSide, kIconSide, &g_BitmapSD[kIconBitmap],
              kIconCellX, kIconCellY, 1);
        break;
    default:
        break;
    }
    return 0;
}

void cMessage::DrawTextWindow(DDSURFACEDATA* dest, int x, int y)
{
    if (m_Surface && m_Surface->lpDT && m_Surface->lpDT->redraw) {
        Render(m_Surface);
        m_Surface->lpDT->redraw = 0;
    }
    if (m_Text.empty()) return;
    if (m_Zoom) {
        m_ZoomCounter += 1;
        if (m_ZoomCounter < kZoomFrames) {
            const double s = m_ZoomCounter * 0.1;
            const int halfW = m_Width >> 1;
            const int halfH = m_Height >> 1;
            MessageFont().DrawBox(dest, TruncToInt(x + halfW - halfW * s),
                                  TruncToInt(y + halfH - halfH * s), TruncToInt(m_Width * s),
                                  TruncToInt(m_Height * s));
            return;
        }
    }
    if (m_Surface) DDBlt(dest, x, y, m_Width, m_Height, m_Surface, 0, 0, 0);
}

std::string ExpandMessageCodes(const std::string& text)
{
    std::string out = text;
    std::size_t i = 0;
    while (i < out.size()) {
        if (IsDBCSPair(out.c_str() + i)) {
            i += 2;
            continue;
        }
        if (out[i] != '#') {
            ++i;
            continue;
        }
        const VariableCode code = ReadCode(out, i);
        const std::int32_t* variable = CodeVariable(code);
        if (!variable) {
            // Left as it stands; its characters start no other code.
            ++i;
            continue;
        }
        const std::string digits = FormatVariable(*variable, code);
        out.replace(i, code.end - i, digits);
        i += digits.size();
    }
    return out;
}

void PauseWait::Set(int kind, int waitButton, int frames, int chained)
{
    m_Kind = kind;
    m_WaitButton = waitButton;
    m_Frames = frames;
    m_Counter = 0;
    m_KeyLock = kind == MESSAGE && waitButton && !chained ? kButtonKeyLock : 0;
}

void RemoveMessage(const cMessage* message)
{
    std::list<cMessage>& list = RunStage().m_MessageList;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (&*it != message) continue;
        it->ReleaseSurface();
        list.erase(it);
        return;
    }
}
