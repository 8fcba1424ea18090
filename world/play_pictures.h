#pragma once
// The pictures of a running stage beside the fixed bitmaps: the character
// pictures of the database (own pictures), the sword and effect pictures,
// the picture command's surfaces, the message windows' surfaces and the
// sight overlay.

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

// The system bitmaps of the play; 1 when loaded (no previous play scene:
// every play bitmap, else the eight background pictures).
int LoadPlayPictures(int newPlay);
// The two shot sheets (bitmaps 63, 64) from the sheets 20 and 21.
void BuildShotSheets();
void LoadCharaBitmaps();
void LoadSwordPictures();
void LoadEffectPictures();
// Every picture object removed with its surface.
void ResetPictures();
void ReleaseMessageSurfaces();
// (Re)builds the sight overlay of the player's sight on two surfaces.
void CreateSightSurfaces(DDSURFACEDATA* overlay, DDSURFACEDATA* hole);
// Releases every picture of the play (the play scene ends).
void ReleasePlayPictures();
