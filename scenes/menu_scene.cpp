#include "scenes/menu_scene.h"

#include <utility>

#include "core/checked_access.h"
#include "core/display_facts.h"
#include "core/main_window_handle.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "media/dd_bitmap.h"
#include "media/dd_fill.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"

std::vector<DDSURFACEDATA> g_ScenePictures;
std::vector<DDBMPDATA> g_ScenePictureDefs;

void ReleaseScenePictures()
{
    DDReleaseSurfaceVec(g_ScenePictures);
    g_ScenePictures.clear();
    g_ScenePictureDefs.clear();
}

cMenuScene::cMenuScene(MenuSceneSetup setup, const std::vector<Phase>& ownPhases)
    : m_Setup(std::move(setup))
{
    m_Phases.push_back(static_cast<Phase>(&cMenuScene::FadeIn));
    m_Phases.insert(m_Phases.end(), ownPhases.begin(), ownPhases.end());
    m_Phases.push_back(static_cast<Phase>(&cMenuScene::FadeOut));
}

cMenuScene::~cMenuScene()
{
    for (int n : m_Setup.bitmaps)
        if (n >= 0 && n < BITMAP_COUNT)
            DDReleaseSurfaceFwd(&g_BitmapSD[static_cast<std::size_t>(n)]);
    ReleaseScenePictures();
}

void cMenuScene::Run()
{
    InputState& input = VecAt(g_InputState, 0);
    AutoRepeatDir(input);
    ButtonOnce(input, m_Setup.buttonMask);
    RunPhases();
}

void cMenuScene::Init()
{
    SendRequest(UM_BGM, static_cast<std::uintptr_t>(m_Setup.musicSlot), 0);
    const std::vector<int>& bitmaps = m_Setup.bitmaps;
    if (!bitmaps.empty() &&
        !DDLoadBitmaps(g_BitmapSD.data(), bitmaps.data(), static_cast<int>(bitmaps.size())))
        CloseMainWindow();
    ResetMenuCursor();
    ReleaseScenePictures();
    BuildSurfaces();
    m_SubState = 0;
}

void cMenuScene::FadeIn()
{
    if (g_DDBpp == 8) RedrawSurface();
    DrawScreen();
    if (DDFadeIn(g_ScreenPalette.data(), 0, 255, 0, 0, 0, g_SceneMgr.m_FadeStep, g_Palette.data(),
                 0))
        m_Phase = 1;
}

void cMenuScene::FadeOut()
{
    if (m_Setup.drawBeforeFadeOut) DrawScreen();
    if (!DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, g_SceneMgr.m_FadeStep, g_Palette.data(),
                   0))
        return;
    DDClearPal(&BackBuffer, 16);
    OnLeave();
    if (m_Setup.resetCursorOnLeave) ResetMenuCursor();
    g_SceneMgr.g_PrevScene = m_Setup.sceneId;
    g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene;
}
