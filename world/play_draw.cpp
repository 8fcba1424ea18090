// The drawing of the play field's parts: the background layers (and the
// movement of the auto-scrolling ones), the block map, the picture
// objects, items and shots, the status bar, the time and the hint line.
// The colours of the whole screen (tint, highlight colours) are in
// play_colours.cpp.

#include "world/play_screen.h"

#include <algorithm>
#include <array>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/sjis_text.h"
#include "core/timer.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/test_flows.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_ddraw.h"
#include "media/dd_fill.h"
#include "media/dd_state.h"
#include "media/font.h"
#include "world/conditions.h"
#include "world/graphic_ref.h"
#include "world/play_pictures.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/trace.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The map's margin in front of the stage (10 blocks).
constexpr int kMarginPixels = 320;
// The layer pictures: bitmaps 55 to 62, one per layer of the first eight.
constexpr int kLayerBitmap = 55;
constexpr int kLayerPictures = 8;
constexpr int kBackFillColour = 16;
constexpr int kMaxTiles = 1000;
// The visited part of the block map.
constexpr int kViewColumns = 21;
constexpr int kViewRows = 16;
// Items carry no drawing layer in their data; they take the characters'
// default, so that with every layer at its default the pass by layers
// draws what the pass without layers draws.
constexpr int kItemZ = 3;
// Bitmaps of the status bar and the time.
constexpr int kStatusWindowBitmap = 46;
constexpr int kAccessoryBitmap = 49;
constexpr int kWordBitmap = 51;
constexpr int kOverlayBitmap = 43;
constexpr int kGaugeWidth = 50;
constexpr int kLowTimeSound = 13;

// The picture of layer i, or null: beyond the eighth layer, or no picture loaded.
DDSURFACEDATA* LayerPicture(std::size_t i)
{
    if (i >= kLayerPictures) return nullptr;
    DDSURFACEDATA* picture = &g_BitmapSD[kLayerBitmap + i];
    if (!picture->pixels() || picture->width <= 0 || picture->height <= 0) return nullptr;
    return picture;
}

// Wraps an offset into [0, size) once; nothing for a layer without a picture.
void Wrap(double& offset, int size)
{
    if (size <= 0) return;
    if (offset < 0)
        offset += size;
    else if (offset >= size)
        offset -= size;
}

// v mod size made non-negative.
int StartCell(int v, int size)
{
    const int r = v % size;
    return r < 0 ? r + size : r;
}

// The picture tiled over the screen, the first row and column starting at
// the cell (cx, cy) inside it. A picture one pixel wide (or high) is drawn
// as whole screen-wide rows (screen-high columns) stretched from it: the
// same pixels as its tiles, in a copy per row instead of one per pixel.
void TilePicture(DDSURFACEDATA* dest, DDSURFACEDATA* picture, int cx, int cy, int transparent)
{
    const int w = picture->width;
    const int h = picture->height;
    const bool stretchX = w == 1;
    const bool stretchY = h == 1;
    int y = 0;
    int sy = cy;
    for (int row = 0; y < kScreenHeight && row < kMaxTiles; ++row) {
        const int th = stretchY ? kScreenHeight : h - sy;
        int x = 0;
        int sx = cx;
        for (int column = 0; x < kScreenWidth && column < kMaxTiles; ++column) {
            const int tw = stretchX ? kScreenWidth : w - sx;
            if (stretchX || stretchY)
                DDBltEx(dest, x, y, tw, th, picture, sx, sy, stretchX ? 1 : tw, stretchY ? 1 : th,
                        transparent);
            else
                DDBlt(dest, x, y, tw, th, picture, sx, sy, transparent);
            x += tw;
            sx = 0;
        }
        y += th;
        sy = 0;
    }
}

// The surface back end stretches pixel by pixel, so there a thin layer
// picture is stretched once into a strip of its own (a screen wide where
// the picture is one pixel wide, 480 high where it is one pixel high, 16
// rows for a single pixel), with the picture's colour key; the strip is
// tiled as the picture would be and made again only when the picture's
// pixels differ from those it was made from.
struct ThinStrip {
    DDSURFACEDATA surface;
    std::vector<std::uint32_t> source;
};
std::array<ThinStrip, kLayerPictures> g_ThinStrips;
// Longer thin pictures are stretched directly rather than kept as large strips.
constexpr int kMaxStripSide = 2048;

DDDrawSurface* DrawPart(DDSURFACEDATA* sd)
{
    return sd->lpDD ? sd->lpDD->lpDDSurface.get() : nullptr;
}

// The strip of layer i's thin picture, or null when it cannot be used.
DDSURFACEDATA* ThinStripOf(std::size_t i, DDSURFACEDATA* picture)
{
    const DDDrawSurface* from = DrawPart(picture);
    if (!from || from->lost) return nullptr;
    const DDPixels& pixels = from->pixels;
    if (pixels.width > kMaxStripSide || pixels.height > kMaxStripSide) return nullptr;
    std::vector<std::uint32_t> source;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            source.push_back(pixels.get(x, y));
    source.push_back(from->hasColorKey ? 1 : 0);
    source.push_back(from->colorKey);
    const int w = pixels.width == 1 ? kScreenWidth : pixels.width;
    const int h = pixels.height == 1 ? (pixels.width == 1 ? 16 : kScreenHeight) : pixels.height;
    ThinStrip& strip = g_ThinStrips[i];
    DDDrawSurface* to = DrawPart(&strip.surface);
    if (to && !to->lost && to->pixels.format == pixels.format && to->pixels.width == w &&
        to->pixels.height == h && strip.source == source)
        return &strip.surface;
    DDReleaseSurface(&strip.surface);
    strip.source.clear();
    if (!DDCreateSurface(&strip.surface, w, h, 0, 1, 0, 0, 0)) return nullptr;
    to = DrawPart(&strip.surface);
    if (!to || to->pixels.format != pixels.format) return nullptr;
    DDBltEx(&strip.surface, 0, 0, w, h, picture, 0, 0, pixels.width, pixels.height, 0);
    to->hasColorKey = from->hasColorKey;
    to->colorKey = from->colorKey;
    strip.source = std::move(source);
    return &strip.surface;
}

// Whether a cell's conditions hold for this frame's drawing. A play frame
// tests them (as the play does) and keeps the answer; a frozen frame
// answers from the last play frame, or, for a cell that frame did not
// test, tests them without touching the latch or the random sequence.
int CellHolds(cRunningStage& stage, BlockCell& cell, int column, int row, int frozen)
{
    if (!cell.HasConds()) return 1;
    const int dc = column - stage.m_HeldColumn;
    const int dr = row - stage.m_HeldRow;
    const bool inView = stage.m_HeldSetUp == stage.m_SetStageCount && dc >= 0 &&
                        dc < kViewColumns && dr >= 0 && dr < kViewRows;
    const std::size_t slot = inView ? static_cast<std::size_t>(dr * kViewColumns + dc) : 0;
    if (!frozen) {
        const int held = TestBlockConds(cell);
        if (inView) stage.m_CellsHeld[slot] = held ? 2 : 1;
        return held;
    }
    if (inView && stage.m_CellsHeld[slot] != 0) return stage.m_CellsHeld[slot] == 2 ? 1 : 0;
    const std::uint8_t latch = cell.m_Latch;
    const std::uint32_t random = RandomState();
    const int held = TestBlockConds(cell);
    cell.m_Latch = latch;
    SeedRandom(random);
    return held;
}

// The 32 x 32 picture of a cell with its overlay piece.
void DrawCell(DDSURFACEDATA* dest, int x, int y, const BlockCell& cell)
{
    GraphicRef ref;
    ResolveGraphic(ref, 0, cell.nGraphicKind, cell.nGraphicNo, cell.nGraphicFrame, nullptr, 0);
    if (ref.m_Surface) DDBlt(dest, x, y, 32, 32, ref.m_Surface, ref.m_X, ref.m_Y, 1);
    if (cell.bOverlay == 1) {
        const int piece = cell.nOverlayPiece;
        DDBlt(dest, x, y, 32, 32, &g_BitmapSD[kOverlayBitmap], piece / 15 * 32, piece % 15 * 32, 1);
    }
}

int StatusValue(int item)
{
    const cRunningStage& stage = RunStage();
    switch (item) {
    case 0:
        return g_Progress.nScore;
    case 1:
        return g_Progress.nStageScore;
    case 2:
        return stage.Player.empty() ? 0 : stage.Player.front().m_Hp;
    case 3:
        return stage.Player.empty() ? 0 : stage.Player.front().m_Sp;
    default:
        return g_Progress.nLives;
    }
}

int StatusMaximum(int item)
{
    const cRunningStage& stage = RunStage();
    if (stage.Player.empty()) return 0;
    const cEdChara& def = stage.Player.front().m_Def;
    return item == 2 ? def.nMaxHP : def.nMaxSP;
}

bool IsGauge(int item)
{
    return item == 2 || item == 3;
}

int LabelWidth(const cEdStatusItem& entry)
{
    return 16 * CountChars(entry.strLabel.c_str());
}

int StatusItemWidth(int item, const cEdStatusItem& entry)
{
    const int lead = entry.bIcon ? 16 : LabelWidth(entry);
    return lead + (IsGauge(item) ? kGaugeWidth : 16 * entry.nDigits);
}

// One status item at x.
void DrawStatusItem(DDSURFACEDATA* dest, int item, const cEdStatusItem& entry, int x)
{
    DDSURFACEDATA* accessory = &g_BitmapSD[kAccessoryBitmap];
    Font& font = g_Fonts[1];
    const char* label = entry.strLabel.c_str();
    const int value = StatusValue(item);
    if (IsGauge(item)) {
        int g = x + LabelWidth(entry);
        if (entry.bIcon) {
            DDBlt(dest, x, 3, 16, 16, accessory, item == 2 ? 32 : 48, 32, 1);
            g = x + 16;
        } else {
            font.DrawTextF(dest, x, 3, "%s", label);
        }
        const int sx = item == 2 ? 0 : 64;
        DDBlt(dest, g, 3, kGaugeWidth, 16, accessory, sx, 128, 1);
        const int maximum = StatusMaximum(item);
        const int w =
            maximum == 0 ? 0 : static_cast<int>(std::int64_t{value} * kGaugeWidth / maximum);
        if (w > 0) DDBlt(dest, g, 3, w, 16, accessory, sx, w > 16 ? 144 : 160, 1);
        if (entry.bGaugeNumber) g_Fonts[0].DrawTextF(dest, g, 6, "%d", value);
        return;
    }
    if (item == 4) {
        const bool unlimited = value == kUnlimitedLives;
        if (entry.bIcon) {
            DDBlt(dest, x, 3, 16, 16, accessory, 64, 32, 1);
            if (unlimited)
                font.DrawText(dest, x + 16, 3, Sjis("∞"), 0);
            else
                font.DrawTextF(dest, x + 16, 3, "%d", value);
        } else if (unlimited) {
            font.DrawTextF(dest, x, 3, Sjis("%s∞"), label);
        } else {
            font.DrawTextF(dest, x, 3, "%s%d", label, value);
        }
        return;
    }
    if (entry.bIcon) {
        DDBlt(dest, x, 3, 16, 16, accessory, 16 * item, 32, 1);
        font.DrawTextF(dest, x + 16, 3, "%d", value);
    } else {
        font.DrawTextF(dest, x, 3, "%s%d", label, value);
    }
}

} // namespace

void StepLayers()
{
    std::size_t i = 0;
    for (cEdLayer& layer : g_Stage.Layers) {
        const DDSURFACEDATA* picture = i < kLayerPictures ? &g_BitmapSD[kLayerBitmap + i] : nullptr;
        ++i;
        if (layer.bAutoX) {
            layer.dOffsetX -= layer.dFactorX;
            Wrap(layer.dOffsetX, picture ? picture->width : 0);
        }
        if (layer.bAutoY) {
            layer.dOffsetY -= layer.dFactorY;
            Wrap(layer.dOffsetY, picture ? picture->height : 0);
        }
    }
}

void DrawLayers(DDSURFACEDATA* dest, int front)
{
    const std::vector<cEdLayer>& layers = g_Stage.Layers;
    // The back is filled while no back layer shows, whatever the front ones do.
    if (front == 0 && std::none_of(layers.begin(), layers.end(), [](const cEdLayer& layer) {
            return layer.bShow != 0 && layer.nFront == 0;
        })) {
        TraceDraw("backfill", kBackFillColour);
        DDBoxFillPal(dest, 0, 0, kScreenWidth, kScreenHeight, kBackFillColour);
        return;
    }
    const cRunningStage& stage = RunStage();
    const double viewX = stage.m_ScrollX.m_Pos;
    const double viewY = stage.m_ScrollY.m_Pos;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const cEdLayer& layer = layers[i];
        if (layer.nFront != front || !layer.bShow) continue;
        if (layer.bFill) {
            TraceDraw("fill", static_cast<int>(i));
            DDBoxFillPal(dest, 0, 0, kScreenWidth, kScreenHeight, layer.nFillColor);
            continue;
        }
        DDSURFACEDATA* picture = LayerPicture(i);
        if (!picture) continue;
        const int sx = layer.bAutoX
                           ? TruncToInt(layer.dOffsetX + viewX - kMarginPixels)
                           : TruncToInt((TruncToInt(viewX + 0.5) - kMarginPixels) * layer.dFactorX);
        const int sy = layer.bAutoY
                           ? TruncToInt(layer.dOffsetY + viewY - kMarginPixels)
                           : TruncToInt((TruncToInt(viewY) - kMarginPixels) * layer.dFactorY);
        TraceDraw("layer", static_cast<int>(i));
        const int cx = StartCell(sx, picture->width);
        const int cy = StartCell(sy, picture->height);
        const bool thin = picture->width == 1 || picture->height == 1;
        DDSURFACEDATA* strip = thin && !g_D3DState ? ThinStripOf(i, picture) : nullptr;
        TilePicture(dest, strip ? strip : picture, cx, cy, i == 0 ? 0 : 1);
    }
}

void DrawBlockMap(DDSURFACEDATA* dest, int front, int frozen)
{
    cRunningStage& stage = RunStage();
    const int viewX = TruncToInt(stage.m_ScrollX.m_Pos);
    const int viewY = TruncToInt(stage.m_ScrollY.m_Pos);
    const int firstColumn = viewX >> 5;
    const int firstRow = viewY >> 5;
    if (!frozen &&
        (stage.m_HeldSetUp != stage.m_SetStageCount || stage.m_HeldColumn != firstColumn ||
         stage.m_HeldRow != firstRow || front == 0)) {
        // A play frame starts its answers afresh.
        stage.m_HeldColumn = firstColumn;
        stage.m_HeldRow = firstRow;
        stage.m_HeldSetUp = stage.m_SetStageCount;
        stage.m_CellsHeld.assign(kViewColumns * kViewRows, 0);
    }
    const int columns = stage.m_ScrollX.m_Pitch > 0
                            ? std::min(stage.m_ScrollX.m_MapSize, stage.m_ScrollX.m_Pitch)
                            : stage.m_ScrollX.m_MapSize;
    const int rows = stage.m_ScrollY.m_MapSize;
    for (int r = 0; r < kViewRows; ++r) {
        const int row = firstRow + r;
        if (row < 0 || row >= rows) continue;
        for (int c = 0; c < kViewColumns; ++c) {
            const int column = firstColumn + c;
            if (column < 0 || column >= columns) continue;
            BlockCell& cell = stage.CellAt(column, row);
            if (cell.nGraphicNo == 0 || cell.nLayer != front) continue;
            if (!CellHolds(stage, cell, column, row, frozen) || cell.bHidden) continue;
            TraceDraw("cell", stage.CellIndex(&cell));
            DrawCell(dest, 32 * c - (viewX & 31), 32 * r - (viewY & 31), cell);
        }
    }
}

void DrawPictures(DDSURFACEDATA* dest, int front, int frozen)
{
    cRunningStage& stage = RunStage();
    auto picture = stage.m_PictureList.begin();
    auto surface = g_PictureSurfaces.begin();
    auto name = g_PictureBmpList.begin();
    while (picture != stage.m_PictureList.end() && surface != g_PictureSurfaces.end() &&
           name != g_PictureBmpList.end()) {
        if (picture->m_Layer != front) {
            ++picture;
            ++surface;
            ++name;
            continue;
        }
        TraceDraw("picture", picture->m_Picture);
        if (!picture->Draw(dest, &*surface, frozen)) {
            ++picture;
            ++surface;
            ++name;
            continue;
        }
        DDReleaseSurface(&*surface);
        picture = stage.m_PictureList.erase(picture);
        surface = g_PictureSurfaces.erase(surface);
        name = g_PictureBmpList.erase(name);
    }
}

std::vector<int> StatusItemPositions(const std::vector<int>& shownWidths)
{
    int sum = 0;
    for (int w : shownWidths)
        sum += w;
    const int spacing = (638 - sum) / (static_cast<int>(shownWidths.size()) + 1);
    std::vector<int> positions;
    int x = spacing;
    for (int w : shownWidths) {
        positions.push_back(x);
        x += w + spacing;
    }
    return positions;
}

void DrawStatusBar(DDSURFACEDATA* dest)
{
    std::vector<int> shown;
    std::vector<int> widths;
    for (int item = 0; item < kStatusItems; ++item) {
        const cEdStatusItem& entry = VecAt(g_System.vStatusItem, item);
        if (!entry.bShow) continue;
        shown.push_back(item);
        widths.push_back(StatusItemWidth(item, entry));
    }
    if (shown.empty() || !g_Stage.bShowStatus) return;
    TraceDraw("status", static_cast<int>(shown.size()));
    DDBlt(dest, 0, 0, kScreenWidth, 20, &g_BitmapSD[kStatusWindowBitmap], 0, 0, 0);
    const std::vector<int> positions = StatusItemPositions(widths);
    for (std::size_t k = 0; k < shown.size(); ++k)
        DrawStatusItem(dest, shown[k], VecAt(g_System.vStatusItem, shown[k]), positions[k]);
}

void DrawTime(DDSURFACEDATA* dest, int withSound)
{
    const cRunningStage& stage = RunStage();
    if (stage.m_NoTimeLimit) return;
    TraceDraw("time", stage.m_TimeLeft);
    DDDrawNumber(dest, 272, 24, 32, 32, &g_BitmapSD[kWordBitmap], 0, 160, 1, stage.m_TimeLeft, 3,
                 1);
    if (withSound && stage.m_TimeLeft >= 1 && stage.m_TimeLeft <= g_Stage.nTimeWarning &&
        CountEvery(2, 0))
        WorldServices().PlaySe(kLowTimeSound);
}

void DrawItems(int z, int useZ, int frozen)
{
    if (useZ && z != kItemZ) return;
    for (auto walk = RunStage().WalkItems(); !walk.Done(); walk.Next()) {
        cItemObj& item = *walk;
        item.UpdateScreenBox();
        if (!item.m_OnScreen || item.m_Carried) continue;
        TraceDraw("item", item.m_ObjNo);
        item.DrawItem(&BackBuffer, frozen);
    }
}

void DrawShots(int z, int useZ, int frozen)
{
    for (auto walk = RunStage().WalkShots(); !walk.Done(); walk.Next()) {
        cShotObj& shot = *walk;
        if ((useZ && shot.m_Z != z) || !shot.m_OnScreen) continue;
        TraceDraw("shot", shot.m_ObjNo);
        shot.DrawShot(&BackBuffer, frozen);
    }
}

void DrawTestText()
{
    int text = -1;
    if (RunStage().m_DirectStart)
        text = 26;
    else if (g_StartedByTool)
        text = 25;
    if (text < 0) return;
    const char* line = VecAt(g_System.SysText, text).c_str();
    TraceDraw("hint", text);
    g_Fonts[1].DrawText(&BackBuffer, 320 - CountChars(line) * 16 / 2, 456, line, 0);
}
