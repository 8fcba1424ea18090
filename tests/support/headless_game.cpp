#include "support/headless_game.h"

#include <algorithm>

#include "core/checked_access.h"
#include "core/path.h"

#include "data/ed_data.h"
#include "data/ed_database.h"
#include "data/ed_option.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/font_faces.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/replay_sync.h"
#include "media/bitmap_table.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "media/ds_sound.h"
#include "media/font.h"
#include "scenes/frame_step.h"
#include "scenes/free_play.h"
#include "scenes/game_play.h"
#include "scenes/replay_start.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/start_up_data.h"

namespace test {

void HeadlessServices::PlayMusic(std::int32_t number)
{
    // The main window remembers the stage music playing now.
    g_Progress.nStageMusic = number;
}

void HeadlessServices::ErrorBox(const char* text)
{
    m_ErrorBoxes += text ? text : "";
    m_ErrorBoxes += '\n';
}

int HeadlessServices::KeyDown(int vk)
{
    return std::find(m_KeysDown.begin(), m_KeysDown.end(), vk) != m_KeysDown.end() ? 1 : 0;
}

HeadlessGame::HeadlessGame()
{
    g_DataVersion = kDataVersion;
    g_StripCR = 1;
    g_SceneMgr = cSceneMgr();
    g_SceneMgr.m_FrameRate = 60;
    g_SceneMgr.m_FadeStep = 10;
    g_InputState.assign(1, InputState());
    for (InputState& state : g_InputState)
        SetAutoRepeat(state, 18, 6);
    InitBitmapTable();
    InitDigitBmp();
    InitFontDef();
    if (!LoadDatabaseAtStartUp() || !LoadSystemAtStartUp()) {
        m_Error = "the database or the system data cannot be read";
        return;
    }
    if (!SetUpDisplay()) {
        m_Error = "the display cannot be set up";
        return;
    }
    LoadFile(g_Option, g_PathTable[PATH_OPTION]);
    // The system sounds and the Sound table's: slots that play nothing.
    g_Sounds.assign(16 + g_Database.Sound.size(), DSSOUNDDATA{});
    if (!LoadWorldMapAtStartUp() || !LoadCommonPaletteAtStartUp()) {
        m_Error = "the world map or the common palette cannot be read";
        return;
    }
}

HeadlessGame::~HeadlessGame()
{
    DestroyScenes();
    g_GamePlay = nullptr;
    ReleaseGameFonts();
    for (DDSURFACEDATA& sd : g_BitmapSD)
        DDReleaseSurface(&sd);
    DDUninit();
    g_Sounds.clear();
    g_SceneMgr = cSceneMgr();
}

// The texture back end at 32 bits in a window, as System.ini's defaults
// ask, drawing into memory.
bool HeadlessGame::SetUpDisplay()
{
    if (!DDInit(1, 0, 640, 480, 32, 0, 1, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
                BITMAP_COUNT, 0))
        return false;
    LinkSharedTextures();
    if (!DDLoadPaletteFromFile(g_Palette.data(), g_BitmapTable[0].name.c_str())) return false;
    g_ScreenPalette = g_Palette;
    if (g_System.nColourMode == 0) {
        if (!DDSetTransmitFromFile(g_BitmapTable[0].name.c_str())) return false;
    } else {
        DDSetTransmit(g_System.byKeyR, g_System.byKeyG, g_System.byKeyB);
    }
    const int face = std::clamp(g_System.nFontFace, 0, kFontFaceCount - 1);
    for (FONTDEF& def : g_FontDef)
        def.setFace(g_FontFaceNames[face]);
    if (!CreateFonts(g_Fonts.data(), g_FontDef.data(), 4)) return false;
    g_Fonts[1].m_Symbol = g_System.bFontSymbols;
    g_Fonts[1].m_Centre = g_System.bFontCentred;
    return CreateDigitStrips(g_DigitSD.data(), g_DigitBmp.data(), 4, g_Fonts.data(),
                             g_FontDef.data()) != 0;
}

bool HeadlessGame::StartStage(const std::string& stageFile, int playKind)
{
    std::string path;
    FindNewestNumbered(path, stageFile, g_ExtTable[EXT_STAGE]);
    if (path.empty() || !::StartFreePlay(path.c_str(), 1)) return false;
    if (playKind != PLAYKIND_FREE) {
        g_Progress.nInitialLives = VecAt(g_System.vUnlimitedLives, playKind)
                                       ? kUnlimitedLives
                                       : VecAt(g_System.vInitialLives, playKind);
    }
    // The title item that starts each kind.
    const int modes[] = {PLAYMODE_NEW_GAME, PLAYMODE_CHALLENGE, PLAYMODE_FREE, PLAYMODE_REPLAY};
    StartPlay(modes[std::clamp(playKind, 0, 3)], playKind);
    return true;
}

bool HeadlessGame::StartReplay(const std::string& replayPath)
{
    if (!LoadReplayFile(replayPath)) return false;
    StartPlay(PLAYMODE_REPLAY, PLAYKIND_REPLAY);
    return true;
}

void HeadlessGame::StartPlay(int playMode, int playKind)
{
    DestroyScenes();
    g_GamePlay = nullptr;
    g_SceneMgr.g_PlayMode = playMode;
    g_SceneMgr.m_PlayKind = playKind;
    g_SceneMgr.m_ResultsOn = VecAt(g_System.vModeFlags, playKind).bRanking;
    g_SceneMgr.g_PrevScene = SCENE_TITLE;
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
}

void HeadlessGame::Frame(InputFrame input)
{
    ++m_Services.m_Clock;
    InputState& player = g_InputState[0];
    player.m_DirBits = input.m_Dir;
    player.m_ButtonBits = input.m_Buttons;
    player.m_DirCode = DirCode(input.m_Dir);
    SwitchScene(g_SceneMgr.g_CurScene);
    if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
}

void HeadlessGame::PolledFrame()
{
    ++m_Services.m_Clock;
    PollInput(g_InputState);
    SwitchScene(g_SceneMgr.g_CurScene);
    if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
}

cGamePlay* HeadlessGame::Play() const
{
    return g_SceneMgr.g_CurScene == SCENE_GAME_PLAY ? g_GamePlay : nullptr;
}

ReplayPlayback PlayBackReplay(const std::string& path, int runs, int limit)
{
    ReplayPlayback result;
    HeadlessGame game;
    if (!game.Error().empty() || !game.StartReplay(path)) return result;
    result.read = true;
    result.frames = g_ReplayLog.FrameCount();
    const std::int64_t interval = cReplaySync::kInterval;
    result.checkpoints = result.frames / interval + (result.frames % interval ? 1 : 0);
    for (int i = 0; i < limit; ++i) {
        game.Frame();
        const cGamePlay* play = game.Play();
        if (!play) break;
        const cReplayCheck& check = play->m_ReplayCheck;
        result.matched = check.m_Matched;
        result.completed = check.m_Completed;
        result.outOfSyncAt = check.m_OutOfSyncAt;
        result.setUps = play->m_SetStageCount;
        if (check.m_Completed >= runs || check.m_OutOfSyncAt != 0) break;
    }
    result.closeRequests = game.m_Services.m_CloseRequests;
    return result;
}

} // namespace test
