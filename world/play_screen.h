#pragma once
// One frame of the running stage drawn onto the back buffer: background
// layers, blocks, pictures, the objects, effects, messages, the screen
// effect, the status bar, the time, the test-play hint and the tint. It
// also ends death displays: a character whose death has been shown leaves
// the stage, and the end of the player's is where a life is lost.
//
// inPlay 1 only in the play phase; frozen 0 only there (elsewhere the
// world stands still: nothing advances); withSound allows the low-time
// warning; withTestText the hint line.

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
void DrawLayers(DDSURFACEDATA* dest, int front);
void DrawBlockMap(DDSURFACEDATA* dest, int front);
void DrawPictures(DDSURFACEDATA* dest, int front, int frozen);
void DrawStatusBar(DDSURFACEDATA* dest);
void DrawTime(DDSURFACEDATA* dest, int withSound);
void StartTint(const cEdCommand& command);
void DrawTint(int frozen);
// The drawing of the objects that are not characters: items, shots.
void DrawItems(int z, int useZ);
void DrawShots(int z, int useZ);
// The hint line at the bottom of the screen.
void DrawTestText();
// One step of the highlight colours (every full drawing).
void CycleColors();
// In 8-bit colour the screen palette becomes the loaded one again (stage set-up).
void ResetScreenPalette();
