#include "scenes/save_menu_scene.h"

#include <algorithm>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/sound_request.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/story_slots.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "scenes/menu_items.h"
#include "scenes/menu_text_box.h"
#include "scenes/scene_mgr.h"
#include "scenes/story_files.h"
#include "scenes/story_slot_list.h"
#include "world/input_state.h"
#include "world/play_screen.h"

namespace {

constexpr int kWindowBitmap = 45;
constexpr int kSymbolBitmap = 50;
constexpr int kAccessoryBitmap = 49;

constexpr int kMenuX = 264;
constexpr int kMenuY = 192;
constexpr int kRow = 16;
constexpr int kScreenPalette = 16;
constexpr int kFramePalette = 240;
constexpr int kTotalScoreY = 260;
constexpr int kSaveQuestionY = 400;
constexpr int kAutoSaveQuestionY = 224;
constexpr int kNoSlotNoticeY = 232;
constexpr int kTitleQuestionY = 224;

constexpr int kCursorCell = 64;     // the small cursor, cell (64, 0) of the accessories
constexpr int kListCursorCell = 80; // the list's cursor under a question, cell (80, 0)

// System texts of the questions.
constexpr int kTextTotalScore = 4;
constexpr int kTextSave = 12;    // "セーブする", then "やっぱりやめる"
constexpr int kTextAutoOn = 14;  // "オートセーブＯＮ", then "オートセーブＯＦＦ"
constexpr int kTextNoSlot = 16;  // "保存先が不明です！..."
constexpr int kTextToTitle = 17; // "タイトルへ戻る", then "やっぱりやめる"

constexpr std::uint32_t kSoundConfirm = 1;
constexpr std::uint32_t kSoundCancel = 2;
constexpr std::uint32_t kSoundSaved = 5;

MenuSceneSetup SaveMenuSetup()
{
    MenuSceneSetup setup;
    setup.sceneId = SCENE_SAVE_MENU;
    setup.musicSlot = 1; // the world map's: its music goes on
    setup.buttonMask = 3;
    setup.bitmaps = {kWindowBitmap, kSymbolBitmap, kAccessoryBitmap};
    setup.resetCursorOnLeave = false;
    return setup;
}

int Digits(std::int32_t value)
{
    int digits = 1;
    for (std::int64_t v = value; v >= 10 || v <= -10; v /= 10)
        ++digits;
    return digits + (value < 0 ? 1 : 0);
}

const InputState& Input()
{
    return VecAt(g_InputState, 0);
}

// A two-row question of system texts centred on the screen at y: moves its
// cursor and gives the box's x.
int MoveQuestion(int firstText, int y)
{
    const int x = SysTextMenuX(320, firstText, 2, 1);
    MoveGridCursor(Input().m_DirBits, x, y, 0, kRow, 1, 2);
    PlayCursorSound(Input().m_DirBits, 2, 0);
    return x;
}

void FillScreen()
{
    DDBoxFillPal(&BackBuffer, 0, 0, 640, 480, kScreenPalette);
}

} // namespace

cSaveMenuScene::cSaveMenuScene()
    : cMenuScene(SaveMenuSetup(), {static_cast<Phase>(&cSaveMenuScene::PhaseMenu),
                                   static_cast<Phase>(&cSaveMenuScene::PhaseSlots),
                                   static_cast<Phase>(&cSaveMenuScene::PhaseAutoSave),
                                   static_cast<Phase>(&cSaveMenuScene::PhaseBack),
                                   static_cast<Phase>(&cSaveMenuScene::PhaseToTitle)})
{
}

void cSaveMenuScene::BuildSurfaces()
{
    m_VisibleIds = VisibleMenuIds(g_System.vSaveMenu, kSaveMenuItems);
}

void cSaveMenuScene::DrawCursor(const MenuCursorState& at, int cellX)
{
    DDBlt(&BackBuffer, at.x, at.y, 16, 16, &g_BitmapSD[kAccessoryBitmap], cellX, 0, 1);
}

void cSaveMenuScene::DrawMenuScreen()
{
    FillScreen();
    const int width = (WidestMenuLabel(g_System.vSaveMenu, m_VisibleIds) + 1) * kRow;
    const int height = static_cast<int>(m_VisibleIds.size()) * kRow;
    DDBltFrame(&BackBuffer, kMenuX, kMenuY, width, height, &g_BitmapSD[kWindowBitmap], 1,
               kFramePalette);
    for (std::size_t i = 0; i < m_VisibleIds.size(); ++i)
        g_Fonts[1].DrawText(&BackBuffer, kMenuX + kRow, kMenuY + kRow * static_cast<int>(i),
                            MenuLabel(g_System.vSaveMenu, m_VisibleIds[i]).c_str(), 0);
    DrawTotalScore();
    CycleColors();
}

void cSaveMenuScene::DrawTotalScore()
{
    const std::int32_t total = g_Progress.nTotalScore;
    if (!g_System.bSaveMenuShowTotal || total <= 0) return;
    const std::string& label = VecAt(g_System.SysText, kTextTotalScore);
    const int width = (CountChars(label.c_str()) + Digits(total)) * 16;
    const int x = 320 - width / 2;
    g_Fonts[1].DrawBox(&BackBuffer, x, kTotalScoreY, width, 16);
    g_Fonts[1].DrawTextF(&BackBuffer, x, kTotalScoreY, "%s%d", label.c_str(), total);
}

void cSaveMenuScene::DrawScreen()
{
    DrawMenuScreen();
    DDBlt(&BackBuffer, kMenuX, kMenuY, 16, 16, &g_BitmapSD[kAccessoryBitmap], kCursorCell, 0, 1);
}

void cSaveMenuScene::PhaseMenu()
{
    MoveGridCursor(Input().m_DirBits, kMenuX, kMenuY, 0, kRow, 1,
                   static_cast<int>(m_VisibleIds.size()));
    PlayCursorSound(Input().m_DirBits, 2, 0);
    if (Input().m_ButtonBits & 1) {
        SendSeRequest(kSoundConfirm);
        // Every shown id is below the item count, so its phase is one of the items'.
        m_Phase = VecAt(m_VisibleIds, g_MenuCursor.top->row) + PHASE_SLOTS;
        g_MenuCursor.Push(0);
        return;
    }
    if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        m_Phase = PHASE_BACK;
        return;
    }
    DrawMenuScreen();
    DrawCursor(*g_MenuCursor.top, kCursorCell);
}

void cSaveMenuScene::DrawSlotList()
{
    FillScreen();
    DrawStorySlots(&BackBuffer, kSlotListX, kSlotListY, g_StorySlots, m_SlotScroll, m_SlotRows);
}

void cSaveMenuScene::PhaseSlots()
{
    if (m_SubState == 0) {
        // The list opens on the slot saved last, at the top when it can be.
        *g_MenuCursor.top = MenuCursorState();
        g_MenuCursor.top->row = g_Progress.nSlot;
        m_SubState = 1;
        ScanStorySlots(g_StorySlots);
        m_SlotRows = std::min(static_cast<int>(g_StorySlots.size()), kSlotListRows);
        m_SlotScroll = g_Progress.nSlot;
    }
    if (m_SubState == 1) {
        MoveListCursor(Input().m_DirBits, 1, m_SlotScroll, kSlotListY, kSlotListPitch, kSlotListX,
                       m_SlotRows, static_cast<int>(g_StorySlots.size()), 1);
        PlayCursorSound(Input().m_DirBits, 3, 0);
        if (Input().m_ButtonBits & 1) {
            SendSeRequest(kSoundConfirm);
            g_MenuCursor.Push(0);
            g_MenuCursor.top->row = 1; // "やっぱりやめる" first
            m_SubState = 2;
            return;
        }
        if (Input().m_ButtonBits & 2) {
            SendSeRequest(kSoundCancel);
            BackToMenu();
            return;
        }
        DrawSlotList();
        DrawCursor(*g_MenuCursor.top, kCursorCell);
        return;
    }
    const int x = MoveQuestion(kTextSave, kSaveQuestionY);
    if (Input().m_ButtonBits & 1) {
        if (g_MenuCursor.top->row == 0) {
            SendSeRequest(kSoundSaved);
            SaveStoryProgress(g_MenuCursor.previous->row);
        } else {
            SendSeRequest(kSoundConfirm);
        }
        g_MenuCursor.Pop(1);
        m_SubState = 1;
        return;
    }
    if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        g_MenuCursor.Pop(1);
        m_SubState = 1;
        return;
    }
    DrawSlotList();
    DrawSysTextMenu(x, kSaveQuestionY, kTextSave, 2, 1);
    DrawCursor(*g_MenuCursor.previous, kListCursorCell);
    DrawCursor(*g_MenuCursor.top, kCursorCell);
}

void cSaveMenuScene::PhaseAutoSave()
{
    if (m_SubState == 0) {
        *g_MenuCursor.top = MenuCursorState();
        g_MenuCursor.top->row = g_Progress.bAutoSave ? 0 : 1;
        // A slot outside the list (a damaged save) counts as none.
        const bool hasSlot = g_Progress.nSlot >= 0 && g_Progress.nSlot < kStorySlots;
        m_SubState = hasSlot ? 1 : 2;
    }
    if (m_SubState == 2) {
        // Auto-save needs a slot: the story must have been saved once.
        const int x = SysTextMenuX(320, kTextNoSlot, 1, 0);
        if (Input().m_ButtonBits & 3) {
            SendSeRequest(Input().m_ButtonBits & 1 ? kSoundConfirm : kSoundCancel);
            BackToMenu();
            return;
        }
        FillScreen();
        DrawSysTextMenu(x, kNoSlotNoticeY, kTextNoSlot, 1, 0);
        return;
    }
    const int x = MoveQuestion(kTextAutoOn, kAutoSaveQuestionY);
    if (Input().m_ButtonBits & 1) {
        SendSeRequest(kSoundConfirm);
        if (g_MenuCursor.top->row == 0) {
            // The slot is written at once, holding the switch on; a slot
            // that cannot be written leaves the switch as it was.
            const std::int32_t before = g_Progress.bAutoSave;
            g_Progress.bAutoSave = 1;
            if (!SaveStoryProgress(g_Progress.nSlot)) g_Progress.bAutoSave = before;
        } else {
            g_Progress.bAutoSave = 0;
        }
        BackToMenu();
        return;
    }
    if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        BackToMenu();
        return;
    }
    FillScreen();
    DrawSysTextMenu(x, kAutoSaveQuestionY, kTextAutoOn, 2, 1);
    DrawCursor(*g_MenuCursor.top, kCursorCell);
}

void cSaveMenuScene::PhaseBack()
{
    m_SubState = 0;
    g_SceneMgr.g_ReqScene = SCENE_WORLD_MAP;
    m_Phase = PHASE_LEAVE;
}

void cSaveMenuScene::PhaseToTitle()
{
    if (m_SubState == 0) {
        *g_MenuCursor.top = MenuCursorState();
        g_MenuCursor.top->row = 1; // "やっぱりやめる" first
        m_SubState = 1;
    }
    const int x = MoveQuestion(kTextToTitle, kTitleQuestionY);
    if (Input().m_ButtonBits & 1) {
        SendSeRequest(kSoundConfirm);
        if (g_MenuCursor.top->row == 0) {
            g_SceneMgr.g_ReqScene = SCENE_TITLE;
            m_Phase = PHASE_LEAVE;
        } else {
            BackToMenu();
        }
        return;
    }
    if (Input().m_ButtonBits & 2) {
        SendSeRequest(kSoundCancel);
        BackToMenu();
        return;
    }
    FillScreen();
    DrawSysTextMenu(x, kTitleQuestionY, kTextToTitle, 2, 1);
    DrawCursor(*g_MenuCursor.top, kCursorCell);
}

void cSaveMenuScene::BackToMenu()
{
    g_MenuCursor.Pop(1);
    m_SubState = 0;
    m_Phase = PHASE_MENU;
}
