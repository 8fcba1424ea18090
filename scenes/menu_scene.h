#pragma once
// The frame the five menu scenes (title menu, world map, save menu,
// challenge select, options) share on top of the scene base: each frame
// the menu input (auto-repeated directions, buttons once per press), Init
// that asks for the scene's music, loads its bitmaps, starts the cursor on
// the first item and builds the scene's own surfaces, the fades in and out,
// and the release of the scene's pictures. What differs is what the scene
// gives its constructor and the operations it overrides. Game thread only.

#include <cstdint>
#include <vector>

#include "media/bitmap_table.h"
#include "scenes/scene.h"

// The surfaces the current menu scene builds for itself (element 0 is its
// own surface) and their creation records; a scene empties both before it
// builds and when it goes.
extern std::vector<DDSURFACEDATA> g_ScenePictures;
extern std::vector<DDBMPDATA> g_ScenePictureDefs;

// What tells the menu scenes apart in the shared frame.
struct MenuSceneSetup {
    std::int32_t sceneId = SCENE_TITLE;
    std::int32_t musicSlot = 0;     // 0 title, 1 world map and save menu, 2 challenge, 3 options
    std::uint16_t buttonMask = 3;   // the buttons seen once per press: 3 or 15
    std::vector<int> bitmaps;       // bitmap numbers the scene loads
    bool resetCursorOnLeave = true; // all but the save menu
    bool drawBeforeFadeOut = false; // the world map keeps drawing while it fades out
};

class cMenuScene : public cScene {
public:
    // The phase table: FadeIn, the scene's own phases, FadeOut.
    cMenuScene(MenuSceneSetup setup, const std::vector<Phase>& ownPhases);
    // Releases the scene's bitmaps and its own surfaces.
    ~cMenuScene() override;

    // The menu input of record 0, then Init when due and the current phase.
    void Run() override;
    // Music, bitmaps (a failure closes the game, which goes on meanwhile),
    // the cursor, the scene's own surfaces, sub-state 0.
    void Init() override;
    // The scene's screen under the fade; phase 1 when the fade has ended.
    void FadeIn() override;
    // The fade; at its end the back buffer is cleared and the requested
    // scene becomes the current one.
    void FadeOut() override;

protected:
    // Creates the scene's own surfaces in g_ScenePictures (after they were
    // emptied) and draws them.
    virtual void BuildSurfaces() {}
    // Draws the scene's own surface again (8-bit colour: its colours follow
    // the palette).
    virtual void RedrawSurface() {}
    // The scene's screen on the back buffer.
    virtual void DrawScreen() {}
    // The scene's own step when its fade-out has ended (the options save).
    virtual void OnLeave() {}

    const MenuSceneSetup m_Setup;
};

// Releases and empties g_ScenePictures and g_ScenePictureDefs.
void ReleaseScenePictures();
