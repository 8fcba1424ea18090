// The drawing of shots and sword swings.

#include "world/shot_obj.h"

#include "data/ed_database.h"
#include "data/ed_sword_type.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "world/chara_effects.h"
#include "world/play_pictures.h"

namespace {

// "bmp\Shot.bmp" (facing left) and its copy mirrored in 16-pixel cells
// (facing right): 30 rows of shots, each shot two 16 x 16 frames side by
// side, four shots to a row (shot n in row n mod 30, pair n div 30).
constexpr int kShotSheet = 20;
constexpr int kShotRows = 30;
constexpr int kShotFrame = 16;

// Where a sword part lies in its sword picture and how large it is.
enum SwordPicture {
    kSwordPicX = 5,
    kSwordPicY = 6,
    kSwordPicW = 7,
    kSwordPicH = 8,
};

} // namespace

int cShotObj::DrawShot(DDSURFACEDATA* dest, int hold)
{
    if (m_Def.m_Invisible) return m_Def.m_Invisible;
    UpdateScreenBox();
    const int scale = m_Def.m_Size > 1 ? m_Def.m_Size : 1;
    const int facing = m_Facing ? 1 : 0;
    if (m_IsShot) {
        const int frame = hold ? m_Anime.Current() : m_Anime.Step();
        if (frame < 0) return 0; // an end code: nothing to show
        DDSURFACEDATA* sheet =
            &g_BitmapSD[static_cast<std::size_t>(SheetForFacing(kShotSheet + facing, facing))];
        const int sx = (frame + 2 * (m_GraphicNo / kShotRows)) * kShotFrame;
        const int sy = m_GraphicNo % kShotRows * kShotFrame;
        if (scale > 1)
            return DDBltEx(dest, m_ScrLeft, m_ScrTop, m_PicWidth, m_PicHeight, sheet, sx, sy,
                           kShotFrame, kShotFrame, 1);
        return DDBlt(dest, m_ScrLeft, m_ScrTop, m_PicWidth, m_PicHeight, sheet, sx, sy, 1);
    }
    // A sword swing: the current part of its sword type, from the picture for
    // its facing (the stretched copy when larger than drawn).
    const int type = m_Def.m_MoveKind;
    const cEdSwordType* sword = RecordAt(g_Database.SwordType, type);
    if (!sword || m_PartIndex < 0 || m_PartIndex >= static_cast<int>(sword->m_Parts.size()))
        return 0;
    const std::int32_t* part = sword->m_Parts[static_cast<std::size_t>(m_PartIndex)].m_Setting;
    const int index = facing + kSwordPicturesPerRecord * type + (scale > 1 ? 2 : 0);
    if (index < 0 || index >= static_cast<int>(g_SwordPictures.size())) return 0;
    DDSURFACEDATA* picture = &g_SwordPictures[static_cast<std::size_t>(index)];
    if (scale > 1)
        return DDBltEx(dest, m_ScrLeft, m_ScrTop, m_Width, m_Height, picture, part[kSwordPicX],
                       part[kSwordPicY], part[kSwordPicW], part[kSwordPicH], 1);
    return DDBlt(dest, m_ScrLeft, m_ScrTop, m_Width, m_Height, picture, part[kSwordPicX],
                 part[kSwordPicY], 1);
}
