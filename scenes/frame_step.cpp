#include "scenes/frame_step.h"

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/main_window_handle.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/timer.h"
#include "media/dd_blit.h"
#include "media/dd_ddraw.h"
#include "media/dd_init.h"
#include "media/dd_present.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "platform/game_window.h"
#include "scenes/game_play.h"
#include "scenes/input_devices.h"
#include "scenes/input_session.h"
#include "scenes/key_config.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"

#include <array>
#include <vector>

std::int32_t g_FrameCount = 0;
std::int32_t g_Fps = 0;
std::int32_t g_FrameTime = 0;
std::int32_t g_ShowFps = 0;
std::int32_t g_DDBltPresent = 0;
std::int32_t g_FrameTimeAvg = 0;

namespace {

constexpr int kFrameRing = 16;
std::array<std::int32_t, kFrameRing> g_FrameTimeRing{};
std::int32_t g_FrameTimeRingPos = 0;

std::vector<std::function<bool()>> g_LostSurfaceGroups;

// The rate of the input polls: the menus' 60, whatever the stage's rate.
constexpr int kInputRate = 60;

bool DirectDrawActive()
{
    return !g_D3DState && lpDD != nullptr;
}

bool DirectDrawPrimaryLost()
{
    DDDrawSurface* primary = PrimarySD.lpDD ? PrimarySD.lpDD->lpDDSurface.get() : nullptr;
    return primary && primary->IsLost() == DDERR_SURFACELOST;
}

// A stage running faster than the display: no flip, no vertical-blank wait.
bool FastStage()
{
    return g_SceneMgr.m_GamePlayScene != nullptr && g_SceneMgr.m_FrameRate > 60;
}

void RestoreDigitStrips()
{
    for (std::size_t i = 0; i < g_DigitSD.size(); ++i) {
        DDSURFACEDATA& strip = g_DigitSD[i];
        if (!strip.lpDD || !strip.lpDD->lpDDSurface) continue;
        DDDrawSurface& surface = *strip.lpDD->lpDDSurface;
        if (surface.IsLost() == DDERR_SURFACELOST) surface.Restore();
        if (strip.ddMemory == 0) DrawDigitStrip(&strip, &g_Fonts[i]);
    }
}

void DrawFrameRate()
{
    g_FrameTimeRing[static_cast<std::size_t>(g_FrameTimeRingPos)] = g_FrameTime;
    if (++g_FrameTimeRingPos >= kFrameRing) {
        g_FrameTimeRingPos = 0;
        std::uint32_t sum = 0;
        for (std::int32_t t : g_FrameTimeRing)
            sum += static_cast<std::uint32_t>(t);
        g_FrameTimeAvg = static_cast<std::int32_t>(sum >> 4);
    }
    g_Fonts[1].DrawTextBoxF(&BackBuffer, 495, 463, 0, 0, "FPS%2d(%2d)", g_Fps, g_FrameTimeAvg);
}

} // namespace

void AddLostSurfaceGroup(std::function<bool()> restore)
{
    g_LostSurfaceGroups.push_back(std::move(restore));
}

void ResetFrameStats()
{
    g_FrameTimeRing = {};
    g_FrameTimeRingPos = 0;
    g_FrameTimeAvg = 0;
    g_FrameCount = 0;
    g_Fps = 0;
    g_FrameTime = 0;
}

void WaitFrame()
{
    // Both back ends are paced by the clock, also with vertical sync, so
    // that the game's speed never depends on the display's refresh rate.
    if (!g_D3DState && !lpDD) return;
    FrameWait(static_cast<unsigned>(std::max(g_SceneMgr.m_FrameRate, 0)));
}

bool RestoreLostSurfaces()
{
    if (!DirectDrawActive() || !DirectDrawPrimaryLost()) return true;
    if (!DDRestore()) return false;
    for (const auto& group : g_LostSurfaceGroups)
        if (!group()) return false;
    RestoreDigitStrips();
    return true;
}

void PollInput(std::vector<InputState>& input)
{
    InputState& player = VecAt(input, 0);
    if (TakeSessionInput(player)) return;
    if (g_KeyConfig.bUse != 0) {
        PollKeyConfig(player, 1, kInputRate);
    } else {
        PollJoyKey(player, 0, kPollJoystick | kPollKeyboard, kInputRate);
    }
    NoteSessionInput(player);
}

void PresentFrame()
{
    if (g_D3DState) {
        // A lost device is rebuilt by the main thread before the next frame;
        // a full-screen game steps aside meanwhile.
        if (!DDPresent()) {
            if (!g_DDWindowed) plat::minimizeGameWindow();
            SendRequest(UM_RESTORE, 0, 0);
        }
        return;
    }
    if (!lpDD) return;
    if (g_DDWindowed) {
        DDBltToPrimary();
    } else if (g_DDBltPresent == 0 && !FastStage()) {
        DDFlipPrimary();
    } else {
        DDBlt(&PrimarySD, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
    }
}

int StepFrame()
{
    WaitFrame();
    ++g_FrameCount;
    TimerStart();
    if (DirectDrawActive() && !RestoreLostSurfaces()) return 0;
    PollInput(g_InputState);
    try {
        SwitchScene(g_SceneMgr.g_CurScene);
    } catch (const char* text) {
        FatalErrF(g_hMainWnd, "%s", text);
    }
    if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
    g_Fps = GetFps();
    g_FrameTime = static_cast<std::int32_t>(TimerElapsed());
    if (g_GamePlay) g_GamePlay->m_Fps = g_Fps;
    if (g_ShowFps) DrawFrameRate();
    PresentFrame();
    return 1;
}
