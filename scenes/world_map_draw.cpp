// What the world map draws: the map of tiles and event signs into bitmap
// 67 whenever the view moves, and each frame that map with the walker, the
// lives, the ranking panel and the title and best score of the entry.

#include "scenes/world_map_scene.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/main_window_handle.h"
#include "core/sjis_text.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_fill.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "scenes/rank_format.h"
#include "scenes/ranking_board.h"
#include "scenes/rankings.h"
#include "scenes/world_map_rules.h"

namespace {

constexpr int kBitmapAccessory = 49;
constexpr int kBitmapChips = 52;
constexpr int kBitmapEvents = 53;
constexpr int kBitmapBack = 54;
constexpr int kBitmapMap = 67;
constexpr int kTile = 32;
constexpr int kScreenColumns = 20;
constexpr int kScreenRows = 15;
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kChipsPerRow = 5;
constexpr int kCursorX = 288;
constexpr int kCursorY = 224;
// The walker's two steps: 40 frames each.
constexpr int kStepFrames = 40;
// The ranking panel and where it shows.
constexpr int kPanelWidth = 272;
constexpr int kPanelHeight = 352;
constexpr int kPanelX = 367;
constexpr int kPanelY = 64;
// The entry's title and best score, centred on the walker.
constexpr int kTitleCentreX = 304;
constexpr int kTitleY = 204;
constexpr int kTitleYWithScore = 184;
constexpr int kCell = 16;
constexpr int kSysTextScore = 2;

DDSURFACEDATA* Bitmap(int n)
{
    return &g_BitmapSD[static_cast<std::size_t>(n)];
}

// The top left of cell (column, row) of a sheet of 32 x 32 cells; false
// when the cell does not lie wholly on the sheet (nothing is then drawn).
bool SheetCell(const DDSURFACEDATA& sheet, std::int64_t column, std::int64_t row, int* x, int* y)
{
    if (column < 0 || row < 0) return false;
    if ((column + 1) * kTile > sheet.width || (row + 1) * kTile > sheet.height) return false;
    *x = static_cast<int>(column * kTile);
    *y = static_cast<int>(row * kTile);
    return true;
}

// The screen offset of a map coordinate from the view's, in pixels; false
// when a tile there would not reach the screen.
bool OnScreen(std::int64_t tile, std::int64_t view, int extent, int* offset)
{
    const std::int64_t pixels = (tile - view) * kTile;
    if (pixels <= -kTile || pixels >= extent) return false;
    *offset = static_cast<int>(pixels);
    return true;
}

int FacingCellX(std::int32_t facing)
{
    return facing == FACING_UP || facing == FACING_LEFT ? 64 : 0;
}

int FacingCellY(std::int32_t facing)
{
    return facing == FACING_LEFT || facing == FACING_RIGHT ? 96 : 64;
}

} // namespace

void cWorldMapScene::BuildSurfaces()
{
    if (!DDCreateSurfaceVec(g_ScenePictures, g_ScenePictureDefs, kPanelWidth, kPanelHeight, 0, 1, 0,
                            0))
        CloseMainWindow();
    DrawRankPanel();
}

void cWorldMapScene::RedrawSurface()
{
    DrawRankPanel();
}

void cWorldMapScene::DrawScreen()
{
    DrawMapScreen(true);
}

void cWorldMapScene::DrawRankPanel()
{
    if (g_ScenePictures.empty()) return;
    DrawRankingOf(g_RankSet, &g_ScenePictures[0], 0, 0, g_Progress.nRankKind, -1);
}

void cWorldMapScene::DrawMap()
{
    DDSURFACEDATA* map = Bitmap(kBitmapMap);
    m_DrawnViewX = m_ViewX;
    m_DrawnViewY = m_ViewY;
    DDBoxFillPal(map, 0, 0, kScreenWidth, kScreenHeight, std::clamp(g_WorldMap.m_BgColor, 0, 255));
    if (g_WorldMap.m_BgPicture) {
        // The background scrolls with the map and stays put beyond its edges.
        const int dx = m_ViewX < 0 ? static_cast<int>(std::min<std::int64_t>(
                                         -std::int64_t{m_ViewX} * kTile, kScreenWidth))
                                   : 0;
        const int dy = m_ViewY < 0 ? static_cast<int>(std::min<std::int64_t>(
                                         -std::int64_t{m_ViewY} * kTile, kScreenHeight))
                                   : 0;
        const std::int64_t sx = m_ViewX < 0 ? 0 : std::int64_t{m_ViewX} * kTile;
        const std::int64_t sy = m_ViewY < 0 ? 0 : std::int64_t{m_ViewY} * kTile;
        const DDSURFACEDATA& back = *Bitmap(kBitmapBack);
        if (sx < back.width && sy < back.height)
            DDBlt(map, dx, dy, kScreenWidth, kScreenHeight, Bitmap(kBitmapBack),
                  static_cast<int>(sx), static_cast<int>(sy), 0);
    }
    DDSURFACEDATA* chips = Bitmap(kBitmapChips);
    for (int i = 0; i < kScreenRows; ++i) {
        for (int j = 0; j < kScreenColumns; ++j) {
            const std::int64_t column = std::int64_t{m_ViewX} + j;
            const std::int64_t row = std::int64_t{m_ViewY} + i;
            if (column < 0 || row < 0 || column >= g_WorldMap.m_Width || row >= g_WorldMap.m_Height)
                continue;
            const cEdWorldChip* chip = MapChipAt(static_cast<int>(column), static_cast<int>(row));
            int sx = 0;
            int sy = 0;
            if (!chip || chip->m_PictureNo < 0 ||
                !SheetCell(*chips, chip->m_PictureNo % kChipsPerRow,
                           chip->m_PictureNo / kChipsPerRow, &sx, &sy))
                continue;
            DDBlt(map, j * kTile, i * kTile, kTile, kTile, chips, sx, sy, 1);
        }
    }
    DDSURFACEDATA* signs = Bitmap(kBitmapEvents);
    for (const cEdWorldEvent& event : g_WorldMap.m_Events) {
        const cEdWorldEventItem* item = SelectItem(&event);
        int x = 0;
        int y = 0;
        int sx = 0;
        int sy = 0;
        if (!item || !OnScreen(event.m_X, m_ViewX, kScreenWidth, &x) ||
            !OnScreen(event.m_Y, m_ViewY, kScreenHeight, &y) ||
            !SheetCell(*signs, IsCleared(*item) ? 1 : 0, item->m_SignRow, &sx, &sy))
            continue;
        DDBlt(map, x, y, kTile, kTile, signs, sx, sy, 1);
    }
}

void cWorldMapScene::DrawMapCursor()
{
    const std::int32_t facing =
        m_Facing >= FACING_DOWN && m_Facing <= FACING_RIGHT ? m_Facing : FACING_DOWN;
    ++m_CursorFrame;
    const int step = m_CursorFrame > kStepFrames ? kTile : 0;
    if (m_CursorFrame >= 2 * kStepFrames) m_CursorFrame = 0;
    DDBlt(&BackBuffer, kCursorX, kCursorY, kTile, kTile, Bitmap(kBitmapAccessory),
          FacingCellX(facing) + step, FacingCellY(facing), 1);
}

void cWorldMapScene::DrawLivesBox()
{
    const bool unlimited = g_Progress.nLives == kUnlimitedLives;
    const int digits = unlimited ? 1 : DigitCount(g_Progress.nLives);
    const int w = (digits + 1) * kCell;
    const int x = 621 - w;
    Font& font = g_Fonts[1];
    font.DrawBox(&BackBuffer, x, 17, w, 20);
    DDBlt(&BackBuffer, x, 19, kCell, kCell, Bitmap(kBitmapAccessory), 0, 48, 1);
    const std::string lives = unlimited ? Sjis("∞") : std::to_string(g_Progress.nLives);
    font.DrawText(&BackBuffer, x + kCell, 19, lives.c_str(), 0);
}

bool cWorldMapScene::RankPanelShown() const
{
    return VecAt(g_System.vModeFlags, PLAYKIND_STORY).bRanking && g_Progress.bShowRanking;
}

void cWorldMapScene::DrawEntryTitle()
{
    const bool showScore = g_System.bMapShowScore && m_BestScore > 0;
    const int y = showScore ? kTitleYWithScore : kTitleY;
    Font& font = g_Fonts[1];
    const char* title = m_Item->m_Caption.c_str();
    const int chars = CountChars(title);
    if (chars >= 1)
        font.DrawTextBoxDefColor(&BackBuffer, kTitleCentreX - chars * kCell / 2, y, chars * kCell,
                                 kCell, title, 0);
    if (!showScore) return;
    const std::string label = VecAt(g_System.SysText, kSysTextScore);
    const std::string text = label + std::to_string(m_BestScore);
    const int w = (CountChars(label.c_str()) + DigitCount(m_BestScore)) * kCell;
    font.DrawTextBoxDefColor(&BackBuffer, kTitleCentreX - w / 2, y + 20, w, kCell, text.c_str(), 0);
}

void cWorldMapScene::DrawMapScreen(bool panels)
{
    DDSURFACEDATA* map = Bitmap(kBitmapMap);
    // A map surface that came back empty after a lost device is drawn again.
    if (map->lpDT && map->lpDT->redraw) {
        map->lpDT->redraw = 0;
        DrawMap();
    }
    DDBlt(&BackBuffer, 0, 0, kScreenWidth, kScreenHeight, map, 0, 0, 0);
    DrawMapCursor();
    if (g_System.bMapShowLives) DrawLivesBox();
    if (!panels || !m_Item || m_Item->m_Kind != kWorldItemStage) return;
    if (RankPanelShown() && !g_ScenePictures.empty()) {
        DDSURFACEDATA& panel = g_ScenePictures[0];
        if (panel.lpDT && panel.lpDT->redraw) {
            panel.lpDT->redraw = 0;
            DrawRankPanel();
        }
        DDBlt(&BackBuffer, kPanelX, kPanelY, kPanelWidth, kPanelHeight, &panel, 0, 0, 0);
    }
    DrawEntryTitle();
}
