#include "scenes/title_scene.h"

#include <algorithm>

#include "core/checked_access.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/sjis_text.h"
#include "core/sound_request.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/path_table.h"
#include "data/story_slots.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "platform/path_resolver.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_items.h"
#include "scenes/replay_keys.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_surface.h"
#include "scenes/story_files.h"
#include "scenes/story_slot_list.h"
#include "world/input_state.h"
#include "world/play_screen.h"

namespace {

constexpr int kTitleBitmap = 47;
constexpr int kGameModeBitmap = 48;
constexpr int kAccessoryBitmap = 49;
constexpr int kWindowBitmap = 45;

constexpr int kRow = 32;       // a menu row, and the cursor cell before each label
constexpr int kBigCursor = 32; // the title's cursor, cell (0, 0) of the accessories
constexpr int kSmallCursor = 16;
constexpr int kSmallCursorX = 64; // the lists' cursor, cell (64, 0)
constexpr int kFramePalette = 240;

constexpr std::uint32_t kSoundConfirm = 1;
constexpr std::uint32_t kSoundCancel = 2;
constexpr std::uint32_t kSoundRefused = 3;

MenuSceneSetup TitleSetup()
{
    MenuSceneSetup setup;
    setup.sceneId = SCENE_TITLE;
    setup.musicSlot = 0;
    setup.buttonMask = 3;
    setup.bitmaps = {kTitleBitmap, kGameModeBitmap, kAccessoryBitmap, kWindowBitmap};
    return setup;
}

DDSURFACEDATA& Bitmap(int n)
{
    return g_BitmapSD[static_cast<std::size_t>(n)];
}

// The play kind's results switch of the system data.
std::int32_t ResultsOf(int kind)
{
    return VecAt(g_System.vModeFlags, kind).bRanking;
}

// The challenge progress: Challenge.dat, or a fresh one when there is
// none. A file that is there but does not read is said first; it is left
// as it is until a cleared challenge writes a new one.
void LoadChallengeProgress()
{
    if (g_Progress.LoadChallengeData()) return;
    const char* path = g_PathTable[PATH_CHALLENGE_DATA];
    if (plat::resolveExisting(path)) ErrBoxF(Sjis("%s の読み込みに失敗しました！"), path);
    g_Progress.ResetStoryData();
    cEdIntPair entry;
    entry.Clear();
    g_Progress.vChallenge.assign(static_cast<std::size_t>(std::max(g_System.nChallengeStages, 0)),
                                 entry);
}

} // namespace

cTitleScene::cTitleScene()
    : cMenuScene(TitleSetup(), {static_cast<Phase>(&cTitleScene::PhaseMenu),
                                static_cast<Phase>(&cTitleScene::PhaseSlots)})
{
}

bool cTitleScene::PictureMode() const
{
    return g_System.bTitleMenuPicture != 0;
}

void cTitleScene::BuildSurfaces()
{
    m_VisibleIds = VisibleMenuIds(g_System.vTitleMenu, kTitleItems);
    // The cursor starts on the item confirmed last, when it is shown.
    MenuCursorState& cursor = *g_MenuCursor.top;
    cursor.row = g_SceneMgr.g_PlayMode;
    const auto shown = std::find(m_VisibleIds.begin(), m_VisibleIds.end(), g_SceneMgr.g_PlayMode);
    if (shown != m_VisibleIds.end())
        cursor.row = static_cast<std::int32_t>(shown - m_VisibleIds.begin());
    const DDSURFACEDATA& pictures = Bitmap(kGameModeBitmap);
    m_MenuX = PictureMode() ? 288 - pictures.width / 2 : 192;
    m_MenuY = 240;

    const int rows = static_cast<int>(m_VisibleIds.size());
    const int width = PictureMode()
                          ? pictures.width + kRow
                          : WidestMenuLabel(g_System.vTitleMenu, m_VisibleIds) * kRow + 34;
    if (!DDCreateSurfaceVec(g_ScenePictures, g_ScenePictureDefs, width, rows * kRow + 2, 1, 0, 0,
                            0)) {
        CloseMainWindow();
        return;
    }
    DrawMenuBox();
}

void cTitleScene::DrawMenuBox()
{
    if (g_ScenePictures.empty()) return;
    DDSURFACEDATA& box = g_ScenePictures[0];
    if (PictureMode()) {
        DDSURFACEDATA& pictures = Bitmap(kGameModeBitmap);
        DDBoxFillPal(&box, 0, 0, box.width, box.height, 0);
        for (std::size_t i = 0; i < m_VisibleIds.size(); ++i)
            DDBlt(&box, kRow, static_cast<int>(i) * kRow, pictures.width, kRow, &pictures, 0,
                  m_VisibleIds[i] * kRow, 0);
        return;
    }
    DDBltFrame(&box, 1, 1, box.width - 2, box.height - 2, &Bitmap(kWindowBitmap), 1, kFramePalette);
    for (std::size_t i = 0; i < m_VisibleIds.size(); ++i)
        g_Fonts[3].DrawText(&box, kRow, static_cast<int>(i) * kRow,
                            MenuLabel(g_System.vTitleMenu, m_VisibleIds[i]).c_str(), 0);
}

void cTitleScene::RedrawSurface()
{
    DrawMenuBox();
}

void cTitleScene::DrawTitleScreen(bool withCursor)
{
    DDBlt(&BackBuffer, 0, 0, 640, 480, &Bitmap(kTitleBitmap), 0, 0, 0);
    if (!g_ScenePictures.empty()) {
        DDSURFACEDATA& box = g_ScenePictures[0];
        if (TakeSurfaceRedraw(box)) DrawMenuBox();
        DDBlt(&BackBuffer, m_MenuX, m_MenuY, box.width, box.height, &box, 0, 0, 1);
    }
    CycleColors();
    if (withCursor) {
        const MenuCursorState& c = *g_MenuCursor.top;
        DDBlt(&BackBuffer, c.x, c.y, kBigCursor, kBigCursor, &Bitmap(kAccessoryBitmap), 0, 0, 1);
    }
}

void cTitleScene::DrawScreen()
{
    DrawTitleScreen(false);
}

void cTitleScene::PhaseMenu()
{
    const InputState& input = VecAt(g_InputState, 0);
    MoveGridCursor(input.m_DirBits, m_MenuX, m_MenuY, 0, kRow, 1,
                   static_cast<int>(m_VisibleIds.size()));
    PlayCursorSound(input.m_DirBits, 2, 0);
    if (!(input.m_ButtonBits & 1)) {
        DrawTitleScreen(true);
        return;
    }
    SendSeRequest(kSoundConfirm);
    const std::int32_t id = VecAt(m_VisibleIds, g_MenuCursor.top->row);
    g_SceneMgr.g_PlayMode = id;
    Confirm(id);
}

void cTitleScene::Confirm(std::int32_t id)
{
    cSceneMgr& mgr = g_SceneMgr;
    auto leaveFor = [this](std::int32_t scene) {
        g_SceneMgr.g_ReqScene = scene;
        m_Phase = PHASE_LEAVE;
    };
    switch (id) {
    case TITLE_NEW_GAME:
        mgr.m_PlayKind = PLAYKIND_STORY;
        mgr.m_ResultsOn = ResultsOf(PLAYKIND_STORY);
        NewGameProgress();
        leaveFor(SCENE_WORLD_MAP);
        break;
    case TITLE_CONTINUE:
        mgr.m_PlayKind = PLAYKIND_STORY;
        mgr.m_ResultsOn = ResultsOf(PLAYKIND_STORY);
        g_MenuCursor.Push(0);
        m_Phase = PHASE_SLOTS;
        m_SubState = 0;
        break;
    case TITLE_CHALLENGE:
        mgr.m_PlayKind = PLAYKIND_CHALLENGE;
        mgr.m_ResultsOn = ResultsOf(PLAYKIND_CHALLENGE);
        LoadChallengeProgress();
        leaveFor(SCENE_CHALLENGE);
        break;
    case TITLE_FREE:
        mgr.m_PlayKind = PLAYKIND_FREE;
        mgr.m_ResultsOn = ResultsOf(PLAYKIND_FREE);
        if (RequestOpenStage()) leaveFor(SCENE_GAME_PLAY);
        break;
    case TITLE_REPLAY:
        mgr.m_PlayKind = PLAYKIND_REPLAY;
        mgr.m_ResultsOn = ResultsOf(PLAYKIND_REPLAY);
        if (RequestOpenReplay()) leaveFor(SCENE_GAME_PLAY);
        break;
    case TITLE_OPTIONS:
        leaveFor(SCENE_OPTION);
        break;
    default:
        CloseMainWindow();
        break;
    }
}

void cTitleScene::PhaseSlots()
{
    if (m_SubState == 0) {
        *g_MenuCursor.top = MenuCursorState();
        m_SlotScroll = 0;
        ScanStorySlots(g_StorySlots);
        m_SubState = 1;
    }
    const int count = static_cast<int>(g_StorySlots.size());
    m_SlotRows = std::min(count, kSlotListRows);
    const InputState& input = VecAt(g_InputState, 0);
    MoveListCursor(input.m_DirBits, 1, m_SlotScroll, kSlotListY, kSlotListPitch, kSlotListX,
                   m_SlotRows, count, 1);
    PlayCursorSound(input.m_DirBits, 3, 0);
    const std::int32_t slot = g_MenuCursor.top->row;
    if (input.m_ButtonBits & 1) {
        if (!VecAt(g_StorySlots, slot).bUsed) {
            SendSeRequest(kSoundRefused);
            return;
        }
        SendSeRequest(kSoundConfirm);
        // A slot that does not read is said, and the list stays.
        if (!LoadStoryProgress(slot)) return;
        g_SceneMgr.g_ReqScene = SCENE_WORLD_MAP;
        m_Phase = PHASE_LEAVE;
        return;
    }
    if (input.m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        g_MenuCursor.Pop(1);
        m_Phase = PHASE_MENU;
        m_SubState = 0;
        return;
    }
    DDBlt(&BackBuffer, 0, 0, 640, 480, &Bitmap(kTitleBitmap), 0, 0, 0);
    CycleColors();
    DrawStorySlots(&BackBuffer, kSlotListX, kSlotListY, g_StorySlots, m_SlotScroll, m_SlotRows);
    const MenuCursorState& c = *g_MenuCursor.top;
    DDBlt(&BackBuffer, c.x, c.y, kSmallCursor, kSmallCursor, &Bitmap(kAccessoryBitmap),
          kSmallCursorX, 0, 1);
}

void NewGameProgress()
{
    g_Progress.ResetStoryData();
    g_Progress.nMapX = g_WorldMap.m_StartX;
    g_Progress.nMapY = g_WorldMap.m_StartY;
    g_Progress.nRound = 0;
    if (VecAt(g_System.vUnlimitedLives, PLAYKIND_STORY) != 0) {
        g_Progress.nInitialLives = g_Progress.nLives = kUnlimitedLives;
    } else {
        g_Progress.nInitialLives = VecAt(g_System.vInitialLives, PLAYKIND_STORY);
        g_Progress.nLives = g_Progress.nInitialLives - 1;
    }
}

int RequestOpenStage()
{
    if (!SendRequest(UM_OPENSTAGE, 0, 0, &g_RequestDone)) return 0;
    return g_RequestResult != 0 ? 1 : 0;
}
