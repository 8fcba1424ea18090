// The pause and continue menus and the threads that take the frame loop
// over while the game waits: the pause thread and the ranking thread.

#include "scenes/play_pause.h"

#include "core/checked_access.h"
#include "core/thread.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "scenes/game_play.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_text_box.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/play_screen.h"
#include "world/world_services.h"

std::function<bool()> g_AppActiveQuery;
std::function<void(cGamePlay&)> g_DrawRankingBoard = [](cGamePlay& scene) {
    scene.DrawRankingBoard();
};

namespace {

// The menus: system texts 19-21 ("しゅうりょう", "つづける", "リトライ") for
// the pause, 22-23 ("リトライ", "マップへ戻る") for the continue menu,
// centred on x 320 from y 272, one row every 16 pixels.
constexpr int kPauseTexts = 19;
constexpr int kContinueTexts = 22;
constexpr int kMenuCentreX = 320;
constexpr int kMenuY = 272;
constexpr int kMenuPitch = 16;
enum PauseRow { ROW_QUIT = 0, ROW_GO_ON = 1, ROW_RETRY = 2 };
enum ContinueRow { ROW_CONTINUE_RETRY = 0 };

// The small cursor: the 16 x 16 cell at (64, 0) of the accessory picture.
constexpr int kBitmapAccessory = 49;

// A pause thread that sees the stop flag ends this long after it.
constexpr std::uint32_t kStopGraceMs = 2000;
// The live loop looks at its queue this often while the game is inactive.
constexpr std::uint32_t kInactivePollMs = 5;

cFrameHost g_LiveHost;
cFrameHost* g_Host = nullptr;

// A cleared flag of the progress record; an index outside the record
// counts as not cleared.
bool StageCleared(int index)
{
    const std::vector<std::int32_t>& flags = g_Progress.vStageFlags;
    return index >= 0 && index < static_cast<int>(flags.size()) &&
           flags[static_cast<std::size_t>(index)] != 0;
}

bool ChallengeCleared(int index)
{
    const std::vector<cEdIntPair>& entries = g_Progress.vChallenge;
    return index >= 0 && index < static_cast<int>(entries.size()) &&
           entries[static_cast<std::size_t>(index)].bCleared != 0;
}

// Retry is offered in free play, in a story stage or a challenge stage
// already cleared once when the system data allows it, never in a replay.
bool RetryAllowed(int playKind)
{
    const int index = g_Progress.nStageIndex;
    switch (playKind) {
    case PLAYKIND_FREE:
        return true;
    case PLAYKIND_STORY:
        return g_System.bRetryStory && StageCleared(index);
    case PLAYKIND_CHALLENGE:
        return g_System.bRetryChallenge && ChallengeCleared(index - 1);
    default:
        return false;
    }
}

// The menu input of a frame: each button once per press, auto-repeated
// directions moving the cursor over the rows at x.
InputState& MoveMenuCursor(int x, int rows)
{
    InputState& input = VecAt(g_InputState, 0);
    ButtonOnce(input, 0);
    AutoRepeatDir(input);
    MoveGridCursor(input.m_DirBits, x, kMenuY, 0, kMenuPitch, 1, rows);
    PlayCursorSound(input.m_DirBits, 2, 0);
    return input;
}

// The play screen under a menu of system texts with the cursor.
void DrawMenu(int x, int first, int rows)
{
    DrawPlayScreen(0, 1, 0, 1);
    DrawSysTextMenu(x, kMenuY, first, rows, 1);
    const MenuCursorState& cursor = *g_MenuCursor.top;
    DDBlt(&BackBuffer, cursor.x, cursor.y, 16, 16, &g_BitmapSD[kBitmapAccessory], 64, 0, 1);
}

// The title menu's cursor lands on the item that started the play.
void CursorOnPlayMode()
{
    g_MenuCursor.top->row = g_SceneMgr.g_PlayMode;
}

unsigned PauseEntry(void* scene)
{
    return static_cast<unsigned>(PauseThreadMain(static_cast<cGamePlay*>(scene)));
}

unsigned RankingEntry(void* scene)
{
    return static_cast<unsigned>(RankingThreadMain(static_cast<cGamePlay*>(scene)));
}

} // namespace

bool cFrameHost::TakeMessages()
{
    bool quit = false;
    plat::Message message;
    while (plat::peekMessage(message))
        if (message.msg == WM_QUIT) quit = true;
    return quit;
}

bool cFrameHost::AppActive()
{
    if (!g_AppActiveQuery || g_AppActiveQuery()) return true;
    plat::sleepMs(kInactivePollMs);
    return false;
}

void cFrameHost::WaitFrame()
{
    ::WaitFrame();
}

bool cFrameHost::RestoreLostSurfaces()
{
    return ::RestoreLostSurfaces();
}

void cFrameHost::PollInput(std::vector<InputState>& input)
{
    ::PollInput(input);
}

void cFrameHost::PresentFrame()
{
    ::PresentFrame();
}

std::uint32_t cFrameHost::NowMs()
{
    return plat::timeMs();
}

void cFrameHost::PostQuitToSelf()
{
    plat::postQuitMessage(0);
}

cFrameHost& FrameHost()
{
    return g_Host ? *g_Host : g_LiveHost;
}

void SetFrameHost(cFrameHost* host)
{
    g_Host = host;
}

void cGamePlay::PhasePause()
{
    if (WorldServices().CheckReplayKeys()) return;
    const bool retry = RetryAllowed(m_PlayKind);
    const int rows = retry ? 3 : 2;
    if (m_SubState == 0) {
        g_MenuCursor.top->row = ROW_GO_ON;
        m_SubState = 1;
    }
    // The box is placed for three rows whether or not retry is offered.
    const int x = SysTextMenuX(kMenuCentreX, kPauseTexts, 3, 1);
    const InputState& input = MoveMenuCursor(x, rows);
    if (input.m_ButtonBits & 1) {
        WorldServices().PlaySe(1);
        switch (g_MenuCursor.top->row) {
        case ROW_QUIT:
            m_Phase = PHASE_FADE_OUT;
            if (m_DirectStart) {
                WorldServices().RequestClose();
                return;
            }
            g_SceneMgr.g_ReqScene = SCENE_TITLE;
            CursorOnPlayMode();
            m_SubState = 0;
            return;
        case ROW_GO_ON:
            m_HoldButtons = 1;
            m_Phase = m_SavedPhase;
            m_SubState = m_SavedSubState;
            return;
        default:
            m_HoldButtons = 1;
            g_Progress.RestoreStageStart(1, m_PlayKind, m_DirectStart);
            SetStage(1, 0);
            m_SubState = 0;
            m_Phase = PHASE_START;
            return;
        }
    }
    if (input.m_ButtonBits & 2) {
        WorldServices().PlaySe(2);
        m_HoldButtons = 1;
        m_Phase = m_SavedPhase;
        // Back from the two-row menu a display starts its count again.
        m_SubState = retry ? m_SavedSubState : 0;
        return;
    }
    DrawMenu(x, kPauseTexts, rows);
}

void cGamePlay::PhaseContinue()
{
    if (WorldServices().CheckReplayKeys()) return;
    if (m_SubState == 0) {
        g_MenuCursor.top->row = ROW_CONTINUE_RETRY;
        m_SubState = 1;
    }
    const int x = SysTextMenuX(kMenuCentreX, kContinueTexts, 2, 1);
    const InputState& input = MoveMenuCursor(x, 2);
    if (input.m_ButtonBits & 1) {
        WorldServices().PlaySe(1);
        if (g_MenuCursor.top->row == ROW_CONTINUE_RETRY) {
            SetStage(1, 0);
            m_Phase = PHASE_START;
            return;
        }
        g_Progress.bBackToMap = 1;
        g_SceneMgr.g_ReqScene = SCENE_WORLD_MAP;
        CursorOnPlayMode();
        m_SubState = 0;
        m_Phase = PHASE_FADE_OUT;
        return;
    }
    DrawMenu(x, kContinueTexts, 2);
}

int PauseThreadMain(cGamePlay* scene)
{
    if (scene->m_StopFlag) return 0;
    cFrameHost& host = FrameHost();
    // A copy of the input whose history starts now: nothing held before
    // the wait counts as a press.
    std::vector<InputState> input = g_InputState;
    InputState& record = VecAt(input, 0);
    ClearKeyHistory(record);
    ResetKeyEdges(record);
    ClearDirection(record);
    ClearButtons(record);
    PauseWait& wait = scene->m_PauseWait;
    bool stopSeen = false;
    std::uint32_t stopSeenAt = 0;
    while (!host.TakeMessages()) {
        if (!host.AppActive()) continue;
        if (scene->m_StopFlag) {
            const std::uint32_t now = host.NowMs();
            if (!stopSeen) {
                stopSeen = true;
                stopSeenAt = now;
            }
            if (now - stopSeenAt >= kStopGraceMs) host.PostQuitToSelf();
            host.WaitFrame();
            continue;
        }
        host.WaitFrame();
        if (!host.RestoreLostSurfaces()) WorldServices().RequestClose();
        host.PollInput(input);
        PushKeyHistory(record);
        ButtonOnce(record, 0);
        if (WorldServices().CheckReplayKeys()) continue;
        if (wait.m_KeyLock > 0) {
            --wait.m_KeyLock;
        } else if (wait.m_WaitButton) {
            // A button still held from the frame before is no new press.
            const bool heldBefore = (KeyHistoryAt(record, 1, 1) & 1) != 0;
            if (!heldBefore && (record.m_ButtonBits & 1)) {
                WorldServices().PlaySe(1);
                scene->m_HoldButtons = 1;
                break;
            }
        } else if (--wait.m_Frames < 0) {
            break;
        }
        DrawPlayScreen(0, 1, 0, 1);
        host.PresentFrame();
    }
    return 1;
}

int RankingThreadMain(cGamePlay* scene)
{
    const int kind = scene->m_PlayKind;
    g_Progress.StepRankKind(kind, 0);
    cFrameHost& host = FrameHost();
    while (!host.TakeMessages()) {
        if (!host.AppActive()) continue;
        host.WaitFrame();
        if (!host.RestoreLostSurfaces()) WorldServices().RequestClose();
        host.PollInput(g_InputState);
        InputState& record = VecAt(g_InputState, 0);
        ButtonOnce(record, 0);
        AutoRepeatDir(record);
        if (record.m_ButtonBits & 1) {
            WorldServices().PlaySe(1);
            return 1;
        }
        if ((record.m_ButtonBits & 8) && g_System.CountModeFlags(kind) >= 2) {
            WorldServices().PlaySe(6);
            g_Progress.StepRankKind(kind, 1);
        }
        DrawPlayScreen(0, 1, 0, 1);
        if (g_DrawRankingBoard) g_DrawRankingBoard(*scene);
        host.PresentFrame();
    }
    return 1;
}

void RunPauseThread()
{
    cGamePlay* scene = g_GamePlay;
    if (!scene || !thPause.Start(PauseEntry, scene)) return;
    thPause.Wait();
}

void RunRankingThread()
{
    cGamePlay* scene = g_GamePlay;
    if (!scene || !thRanking.Start(RankingEntry, scene)) return;
    thRanking.Wait();
}
