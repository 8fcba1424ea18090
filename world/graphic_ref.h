#pragma once
// A graphic reference resolved to the picture it is drawn from: the fixed
// bitmaps (blocks, character sheets, items, shots) and the own pictures.

#include <cstdint>

struct DDSURFACEDATA;
class cGameObj;

struct GraphicRef {
    DDSURFACEDATA* m_Surface = nullptr;  // the picture for the current facing
    DDSURFACEDATA* m_Copy = nullptr;     // its pixel-effect copy
    DDSURFACEDATA* m_Opposite = nullptr; // the picture for the other facing
    DDSURFACEDATA* m_OppositeCopy = nullptr;
    std::int32_t m_Large = 0; // an own picture's large flag
    std::uint8_t m_Size = 1;  // cell edge in units of 32 pixels
    std::int32_t m_X = 0;     // the cell's top-left in the picture
    std::int32_t m_Y = 0;
    // Drawing state of the character drawing.
    std::int32_t m_Tint = 0;
    std::uint32_t m_TintColour = 0;
    std::int32_t m_TintOp = 0;
};

// Use 1: an object with a facing (the owner gives it); 2: an item with a
// frame offset; else the plain use. Kinds 0 block, 1 character, 2 item,
// 3 shot, 4 own picture.
void ResolveGraphic(GraphicRef& ref, int use, int kind, int number, int frame,
                    const cGameObj* owner, int frameOffset);
// A 16 x 16 icon of a graphic reference ("DrawGraphicRef").
void DrawGraphicIcon(DDSURFACEDATA* dest, int x, int y, int kind, int number, int frame);
