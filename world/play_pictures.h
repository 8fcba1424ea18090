#pragma once
// The pictures of a running stage beside the fixed bitmaps: the character
// pictures of the database (own pictures), the sword and effect pictures,
// the picture command's surfaces, the message windows' surfaces and the
// sight overlay.
//
// Each database record owns a fixed group of consecutive surfaces:
//   own pictures (records 1..): left-facing, right-facing (mirrored in
//     cells of the record's cell size), and the pixel-effect copies of both;
//   sword types (records 0..): first file, second file, and their copies;
//   effects (records 1..): the picture and its copy.
// A pixel-effect copy lives in system memory (surface back end) or holds no
// texture (texture back end); it draws through its drawing copy (lpMirror).
// The surfaces of one group never move once loaded, so the links hold.

#include <list>
#include <string>
#include <vector>

#include "media/dd_surface.h"

extern std::vector<DDSURFACEDATA> g_CharaPictures;
extern std::vector<DDSURFACEDATA> g_SwordPictures;
extern std::vector<DDSURFACEDATA> g_EffectPictures;
extern std::list<DDSURFACEDATA> g_PictureSurfaces;
extern std::list<std::string> g_PictureBmpList; // the file of each picture surface
extern std::list<DDSURFACEDATA> g_MessageSurfaces;
extern std::list<DDBMPDATA> g_MessageSurfaceDefs; // their creation records, entry for entry

// Surfaces per record of each picture vector.
inline constexpr int kCharaPicturesPerRecord = 4;
inline constexpr int kSwordPicturesPerRecord = 4;
inline constexpr int kEffectPicturesPerRecord = 2;

// The fixed bitmaps a play draws from: 2-47, 49-51 and 55-68 (63 numbers);
// the eight background pictures are 55-62.
extern const int kPlayBitmaps[63];
extern const int kBackgroundBitmaps[8];

// The system bitmaps of the play; 1 when loaded (no previous play scene:
// every play bitmap, else the eight background pictures). The background
// entries are named after the live stage's picture layers first. Without
// a graphics layer (the world stepped without a display) nothing is loaded
// and the answer is 1.
int LoadPlayPictures(int newPlay);
// The two shot sheets (bitmaps 63, 64) from the sheets 20 and 21: each
// 16 x 16 frame centred in a 32 x 32 cell.
void BuildShotSheets();
void LoadCharaBitmaps();
void LoadSwordPictures();
void LoadEffectPictures();
// Every picture object removed with its surface.
void ResetPictures();
void ReleaseMessageSurfaces();
// (Re)builds the sight overlay of the player's sight on two surfaces: an
// overlay of palette 16 with a round or square hole of the sight range
// around its centre; solid when the range is 0.
void CreateSightSurfaces(DDSURFACEDATA* overlay, DDSURFACEDATA* hole);
// Releases every picture of the play (the play scene ends).
void ReleasePlayPictures();
