#pragma once
// The rules every drawing operation of the texture back end follows: surface
// substitution (a linked copy draws with the texture it is linked to; while
// the virtual back buffer is on, BackBuffer means VirBackBuffer), the lazily
// begun scene, the render target and the resting target left between
// drawings, and the vertex colour and texture-stage operations in force.
// Every function here does nothing under DirectDraw.

#include <cstdint>

struct DDSURFACEDATA;

void DDMirrorSource(DDSURFACEDATA** sd);
int DDVirtualTarget(DDSURFACEDATA** sd);
int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int index, DDSURFACEDATA* sd);
// Makes the resting render target current again.
void DDSetRestingTarget();

void DDSetVertexColor(std::uint32_t argb);
void DDResetVertexColor();
void DDSetColorOp(int op);
void DDResetColorOp();
void DDResetAlphaOp();
