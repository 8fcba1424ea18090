#pragma once
// A scene's own surface whose pixels were lost with the display device:
// the texture back end recreates it empty after a reset, the surface back
// end finds it lost with its primary. The scene draws it again.

struct DDSURFACEDATA;

// True once for a surface that must be drawn again; the surface is ready
// to be drawn into when this returns.
bool TakeSurfaceRedraw(DDSURFACEDATA& sd);
