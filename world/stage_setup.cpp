// The stage set-up: the totals of a new play, the lives, and the running
// stage built from the live stage at every start, retry and replay restart.

#include "world/running_stage.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <new>
#include <string>

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/sjis_text.h"
#include "core/timer.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/replay_log.h"
#include "data/test_flows.h"
#include "media/bitmap_table.h"
#include "media/dd_present.h"
#include "world/activity.h"
#include "world/input_state.h"
#include "world/placement.h"
#include "world/play_pictures.h"
#include "world/play_screen.h"
#include "world/random.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

// The most cells a block map may have; a stage asking for more is treated
// as one whose map cannot be allocated.
constexpr std::int64_t kMaxMapCells = std::int64_t{1} << 24;
constexpr int kMaxMapSide = 1 << 24;

// The hit-check levels that mean something: 0 (every sub-step) to 5.
constexpr int kMaxHitLevel = 5;

// Copies into the live stage what a retry takes from the stage at start:
// its members and strings, layers, text items, areas and results-row flags
// (the placed objects and the palette stay).
void RefillLiveStage()
{
    if (&g_Stage == &g_StageAtStart) return;
    g_Stage.Assign(g_StageAtStart);
    g_Stage.Layers = g_StageAtStart.Layers;
    g_Stage.TextItems = g_StageAtStart.TextItems;
    for (int i = 0; i < kStageAreaCount; ++i)
        g_Stage.Areas[i] = g_StageAtStart.Areas[i];
    g_Stage.ResultFlags = g_StageAtStart.ResultFlags;
}

// Every floating-point value of the stage that the world uses, made finite:
// a damaged or hand-made file may hold NaN or infinities.
void MakeStageFinite()
{
    g_Stage.dGravity = FiniteOr(g_Stage.dGravity, 0.0);
    for (cEdLayer& layer : g_Stage.Layers) {
        layer.dFactorX = FiniteOr(layer.dFactorX, 0.0);
        layer.dFactorY = FiniteOr(layer.dFactorY, 0.0);
        layer.dOffsetX = FiniteOr(layer.dOffsetX, 0.0);
        layer.dOffsetY = FiniteOr(layer.dOffsetY, 0.0);
    }
}

void FillAxis(cScrollAxis& axis, int number, int view, int blocks, int outer, int autoOn,
              int autoSpeed, int limitFirstOn, int limitFirst, int limitLastOn, int limitLast)
{
    axis = cScrollAxis();
    axis.m_Axis = number;
    axis.m_ViewSize = view;
    axis.m_Margin = kMapMargin;
    axis.m_Outer = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{outer} + 640, INT32_MIN, INT32_MAX));
    axis.m_MapSize = blocks + 2 * kMapMargin;
    axis.m_Base = kMapMargin * 32;
    axis.m_Full = std::max((blocks + kMapMargin) * 32, 0);
    axis.m_AreaFirst = kMapMargin;
    axis.SetAutoScroll(autoOn, autoSpeed);
    axis.SetRange(limitFirst, limitLast, limitFirstOn, limitLastOn);
}

} // namespace

std::vector<std::int32_t> BuildHitStepMask(int subSteps, int hitLevel)
{
    const int b = std::max(subSteps, 1);
    const int level = std::clamp(hitLevel, 0, kMaxHitLevel);
    if (level == 0) return std::vector<std::int32_t>(static_cast<std::size_t>(b), 1);
    std::vector<std::int32_t> mask(static_cast<std::size_t>(b), 0);
    const double step = static_cast<double>(b) / level;
    int set = 0;
    for (double t = 0.0; TruncToInt(t) < b; t += step) {
        mask[static_cast<std::size_t>(TruncToInt(t))] = 1;
        ++set;
    }
    if (set < level) mask[static_cast<std::size_t>(b - 1)] = 1;
    return mask;
}

void cRunningStage::ResetSessionTotals()
{
    if (m_PlayMode != kPlayModeReplay) {
        g_Progress.nLives = g_Progress.nInitialLives;
        g_Progress.nStageScore = 0;
        g_Progress.nScore = 0;
        g_Progress.nRestTime = 0;
        g_Progress.nClearTime = 0;
        g_Progress.nRestHp = 0;
        g_Progress.nRestSp = 0;
    }
    m_ScrollX.m_Pos = 0.0;
    m_ScrollY.m_Pos = 0.0;
    m_ShowCounter = 0;
    m_ShowCounter2 = 0;
    m_HoldButtons = 0;
    m_TimeLeft = 0;
    SceneResetCounters();
    m_MessageList.clear();
    if (m_PlayMode != kPlayModeReplay) {
        g_ReplayLog.Clear();
        g_ReplayLog2.Clear();
    }
    if (m_DirectStart) g_Progress.nChainNo = 1;
    if (m_ResultsOn) SceneLoadRankings();
}

int cRunningStage::UseLife()
{
    if (m_DirectStart || m_PlayMode == kPlayModeReplay) return 1;
    if (g_Progress.nLives == kUnlimitedLives) return 1;
    if (g_Progress.nLives < 1) return 0;
    --g_Progress.nLives;
    return 1;
}

void cRunningStage::SendBgmRequest(int number, int loop)
{
    g_Progress.bStageMusicLoop = loop;
    WorldServices().PlayMusic(number);
}

void cRunningStage::SetStage(int refill, int newMusic)
{
    ErrLogText("In SetStage");
    ++m_SetStageCount;
    // Every object of the previous attempt goes; nothing is linked any more.
    for (auto& group : m_ShotGroups)
        group.clear();
    m_ShotGroups.resize(kGroupCount);
    m_ShotList.clear();
    for (auto& group : m_CharaGroups)
        group.clear();
    m_CharaGroups.resize(kGroupCount);
    m_CharaList.clear();
    m_ItemList.clear();
    for (auto* walk : m_CharaWalks)
        walk->Abandon();
    for (auto* walk : m_ItemWalks)
        walk->Abandon();
    for (auto* walk : m_ShotWalks)
        walk->Abandon();
    m_CharaByNo.clear();
    m_ShotByNo.clear();
    m_ItemByNo.clear();
    for (cPlayerObj& player : Player)
        player.m_GroupList = -1;
    m_CurChara = nullptr;
    m_CurFlowRun = nullptr;
    m_CurCommandRun = nullptr;

    if (refill) {
        if (m_PlayMode == kPlayModeReplay) {
            // The stage read from the replay names no file: the replay's path
            // is kept for the next restart.
            const std::string replayPath = g_Stage.strFileName;
            cEdStage discarded;
            if (!g_ReplayLog.LoadReplay(replayPath.c_str(), g_Stage, discarded, g_Progress))
                WorldServices().RequestClose();
            g_Stage.strFileName = replayPath;
        }
        RefillLiveStage();
    }
    MakeStageFinite();

    if (m_PlayMode == kPlayModeReplay) {
        g_ReplayLog.Rewind();
        m_RandomSeed = g_ReplayLog.nSeed;
    } else if (g_System.bRecordReplay) {
        g_ProgressAtStart2 = g_ProgressAtStart;
        g_ProgressAtStart = g_Progress;
        g_ReplayLog2 = g_ReplayLog;
        m_RandomSeed = static_cast<std::int32_t>(WorldServices().NowMs());
        g_ReplayLog.Start(m_RandomSeed, g_Stage.strFileName);
    }
    SeedRandom(static_cast<std::uint32_t>(m_RandomSeed));

    if (g_Stage.bCarryStatus)
        g_Progress.RestoreCarriedStatus(0, VecAt(g_Stage.PlacedCharas, g_Stage.FindHero()));

    const std::int32_t playing = g_Progress.nStageMusic;
    if (newMusic) {
        if (!(g_Stage.bKeepBgm && playing == g_Stage.nBgm && g_Stage.nBgm != 0))
            SendBgmRequest(g_Stage.nBgm, g_Stage.bBgmLoop);
    } else if (playing != g_Stage.nBgm) {
        SendBgmRequest(g_Stage.nBgm, g_Stage.bBgmLoop);
    }

    m_CharaSerial = m_ItemSerial = m_BlockSerial = 0;
    g_Stage.SetSpeedLevel(g_Stage.nSpeedLevel);

    // Sizes from the file, held where their arithmetic cannot overflow; a
    // map that large fails its allocation below anyway.
    const int width = std::clamp(g_Stage.nWidth, 0, kMaxMapSide);
    const int height = std::clamp(g_Stage.nHeight, 0, kMaxMapSide);
    const int shift = std::bit_width(static_cast<unsigned>(width + 2 * kMapMargin - 1));
    FillAxis(m_ScrollX, 0, 640, width, g_Stage.nOuterX, g_Stage.bAutoScrollX, g_Stage.nAutoScrollX,
             g_Stage.bLimitLeft, g_Stage.nLimitLeft, g_Stage.bLimitRight, g_Stage.nLimitRight);
    m_ScrollX.m_Shift = shift;
    m_ScrollX.m_Pitch = 1 << shift;
    FillAxis(m_ScrollY, 1, 480, height, g_Stage.nOuterY, g_Stage.bAutoScrollY, g_Stage.nAutoScrollY,
             g_Stage.bLimitTop, g_Stage.nLimitTop, g_Stage.bLimitBottom, g_Stage.nLimitBottom);
    m_ScrollY.m_Pitch = height + 2 * kMapMargin;

    // The block map. Every cell starts empty with its latch cleared: a retry
    // is a true restart, so that a replay recorded across retries plays back.
    const std::int64_t cells = std::int64_t{m_ScrollX.m_Pitch} * m_ScrollY.m_MapSize;
    bool allocated = cells <= kMaxMapCells;
    if (allocated) {
        try {
            m_BlockMap.assign(static_cast<std::size_t>(cells), BlockCell());
        } catch (const std::bad_alloc&) {
            allocated = false;
        }
    }
    if (!allocated) {
        m_BlockMap.clear();
        m_BlockMap.shrink_to_fit();
        WorldServices().ErrorBox(Sjis("メモリ不足により、ステージの初期設定に失敗しました！"));
        WorldServices().RequestClose();
        return;
    }
    m_ToggledCells.clear();
    for (const cEdBlock& block : g_Stage.PlacedBlocks) {
        BlockCell& cell = CellAt(block.nX + kMapMargin, block.nY + kMapMargin);
        if (&cell != &m_OutsideCell) cell.Assign(block);
    }

    ErrLogText("A");
    m_PlayerCount = 1;
    Player.resize(static_cast<std::size_t>(m_PlayerCount));
    cEdChara& hero = VecAt(g_Stage.PlacedCharas, g_Stage.FindHero());
    cPlayerObj& player = Player.front();
    player.SetupPlayer(m_CharaSerial++, hero, (hero.nX + kMapMargin) * 32.0 + 16,
                       (hero.nY + kMapMargin) * 32.0 + 16);
    player.SetBlockPos(hero.nX, hero.nY);
    const double offX = hero.CopyOffsetX(0, hero.nFacing);
    const double offY = hero.CopyOffsetY(0, hero.nFacing);
    player.m_X += offX;
    player.m_Right += offX;
    player.m_Y += offY;
    player.m_Bottom += offY;
    if (g_Stage.bCarryStatus) g_Progress.RestoreCarriedValues(0, &player.m_Hp, &player.m_Sp);
    player.m_Anime.Set(player.m_Flying ? 2 : 0, 1);

    ErrLogText("B");
    m_ScrollX.m_Pos = player.m_X + player.m_Width / 2 - 320;
    m_ScrollY.m_Pos = player.m_Y + player.m_Height / 2 - 240;
    m_ScrollX.Clamp();
    m_ScrollY.Clamp();
    player.UpdatePlayerScreenBox();
    if (player.m_Def.nSightShape != 0) CreateSightSurfaces(&g_BitmapSD[65], &g_BitmapSD[66]);
    m_StageVars.assign(kStageVarCount, 0);

    ErrLogText("10");
    PlaceStageObjects();

    ErrLogText("11");
    ErrLogText("12");
    ErrLogText("C");
    ErrLogText("D");
    // The group lists in their order: the player, then the characters in
    // list order.
    for (auto& group : m_CharaGroups)
        group.clear();
    for (cNpcObj& chara : m_CharaList)
        chara.m_GroupList = -1;
    LinkChara(player);
    for (cNpcObj& chara : m_CharaList)
        LinkChara(chara);

    for (int k = 0; k < 3; ++k) {
        const cEdArea& area = g_Stage.Areas[k];
        m_RemoveAreaOn[k] = area.bLeft || area.bRight || area.bTop || area.bBottom ? 1 : 0;
    }
    m_MessageList.clear();
    m_EffectList.clear();
    m_ScrEffect.Reset();
    m_Tint.Reset();
    m_PauseWait.m_Counter = 0;
    ResetPictures();
    ReleaseMessageSurfaces();

    m_HitStepMask = BuildHitStepMask(g_Stage.nSubSteps, g_Stage.nHitLevel);
    m_ClearRequest = 0;
    m_ShowCounter = 0;
    m_ShowCounter2 = 0;
    if (g_Stage.bTimeLimit) {
        m_TimeLeft = g_Stage.nTimeLimit;
        m_NoTimeLimit = 0;
    } else {
        m_TimeLeft = 999;
        m_NoTimeLimit = 1;
    }
    m_PlayFrames = 0;
    m_PlayTime = 0;
    m_FlowFlags.assign(kAreaSwitchCount, 0);
    m_NextStage = 0;
    m_SubStepNo = 0;
    m_SubStepTotal = 0;
    g_Progress.nStageScore = 0;
    // A replay plays on from the totals it was recorded with (they decide
    // its extra lives); a test play of the authoring tool starts from none.
    if (g_StartedByTool && m_DirectStart) {
        g_Progress.nScore = 0;
        g_Progress.nRestTime = 0;
        g_Progress.nClearTime = 0;
        g_Progress.nRestHp = 0;
        g_Progress.nRestSp = 0;
    }
    g_Progress.SnapshotStageStart();
    for (InputState& input : g_InputState) {
        ClearKeyHistory(input);
        ResetKeyEdges(input);
    }
    SceneResetMenuCursor();
    CountEvery(0, 0);
    for (cEdLayer& layer : g_Stage.Layers) {
        layer.dOffsetX = 0.0;
        layer.dOffsetY = 0.0;
    }
    ResetScreenPalette();
    m_FrameRate = g_Stage.nFrameRate;
    SceneFrameRate(g_Stage.nFrameRate);
    FireStageStartFlows();
    UpdateActivity();
    DDSetVirtualBackBuffer(0);
    ErrLogText("Out SetStage");
}
