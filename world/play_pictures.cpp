// The pictures of a running stage beside the fixed bitmaps.

#include "world/play_pictures.h"

#include <cstdint>

#include "core/err_log.h"
#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_bitmap.h"
#include "media/dd_blit.h"
#include "media/dd_fill.h"
#include "media/dd_lens.h"
#include "media/dd_palette.h"
#include "media/dd_state.h"
#include "platform/message_loop.h"
#include "world/running_stage.h"
#include "world/world_services.h"

std::vector<DDSURFACEDATA> g_CharaPictures;
std::vector<DDSURFACEDATA> g_SwordPictures;
std::vector<DDSURFACEDATA> g_EffectPictures;
std::list<DDSURFACEDATA> g_PictureSurfaces;
std::list<std::string> g_PictureBmpList;
std::list<DDSURFACEDATA> g_MessageSurfaces;
std::list<DDBMPDATA> g_MessageSurfaceDefs;

const int kPlayBitmaps[63] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                              18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33,
                              34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 49, 50,
                              51, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68};
const int kBackgroundBitmaps[8] = {55, 56, 57, 58, 59, 60, 61, 62};

namespace {

constexpr int kShotSheet = 20;       // "bmp\Shot.bmp": 8 x 30 frames of 16 x 16
constexpr int kShotSheetMirror = 21; // the same mirrored in 16-pixel cells
constexpr int kShotCells = 63;       // the sheets of 32 x 32 cells built from them
constexpr int kShotCellsMirror = 64;
constexpr int kShotColumns = 8;
constexpr int kShotRows = 30;
constexpr int kFirstBackground = 55;

// One surface of a record's group: its file, its mirror cells, and for a
// pixel-effect copy the surface of the group it copies (-1: a drawing copy).
struct PictureSlot {
    const std::string* file;
    int cellWidth;
    int copyOf;
};

// Loads one record's group into surfaces[first ...]: created last first, as
// colour-keyed pictures of the display's depth; a file that cannot be made
// into a surface is logged with the loader's text and the others go on.
void LoadGroup(std::vector<DDSURFACEDATA>& surfaces, std::size_t first,
               const std::vector<PictureSlot>& slots, const char* failText)
{
    for (std::size_t k = slots.size(); k-- > 0;) {
        plat::checkQuit(); // a close asked for meanwhile ends the loading thread
        const PictureSlot& slot = slots[k];
        const int copy = slot.copyOf >= 0 ? 1 : 0;
        const int result = DDCreateSurfaceFromFile(&surfaces[first + k], *slot.file, 1, g_DDBpp,
                                                   copy, 0, copy, 0, slot.cellWidth, 0, 0);
        if (!DDSurfaceErrorName(result)) ErrLogF(failText, slot.file->c_str());
    }
    for (std::size_t k = 0; k < slots.size(); ++k)
        if (slots[k].copyOf >= 0)
            surfaces[first + k].lpMirror =
                &surfaces[first + static_cast<std::size_t>(slots[k].copyOf)];
}

// Empties a picture vector and makes room for every record's group, so that
// no surface moves while the groups are loaded and linked.
void PrepareVector(std::vector<DDSURFACEDATA>& surfaces, std::size_t count)
{
    DDReleaseSurfaceVec(surfaces);
    surfaces.clear();
    surfaces.resize(count);
}

// Fills with the transparent colour: palette number 0, or the key colour
// itself in full-colour mode on the surface back end (where palette 0 is
// an ordinary colour).
void FillTransparent(DDSURFACEDATA* sd, int x, int y, int w, int h)
{
    if (g_System.nColourMode == 1 && !g_D3DState)
        DDFillRect(sd, x, y, w, h, g_DDKeyColor);
    else
        DDBoxFillPal(sd, x, y, w, h, 0);
}

// The sight overlay's creation failed: the game cannot go on.
void SightOutOfMemory()
{
    WorldServices().ErrorBox(Sjis("メモリが不足しています！"));
    WorldServices().RequestClose();
}

} // namespace

int LoadPlayPictures(int newPlay)
{
    const std::vector<cEdLayer>& layers = g_Stage.Layers;
    for (int i = 0; i < 8; ++i) {
        DDBMPDATA& entry = g_BitmapTable[static_cast<std::size_t>(kFirstBackground + i)];
        const bool picture = static_cast<std::size_t>(i) < layers.size() &&
                             layers[static_cast<std::size_t>(i)].bFill == 0;
        if (picture) {
            entry.name = layers[static_cast<std::size_t>(i)].strPicture;
            DDCheckBitmapSize(&entry.ddMemory, entry.name, 640, 480);
        } else {
            entry.name.clear();
        }
    }
    // Without a graphics layer (the world stepped without a display) there
    // is nothing to load the pictures into.
    if (!g_D3DState && !g_DDrawState) return 1;
    if (newPlay) return DDLoadBitmaps(g_BitmapSD.data(), kPlayBitmaps, 63) ? 1 : 0;
    return DDLoadBitmaps(g_BitmapSD.data(), kBackgroundBitmaps, 8) ? 1 : 0;
}

void BuildShotSheets()
{
    DDSURFACEDATA* cells = &g_BitmapSD[kShotCells];
    DDSURFACEDATA* cellsMirror = &g_BitmapSD[kShotCellsMirror];
    DDBoxFillPal(cells, 0, 0, cells->width, cells->height, 0);
    DDBoxFillPal(cellsMirror, 0, 0, cellsMirror->width, cellsMirror->height, 0);
    for (int r = 0; r < kShotRows; ++r) {
        for (int k = 0; k < kShotColumns; ++k) {
            DDBlt(cells, 32 * k + 8, 32 * r + 8, 16, 16, &g_BitmapSD[kShotSheet], 16 * k, 16 * r,
                  1);
            DDBlt(cellsMirror, 32 * k + 8, 32 * r + 8, 16, 16, &g_BitmapSD[kShotSheetMirror],
                  16 * k, 16 * r, 1);
        }
    }
}

void LoadCharaBitmaps()
{
    const std::vector<cEdBmpCharaExc>& table = g_Database.Bmp_CharaExc;
    const std::size_t records = table.empty() ? 0 : table.size() - 1;
    PrepareVector(g_CharaPictures, records * kCharaPicturesPerRecord);
    for (std::size_t k = 1; k < table.size(); ++k) {
        const cEdBmpCharaExc& record = table[k];
        const int cell = 32 * record.CellFactor();
        const std::string* file = &record.m_FileName;
        LoadGroup(g_CharaPictures, (k - 1) * kCharaPicturesPerRecord,
                  {{file, 0, -1}, {file, cell, -1}, {file, 0, 0}, {file, cell, 1}},
                  Sjis("専用bmp %s 読み込み失敗！"));
    }
}

void LoadSwordPictures()
{
    const std::vector<cEdSwordType>& table = g_Database.SwordType;
    PrepareVector(g_SwordPictures, table.size() * kSwordPicturesPerRecord);
    for (std::size_t k = 0; k < table.size(); ++k) {
        const std::string* first = &table[k].m_FileName1;
        const std::string* second = &table[k].m_FileName2;
        LoadGroup(g_SwordPictures, k * kSwordPicturesPerRecord,
                  {{first, 0, -1}, {second, 0, -1}, {first, 0, 0}, {second, 0, 1}},
                  Sjis("ソード %s 読み込み失敗！"));
    }
}

void LoadEffectPictures()
{
    const std::vector<cEdEffect>& table = g_Database.Effect;
    const std::size_t records = table.empty() ? 0 : table.size() - 1;
    PrepareVector(g_EffectPictures, records * kEffectPicturesPerRecord);
    for (std::size_t k = 1; k < table.size(); ++k) {
        const std::string* file = &table[k].m_FileName;
        LoadGroup(g_EffectPictures, (k - 1) * kEffectPicturesPerRecord,
                  {{file, 0, -1}, {file, 0, 0}}, Sjis("エフェクト %s 読み込み失敗！"));
    }
}

void ResetPictures()
{
    DDReleaseSurfaceList(g_PictureSurfaces);
    g_PictureSurfaces.clear();
    g_PictureBmpList.clear();
    RunStage().m_PictureList.clear();
}

void ReleaseMessageSurfaces()
{
    DDReleaseSurfaceList(g_MessageSurfaces);
    g_MessageSurfaces.clear();
    g_MessageSurfaceDefs.clear();
}

void CreateSightSurfaces(DDSURFACEDATA* overlay, DDSURFACEDATA* hole)
{
    if (!overlay || !hole) return;
    DDReleaseSurface(overlay);
    DDReleaseSurface(hole);
    const cRunningStage& stage = RunStage();
    if (stage.Player.empty()) return;
    const cPlayerObj& player = stage.Player.front();
    const int r = player.m_SightRange > 0 ? player.m_SightRange : 0;
    const int width = 1280 + 2 * r;
    const int height = 960 + 2 * r;
    if (!DDCreateSurface(overlay, width, height, 1, 1, 0, 0, 0)) {
        SightOutOfMemory();
        return;
    }
    DDBoxFillPal(overlay, 0, 0, width, height, 16);
    if (r == 0) return;
    const int shape = player.m_Def.nSightShape;
    if (shape == 1 || shape == 2) {
        if (!DDCreateSurface(hole, 2 * r, 2 * r, 1, 1, 0, 0, 0)) {
            SightOutOfMemory();
            return;
        }
        FillTransparent(hole, 0, 0, 2 * r, 2 * r);
        DDBltCircle(overlay, width / 2, height / 2, r, r, r, 1, hole, r, r, 0);
    } else {
        FillTransparent(overlay, width / 2 - r, height / 2 - r, 2 * r, 2 * r);
    }
}

void ReleasePlayPictures()
{
    for (int n : kPlayBitmaps)
        DDReleaseSurface(&g_BitmapSD[static_cast<std::size_t>(n)]);
    DDReleaseSurfaceVec(g_CharaPictures);
    DDReleaseSurfaceVec(g_SwordPictures);
    DDReleaseSurfaceVec(g_EffectPictures);
    g_CharaPictures.clear();
    g_SwordPictures.clear();
    g_EffectPictures.clear();
    DDReleaseSurfaceList(g_PictureSurfaces);
    g_PictureSurfaces.clear();
    g_PictureBmpList.clear();
    DDReleaseSurfaceList(g_MessageSurfaces);
    g_MessageSurfaces.clear();
    g_MessageSurfaceDefs.clear();
}
