// The world map's set-up, its fade in, the walking and the question.

#include "scenes/world_map_scene.h"

#include "core/checked_access.h"
#include "core/display_facts.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/sjis_text.h"
#include "core/sound_request.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/stage_load.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "scenes/menu_text_box.h"
#include "scenes/rankings.h"
#include "scenes/scene_mgr.h"
#include "scenes/story_files.h"
#include "scenes/world_map_rules.h"
#include "world/input_state.h"

namespace {

constexpr int kBitmapBack = 54;
// The map cursor's place on the screen: view tile (9, 7).
constexpr int kViewColumns = 9;
constexpr int kViewRows = 7;
constexpr int kCursorX = 288;
constexpr int kCursorY = 224;
// The question: system texts 10 and 11 in a box centred on x 304 at y 260.
constexpr int kQuestionFirstText = 10;
constexpr int kQuestionTexts = 2;
constexpr int kQuestionCentreX = 304;
constexpr int kQuestionY = 260;
constexpr int kRowTakeOn = 0;
constexpr int kRowGiveUp = 1;
// System sounds.
constexpr int kSeCursor = 0;
constexpr int kSeConfirm = 1;
constexpr int kSeCancel = 2;
constexpr int kSeMapCancel = 4;
constexpr int kSeRankKind = 6;

const char* const kStageUnreadable = "ステージファイル %s が読み込めません！";

MenuSceneSetup WorldMapSetup()
{
    MenuSceneSetup setup;
    setup.sceneId = SCENE_WORLD_MAP;
    setup.musicSlot = 1;
    setup.buttonMask = 15;
    setup.bitmaps = {kBitmapBack, 52, 53, 49, 45, 67};
    setup.drawBeforeFadeOut = true;
    return setup;
}

MenuCursorState& MapCursor()
{
    return *g_MenuCursor.top;
}

const InputState& Input()
{
    return VecAt(g_InputState, 0);
}

bool IsStageEntry(const cEdWorldEventItem* item)
{
    return item && item->m_Kind == kWorldItemStage;
}

} // namespace

cWorldMapScene::cWorldMapScene()
    : cMenuScene(WorldMapSetup(), {static_cast<Phase>(&cWorldMapScene::PhaseMap),
                                   static_cast<Phase>(&cWorldMapScene::PhaseQuestion)})
{
}

void cWorldMapScene::Init()
{
    g_BitmapTable[kBitmapBack].name = g_WorldMap.m_BgFileName;
    cMenuScene::Init();
    MenuCursorState& cursor = MapCursor();
    cursor.column = g_Progress.nMapX;
    cursor.row = g_Progress.nMapY;
    m_ViewX = cursor.column - kViewColumns;
    m_ViewY = cursor.row - kViewRows;
    // The facing is kept in the progress's map event number.
    m_Facing = g_Progress.nMapEventNo;
    LookUpCursorTile();
    m_SavedCursor = cursor;
    if (IsStageEntry(m_Item)) PrepareEntry();
    if (g_SceneMgr.g_PrevScene == SCENE_GAME_PLAY) AutoSaveStory();
    DrawMap();
    m_SubState = 0;
}

void cWorldMapScene::FadeIn()
{
    if (g_DDBpp == 8) RedrawSurface();
    DrawMapScreen(g_Progress.bBackToMap == 0);
    if (m_StartFailed) return;
    if (!DDFadeIn(g_ScreenPalette.data(), 0, 255, 0, 0, 0, g_SceneMgr.m_FadeStep, g_Palette.data(),
                  0))
        return;
    if (IsStageEntry(m_Item) && g_Progress.bBackToMap) {
        g_Progress.bBackToMap = 0;
        if (!IsCleared(*m_Item)) {
            // The abandoned attempt's entry: back to the tile the walker came from.
            MapCursor().column = g_Progress.nMapCursor0;
            MapCursor().row = g_Progress.nMapCursor1;
            DrawMap();
        }
    } else if (IsStageEntry(m_Item) && !IsCleared(*m_Item)) {
        // Standing on an uncleared entry, the stage starts without a question.
        if (!LoadStage(m_Item->m_StageFile, 1, &g_StageAtStart)) {
            ErrBoxF(Sjis(kStageUnreadable), m_Item->m_StageFile.c_str());
            CloseMainWindow();
            // The game closes; the box is not shown again meanwhile.
            m_StartFailed = true;
            return;
        }
        CommitEntry();
        g_Progress.nMapCursor0 = MapCursor().column;
        g_Progress.nMapCursor1 = MapCursor().row;
        m_SubState = 0;
        g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
        m_Phase = PHASE_FADE_OUT;
        return;
    }
    m_Phase = PHASE_MAP;
}

void cWorldMapScene::LookUpCursorTile()
{
    m_Event = FindWorldEvent(g_MenuCursor);
    m_Item = SelectItem(m_Event);
}

void cWorldMapScene::MoveMapCursor()
{
    MenuCursorState& cursor = MapCursor();
    const std::uint16_t dir = Input().m_DirBits;
    if (dir & (kDirLeft | kDirRight | kDirUp | kDirDown)) {
        g_Progress.nMapCursor0 = cursor.column;
        g_Progress.nMapCursor1 = cursor.row;
        m_SavedCursor = cursor;
    }
    if (dir & kDirLeft) {
        m_Facing = FACING_LEFT;
        if (cursor.column > 0) --cursor.column;
    } else if (dir & kDirRight) {
        m_Facing = FACING_RIGHT;
        if (cursor.column < g_WorldMap.m_Width - 1) ++cursor.column;
    } else if (dir & kDirUp) {
        m_Facing = FACING_UP;
        if (cursor.row > 0) --cursor.row;
    } else if (dir & kDirDown) {
        m_Facing = FACING_DOWN;
        if (cursor.row < g_WorldMap.m_Height - 1) ++cursor.row;
    }
    LookUpCursorTile();
    if (IsTileBlocked(cursor.column, cursor.row, m_Item)) {
        cursor = m_SavedCursor;
    } else {
        m_ViewX = cursor.column - kViewColumns;
        m_ViewY = cursor.row - kViewRows;
        g_Progress.nMapEventNo = m_Facing;
        if (m_ViewX != m_DrawnViewX || m_ViewY != m_DrawnViewY) DrawMap();
    }
    cursor.x = kCursorX;
    cursor.y = kCursorY;
}

void cWorldMapScene::PhaseMap()
{
    MoveMapCursor();
    PlayCursorSound(Input().m_DirBits, 3, kSeCursor);
    LookUpCursorTile();
    const std::uint16_t buttons = Input().m_ButtonBits;
    const MenuCursorState& cursor = MapCursor();
    if (IsStageEntry(m_Item)) {
        if (cursor.column != m_PreparedCursor.column || cursor.row != m_PreparedCursor.row) {
            PrepareEntry();
            m_PreparedCursor = cursor;
        }
        if (!IsPassable(*m_Item)) {
            OpenQuestion();
            return;
        }
        if (buttons & 1) {
            if (!IsCleared(*m_Item) || m_Item->m_Replay) {
                OpenQuestion();
                return;
            }
        } else {
            RankingButtons(buttons);
        }
    }
    if (buttons & 2) {
        SendSeRequest(kSeMapCancel);
        g_Progress.nMapX = cursor.column;
        g_Progress.nMapY = cursor.row;
        g_SceneMgr.g_ReqScene = SCENE_SAVE_MENU;
        m_Phase = PHASE_FADE_OUT;
        return;
    }
    DrawMapScreen(true);
}

void cWorldMapScene::OpenQuestion()
{
    g_Progress.nMapX = MapCursor().column;
    g_Progress.nMapY = MapCursor().row;
    g_MenuCursor.Push(0);
    m_SubState = 0;
    m_Phase = PHASE_QUESTION;
}

void cWorldMapScene::PhaseQuestion()
{
    if (!m_Item) {
        LeaveQuestion();
        return;
    }
    MenuCursorState& cursor = MapCursor();
    if (m_SubState == 0) {
        SendSeRequest(kSeConfirm);
        m_StageLoaded = LoadStage(m_Item->m_StageFile, 1, &g_StageAtStart) != 0;
        if (!m_StageLoaded) ErrBoxF(Sjis(kStageUnreadable), m_Item->m_StageFile.c_str());
        cursor.row = kRowGiveUp;
        m_SubState = 1;
    }
    const int x = SysTextMenuX(kQuestionCentreX, kQuestionFirstText, kQuestionTexts, 1);
    const std::uint16_t dir = Input().m_DirBits;
    MoveGridCursor(dir, x, kQuestionY, 0, 16, 1, kQuestionTexts);
    PlayCursorSound(dir, 2, kSeCursor);
    const std::uint16_t buttons = Input().m_ButtonBits;
    if (buttons & 1) {
        SendSeRequest(kSeConfirm);
        if (cursor.row == kRowTakeOn && m_StageLoaded) {
            g_Progress.nMapEventNo = m_Facing;
            CommitEntry();
            m_SubState = 0;
            g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
            m_Phase = PHASE_FADE_OUT;
        } else {
            LeaveQuestion();
        }
        return;
    }
    if (buttons & 2) {
        SendSeRequest(kSeCancel);
        LeaveQuestion();
        return;
    }
    RankingButtons(buttons);
    DrawMapScreen(true);
    DrawSysTextMenu(x, kQuestionY, kQuestionFirstText, kQuestionTexts, 1);
    DDBlt(&BackBuffer, cursor.x, cursor.y, 16, 16, &g_BitmapSD[49], 64, 0, 1);
}

void cWorldMapScene::LeaveQuestion()
{
    // Back to the map's own cursor state: it stays on an entry that may be
    // walked over, and otherwise steps back off it.
    g_MenuCursor.Pop(1);
    if (!m_Item || !IsPassable(*m_Item)) MapCursor() = m_SavedCursor;
    m_SubState = 0;
    m_Phase = PHASE_MAP;
}

void cWorldMapScene::RankingButtons(std::uint16_t buttons)
{
    const cEdModeFlags& flags = VecAt(g_System.vModeFlags, PLAYKIND_STORY);
    if (buttons & 4) {
        if (flags.bRanking) {
            SendSeRequest(kSeRankKind);
            g_Progress.bShowRanking = g_Progress.bShowRanking ? 0 : 1;
        } else {
            g_Progress.bShowRanking = 0;
        }
        DrawRankPanel();
    } else if (buttons & 8) {
        if (!flags.bRanking) return;
        const int kind = g_SceneMgr.m_PlayKind;
        if (g_System.CountModeFlags(kind) >= 2) {
            SendSeRequest(kSeRankKind);
            g_Progress.StepRankKind(kind, 1);
        }
        DrawRankPanel();
    }
}

void cWorldMapScene::PrepareEntry()
{
    g_Progress.SetStageName(m_Item->m_StageFile.c_str());
    m_BestScore = g_Progress.GetBestScore(g_Progress.strStage);
    if (g_SceneMgr.m_ResultsOn) {
        LoadRankSet(g_RankSet, g_SceneMgr.m_PlayKind, g_Progress.strStage);
        g_Progress.StepRankKind(g_SceneMgr.m_PlayKind, 0);
    }
    if (!g_ScenePictures.empty()) DrawRankPanel();
}

void cWorldMapScene::CommitEntry()
{
    g_Progress.SetStageName(g_Stage.strFileName.c_str());
    g_Progress.nStageIndex = m_Item->m_ClearFlag;
    g_Progress.nChainNo = 1;
    g_Progress.nInitialLives = StoryStageLives();
    g_Progress.m_pMapEvent = m_Item;
}
