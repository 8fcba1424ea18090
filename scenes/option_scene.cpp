#include "scenes/option_scene.h"

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/sjis_text.h"
#include "core/sound_request.h"
#include "data/ed_option.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "media/dd_blit.h"
#include "media/dd_surface.h"
#include "media/ds_sound.h"
#include "media/font.h"
#include "scenes/hbt_palette.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_items.h"
#include "scenes/menu_music.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_surface.h"
#include "scenes/title_scene.h"
#include "world/input_state.h"
#include "world/play_screen.h"

namespace {

constexpr int kAccessoryBitmap = 49;
constexpr int kWindowBitmap = 45;

constexpr int kCursorX = 48;
constexpr int kLabelX = 64;
constexpr int kValueCursorX = 192;
constexpr int kValueX = 208;
constexpr int kTop = 96;
constexpr int kRow = 16;
constexpr int kHeadingY = 32;

constexpr int kCursorCell = 64;     // the small cursor, cell (64, 0) of the accessories
constexpr int kItemCursorCell = 80; // the item's cursor while its value changes

constexpr std::uint32_t kSoundConfirm = 1;
constexpr std::uint32_t kSoundCancel = 2;

MenuSceneSetup OptionSetup()
{
    MenuSceneSetup setup;
    setup.sceneId = SCENE_OPTION;
    setup.musicSlot = 3;
    setup.buttonMask = 3;
    setup.bitmaps = {kAccessoryBitmap, kWindowBitmap};
    return setup;
}

// The options with a range of values, by id.
struct ValueItem {
    std::int32_t cEdOption::*member;
    std::int32_t max;
};
constexpr ValueItem kValueItems[] = {
    {&cEdOption::nPalette, kPaletteVariants - 1},
    {&cEdOption::bBgm, 1},
    {&cEdOption::nSeVolume, kSeVolumeSteps - 1},
    {&cEdOption::nRankMode, kRankModes - 1},
};

const InputState& Input()
{
    return VecAt(g_InputState, 0);
}

// The value column of an item.
std::string ValueText(std::int32_t id)
{
    switch (id) {
    case OPTION_PALETTE:
        return std::to_string(g_Option.nPalette);
    case OPTION_MUSIC:
        return g_Option.bBgm ? "ON" : "OFF";
    case OPTION_SE_VOLUME:
        return std::to_string(g_Option.nSeVolume);
    case OPTION_RANK_MODE:
        return RankModeLabel(g_Option.nRankMode);
    case OPTION_RANK_NAME:
        return g_Option.strRegName;
    default:
        return std::string();
    }
}

void DrawCell(int x, int y, int cellX)
{
    DDBlt(&BackBuffer, x, y, 16, 16, &g_BitmapSD[kAccessoryBitmap], cellX, 0, 1);
}

} // namespace

cOptionScene::cOptionScene()
    : cMenuScene(OptionSetup(), {static_cast<Phase>(&cOptionScene::PhaseMenu)})
{
}

void cOptionScene::BuildSurfaces()
{
    m_VisibleIds = VisibleMenuIds(g_System.vOptionMenu, kOptionItems);
    if (!DDCreateSurfaceVec(g_ScenePictures, g_ScenePictureDefs, 640, 480, 0, 0, 0, 0)) {
        CloseMainWindow();
        return;
    }
    DrawOptionPanel();
}

void cOptionScene::RedrawSurface()
{
    DrawOptionPanel();
}

void cOptionScene::DrawOptionPanel()
{
    if (g_ScenePictures.empty()) return;
    DDSURFACEDATA* panel = &g_ScenePictures[0];
    g_Fonts[3].DrawBox(panel, 1, 1, 638, 478);
    const std::string& heading = MenuLabel(g_System.vTitleMenu, TITLE_OPTIONS);
    g_Fonts[3].DrawTextF(panel, 320 - CountChars(heading.c_str()) * 16, kHeadingY, "%s",
                         heading.c_str());
    for (std::size_t i = 0; i < m_VisibleIds.size(); ++i) {
        const int y = kTop + kRow * static_cast<int>(i);
        const std::int32_t id = m_VisibleIds[i];
        g_Fonts[1].DrawText(panel, kLabelX, y, MenuLabel(g_System.vOptionMenu, id).c_str(), 0);
        g_Fonts[1].DrawText(panel, kValueX, y, ValueText(id).c_str(), 0);
    }
}

void cOptionScene::DrawOptionScreen()
{
    if (g_ScenePictures.empty()) return;
    DDSURFACEDATA& panel = g_ScenePictures[0];
    if (TakeSurfaceRedraw(panel)) DrawOptionPanel();
    DDBlt(&BackBuffer, 0, 0, 640, 480, &panel, 0, 0, 0);
    CycleColors();
}

void cOptionScene::DrawScreen()
{
    DrawOptionScreen();
}

void cOptionScene::PhaseMenu()
{
    if (m_SubState == MENU_START) {
        *g_MenuCursor.top = MenuCursorState();
        m_SubState = MENU_CHOOSE;
    }
    if (m_SubState == MENU_CHOOSE) {
        Choose();
    } else {
        Edit();
    }
}

void cOptionScene::Choose()
{
    MoveGridCursor(Input().m_DirBits, kCursorX, kTop, 0, kRow, 1,
                   static_cast<int>(m_VisibleIds.size()));
    PlayCursorSound(Input().m_DirBits, 2, 0);
    if (Input().m_ButtonBits & 1) {
        SendSeRequest(kSoundConfirm);
        m_EditId = VecAt(m_VisibleIds, g_MenuCursor.top->row);
        if (m_EditId == OPTION_BACK) {
            Leave();
            return;
        }
        if (m_EditId != OPTION_RANK_NAME) {
            StartEdit(m_EditId);
            return;
        }
        // The dialog, run by the main window, edits the options' name.
        SendRequest(UM_NAMEDLG, 0, 0, &g_NameDlgDone);
        DrawOptionPanel();
    } else if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        Leave();
        return;
    }
    DrawOptionScreen();
    const MenuCursorState& c = *g_MenuCursor.top;
    DrawCell(c.x, c.y, kCursorCell);
}

void cOptionScene::StartEdit(std::int32_t id)
{
    const ValueItem& item = kValueItems[id];
    m_Edited = &(g_Option.*item.member);
    m_Min = 0;
    m_Max = item.max;
    m_SavedValue = *m_Edited;
    g_MenuCursor.Push(0);
    m_SubState = MENU_EDIT;
}

void cOptionScene::Edit()
{
    const std::uint16_t dir = Input().m_DirBits;
    // Up and down may both act in one frame, up first; the values wrap.
    for (const auto& [bit, step] : {std::pair{kDirUp, 1}, std::pair{kDirDown, -1}}) {
        if (!(dir & bit)) continue;
        *m_Edited += step;
        if (*m_Edited < m_Min) *m_Edited = m_Max;
        if (*m_Edited > m_Max) *m_Edited = m_Min;
        ApplyOption();
        DrawOptionPanel();
    }
    PlayCursorSound(dir, 2, 0);
    if (Input().m_ButtonBits & 1) {
        SendSeRequest(kSoundConfirm);
        g_MenuCursor.Pop(1);
        m_SubState = MENU_CHOOSE;
        return;
    }
    if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        *m_Edited = m_SavedValue;
        ApplyOption();
        g_MenuCursor.Pop(1);
        m_SubState = MENU_CHOOSE;
        DrawOptionPanel();
        return;
    }
    DrawOptionScreen();
    const MenuCursorState& item = *g_MenuCursor.previous;
    DrawCell(item.x, item.y, kItemCursorCell);
    DrawCell(kValueCursorX, item.y, kCursorCell);
}

void cOptionScene::ApplyOption()
{
    if (m_EditId == OPTION_PALETTE) {
        LoadHbtPalette(g_Option.nPalette);
    } else if (m_EditId == OPTION_SE_VOLUME) {
        const int volume = SeVolumeAttenuation(g_Option.nSeVolume);
        for (DSSOUNDDATA& sound : g_Sounds)
            DSSetVolume(sound, 0, volume, false);
    }
}

void cOptionScene::Leave()
{
    g_SceneMgr.g_ReqScene = SCENE_TITLE;
    m_SubState = MENU_START;
    m_Phase = PHASE_LEAVE;
}

void cOptionScene::OnLeave()
{
    SetUpMusic();
    const char* path = g_PathTable[PATH_OPTION];
    if (!g_Option.SaveFile(path)) ErrBoxF(Sjis("%s に保存できませんでした！"), path);
}
