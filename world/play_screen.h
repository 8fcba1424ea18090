#pragma once
// One frame of the running stage drawn onto the back buffer: background
// layers, blocks, pictures, the objects, effects, messages, the screen
// effect, the status bar, the time, the test-play hint and the tint. It
// also ends death displays: a character whose death has been shown leaves
// the stage, and the end of the player's is where a life is lost.
//
// inPlay 1 only in the play phase; frozen 0 only there (elsewhere the
// world stands still: nothing advances, and the block cells show what
// their conditions gave in the last play frame); withSound allows the
// low-time warning; withTestText the hint line.

#include <array>
#include <cstdint>
#include <vector>

struct DDSURFACEDATA;
class cNpcObj;
class cEdCommand;

void DrawPlayScreen(int inPlay, int frozen, int withSound, int withTestText);
// The player's frame; after its death display: a replay restarts, a life
// is used for a retry or the game is over.
void DrawPlayer(int frozen);
// A computer character's frame; 1 when its death display has ended.
int DrawChara(cNpcObj& chara, int frozen);
// Moves the auto-scrolling layers.
void StepLayers();
// The layers of one side of the objects (front 0 behind, 1 in front),
// tiled over the screen; the back side is filled with palette number 16
// when no back layer is shown. Layer i is drawn from bitmap 55 + i; layers
// beyond the eighth have no picture (a fill still fills).
void DrawLayers(DDSURFACEDATA* dest, int front);
// The visible cells of the block map on one side of the objects.
void DrawBlockMap(DDSURFACEDATA* dest, int front, int frozen);
// The picture objects of one side; ended ones leave with their surfaces.
void DrawPictures(DDSURFACEDATA* dest, int front, int frozen);
void DrawStatusBar(DDSURFACEDATA* dest);
// Where the shown status items start, from their widths in order: the
// free width of the bar (638) shared out evenly before, between and after.
std::vector<int> StatusItemPositions(const std::vector<int>& shownWidths);
void DrawTime(DDSURFACEDATA* dest, int withSound);
void StartTint(const cEdCommand& command);
void DrawTint(int frozen);
// The drawing of the objects that are not characters: items, shots. With
// useZ only those of drawing layer z (items have none of their own: they
// are drawn on layer 3, the characters' default).
void DrawItems(int z, int useZ, int frozen);
void DrawShots(int z, int useZ, int frozen);
// The hint line at the bottom of the screen.
void DrawTestText();

// The pulsing highlight colours of the texture back end (entries 1 to 9;
// a character's colour index reads them): an ARGB colour and a blend mode.
struct CycleColour {
    std::uint32_t m_Colour = 0;
    std::int32_t m_Mode = 0;
};
extern std::array<CycleColour, 10> g_CycleColors;
// One step of the highlight colours (every full drawing). The pulse is
// shared by every caller for the whole run.
void CycleColors();
// The pulse's step: value moves by step toward high (direction 0) or low
// (1) and turns at either end, taking that step back; 1 when it turned at
// the low end.
int PingPong(int& value, int& direction, int step, int low, int high);
// In 8-bit colour the screen palette becomes the loaded one again (stage set-up).
void ResetScreenPalette();
