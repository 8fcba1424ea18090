#pragma once
// Showing the finished frame, the virtual back buffer, and getting surfaces
// back after the device or the video memory was lost.
//
// Under Direct3D the frame step calls DDPresent; when it reports the device
// lost, the main window runs DDRestoreSurface (it returns 0 until the device
// can be reset, then recreates every listed surface: pictures from their
// files, plain surfaces empty with their redraw flag set). Under DirectDraw
// the frame step flips or copies to the primary itself (DDFlipPrimary,
// DDBltToPrimary) and calls DDRestore when the primary was lost.

#include <cstdint>

struct DDSURFACEDATA;

int DDPresent();
void DDSetVirtualBackBuffer(int on);
void DDFlushVirtualBackBuffer(DDSURFACEDATA* dest, DDSURFACEDATA* src);
int DDRestoreSurface();
std::uint8_t DDRestore();

// DirectDraw full screen: flips the chain, showing BackBuffer.
std::int32_t DDFlipPrimary();
// DirectDraw windowed: copies BackBuffer onto the window's client area.
std::int32_t DDBltToPrimary();
