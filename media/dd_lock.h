#pragma once
// Pixel access: a surface's pixels held for reading and writing by the
// operations that compute pixels themselves. Two-surface operations lock the
// destination first and unlock the source first.

#include <cstdint>

struct DDSURFACEDATA;

// What a DirectDraw lock describes.
struct DDLOCKDESC {
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row
    void* surface = nullptr;
};

// The pixel-access record of one surface.
struct DDLOCKDATA {
    DDSURFACEDATA* m_lpSD = nullptr;
    std::uint8_t* m_lpBits = nullptr; // the first locked byte
    int m_Bpp = 32;
    int m_BytesPerPixel = 4;
    DDLOCKDESC m_Desc;

    // The pitch counted in pixels.
    int pitch() const { return m_BytesPerPixel ? m_Desc.pitch / m_BytesPerPixel : 0; }
};

// DirectDraw: locks the whole surface. Under Direct3D it only logs.
bool DDLock(DDSURFACEDATA* sd, DDLOCKDESC* desc, void** bits, int bpp);
// Locks a surface of either back end into the record; false (nothing held)
// when it cannot be locked.
bool DDLockData(DDLOCKDATA* lock, DDSURFACEDATA* sd);
void DDUnlock(DDLOCKDATA* lock);
// 1 when sd is BackBuffer of a full-screen display.
int DDIsBackBuffer(DDSURFACEDATA* sd);
