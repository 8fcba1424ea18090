// The pictures of a running stage beside the fixed bitmaps.

#include "world/play_pictures.h"

#include "media/bitmap_table.h"
#include "world/placeholder.h"

std::vector<DDSURFACEDATA> g_CharaPictures;
std::vector<DDSURFACEDATA> g_SwordPictures;
std::vector<DDSURFACEDATA> g_EffectPictures;
std::list<DDSURFACEDATA> g_PictureSurfaces;
std::list<std::string> g_PictureBmpList;
std::list<DDSURFACEDATA> g_MessageSurfaces;
std::list<DDBMPDATA> g_MessageSurfaceDefs;

int LoadPlayPictures(int)
{
    WORLD_PLACEHOLDER(15, "LoadPlayPictures");
    return 1;
}

void BuildShotSheets()
{
    WORLD_PLACEHOLDER(15, "BuildShotSheets");
}

void LoadCharaBitmaps()
{
    WORLD_PLACEHOLDER(15, "LoadCharaBitmaps");
}

void LoadSwordPictures()
{
    WORLD_PLACEHOLDER(15, "LoadSwordPictures");
}

void LoadEffectPictures()
{
    WORLD_PLACEHOLDER(15, "LoadEffectPictures");
}

void ResetPictures()
{
    WORLD_PLACEHOLDER(15, "ResetPictures");
}

void ReleaseMessageSurfaces()
{
    WORLD_PLACEHOLDER(15, "ReleaseMessageSurfaces");
}

void CreateSightSurfaces(DDSURFACEDATA*, DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "CreateSightSurfaces");
}

void ReleasePlayPictures()
{
    WORLD_PLACEHOLDER(15, "ReleasePlayPictures");
}
