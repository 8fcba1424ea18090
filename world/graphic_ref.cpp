// Graphic references resolved to their pictures; icons of them.

#include "world/graphic_ref.h"

#include "core/checked_access.h"
#include "data/ed_database.h"
#include "data/ed_picture.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "world/game_obj.h"
#include "world/play_pictures.h"

namespace {

// Bitmap numbers of the fixed sheets.
constexpr int kBlockSheet = 2;
constexpr int kBlockCopy = 3;
constexpr int kCharaSheet = 4;  // + 2s + facing for character sheet s (0 to 7)
constexpr int kCharaCopy = 22;  // the pixel-effect copies of the character sheets
constexpr int kCharaSheets = 8; // Character1.bmp to Character8.bmp
constexpr int kItemSheet = 40;
constexpr int kItemCopy = 41;
constexpr int kSmallItemSheet = 42;
constexpr int kShotCells = 63; // + facing: the 32-pixel shot sheets
// Frames 20 and above of a plain reference come from the right-facing sheet.
constexpr int kFramesPerFacing = 20;

DDSURFACEDATA* Bitmap(int n)
{
    return &g_BitmapSD[static_cast<std::size_t>(n)];
}

DDSURFACEDATA* OwnPicture(int index)
{
    return &VecAt(g_CharaPictures, index);
}

// Cell factor c of own picture n and whether its large flag is set.
void OwnPictureCells(int n, int& large, int& factor)
{
    const cEdBmpCharaExc* record = RecordAt(g_Database.Bmp_CharaExc, n);
    large = record ? record->m_Large : 0;
    factor = large ? record->CellFactor() : 1;
}

// The top-left of frame `frame` in an own picture of cell factor c: cells of
// 32c, 16 / c to a row.
void OwnPictureCell(int frame, int factor, std::int32_t& x, std::int32_t& y)
{
    const int perRow = 16 / factor;
    x = frame % perRow * 32 * factor;
    y = frame / perRow * 32 * factor;
}

void ResolveCharacter(GraphicRef& ref, int use, int number, int frame, int facing, int frameOffset)
{
    const int sheet = number / 15;
    ref.m_Y = number % 15 * 32;
    // A number of no sheet (negative, or beyond the eighth) would name another
    // bitmap: it takes the fallback cell below.
    const bool knownSheet = number >= 0 && sheet < kCharaSheets;
    if (knownSheet && use == 1) {
        ref.m_Surface = Bitmap(kCharaSheet + 2 * sheet + facing);
        ref.m_Opposite = Bitmap(kCharaSheet + 2 * sheet + 1 - facing);
        ref.m_Copy = Bitmap(kCharaCopy + 2 * sheet + facing);
        ref.m_OppositeCopy = Bitmap(kCharaCopy + 2 * sheet + 1 - facing);
        ref.m_X = (frame + frameOffset) * 32;
    } else if (knownSheet) {
        const int right = frame >= kFramesPerFacing ? 1 : 0;
        ref.m_Surface = Bitmap(kCharaSheet + 2 * sheet + right);
        ref.m_Copy = Bitmap(kCharaCopy + 2 * sheet + right);
        ref.m_Opposite = nullptr;
        ref.m_OppositeCopy = nullptr;
        ref.m_X = (frame - right * kFramesPerFacing) * 32;
    }
    const DDSURFACEDATA* surface = knownSheet ? ref.m_Surface : nullptr;
    if (!surface || ref.m_Y < 0 || ref.m_Y >= surface->height || ref.m_X < 0 ||
        ref.m_X >= surface->width) {
        ref.m_Surface = ref.m_Opposite = Bitmap(kCharaSheet);
        ref.m_Copy = ref.m_OppositeCopy = Bitmap(kCharaCopy);
        ref.m_X = 0;
        ref.m_Y = 0;
    }
}

void ResolveOwnPicture(GraphicRef& ref, int use, int number, int frame, int facing, int frameOffset)
{
    const int first = 4 * (number - 1);
    if (use == 1) {
        ref.m_Surface = OwnPicture(first + facing);
        ref.m_Copy = OwnPicture(first + facing + 2);
        ref.m_Opposite = OwnPicture(first + 1 - facing);
        ref.m_OppositeCopy = OwnPicture(first + 1 - facing + 2);
        frame += frameOffset;
    } else {
        ref.m_Surface = OwnPicture(first);
        ref.m_Copy = OwnPicture(first + 2);
    }
    int large = 0, factor = 1;
    OwnPictureCells(number, large, factor);
    ref.m_Large = large;
    ref.m_Size = static_cast<std::uint8_t>(factor);
    OwnPictureCell(frame, factor, ref.m_X, ref.m_Y);
}

} // namespace

void ResolveGraphic(GraphicRef& ref, int use, int kind, int number, int frame,
                    const cGameObj* owner, int frameOffset)
{
    ref.m_Large = 0;
    ref.m_Size = 1;
    const int facing = owner && owner->m_Facing ? 1 : 0;
    switch (kind) {
    case 0:
        ref.m_Surface = ref.m_Opposite = Bitmap(kBlockSheet);
        ref.m_Copy = ref.m_OppositeCopy = Bitmap(kBlockCopy);
        ref.m_X = number / 15 * 32;
        ref.m_Y = number % 15 * 32;
        break;
    case 1:
        ResolveCharacter(ref, use, number, frame, facing, frameOffset);
        break;
    case 2:
        ref.m_Surface = ref.m_Opposite = Bitmap(kItemSheet);
        ref.m_Copy = ref.m_OppositeCopy = Bitmap(kItemCopy);
        ref.m_X = number / 15 * 64 + (use == 2 ? frameOffset * 32 : 0);
        ref.m_Y = number % 15 * 32;
        break;
    case 3: {
        const int sheet = use == 1 ? facing : 0;
        ref.m_Surface = ref.m_Copy = Bitmap(kShotCells + sheet);
        ref.m_Opposite = ref.m_OppositeCopy = Bitmap(kShotCells + (use == 1 ? 1 - facing : 0));
        ref.m_X = number / 30 * 64;
        ref.m_Y = number % 30 * 32;
        break;
    }
    case 4:
        ResolveOwnPicture(ref, use, number, frame, facing, frameOffset);
        break;
    default:
        break;
    }
}

void DrawGraphicIcon(DDSURFACEDATA* dest, int x, int y, int kind, int number, int frame)
{
    switch (kind) {
    case 0:
        DDBltEx(dest, x, y, 16, 16, Bitmap(kBlockCopy), number / 15 * 32, number % 15 * 32, 32, 32,
                1);
        break;
    case 1:
        if (number < 0 || number / 15 >= kCharaSheets) return;
        DDBltEx(dest, x, y, 16, 16, Bitmap(kCharaCopy + 2 * (number / 15)), frame * 32,
                number % 15 * 32, 32, 32, 1);
        break;
    case 2:
        DDBlt(dest, x, y, 16, 16, Bitmap(kSmallItemSheet), number / 15 * 32, number % 15 * 16, 1);
        break;
    case 3:
        DDBltEx(dest, x, y, 16, 16, Bitmap(kShotCells), number / 30 * 64, number % 30 * 32, 32, 32,
                1);
        break;
    case 4: {
        int large = 0, factor = 1;
        OwnPictureCells(number, large, factor);
        std::int32_t sx = 0, sy = 0;
        OwnPictureCell(frame, factor, sx, sy);
        DDBltEx(dest, x, y, 16, 16, OwnPicture(4 * number - 2), sx, sy, 32 * factor, 32 * factor,
                1);
        break;
    }
    default:
        break;
    }
}
