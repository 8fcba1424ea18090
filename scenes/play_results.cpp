// The results of a cleared stage: the totals and extra lives, the places
// the results would take in the rankings, the results panel, and the
// registration with its ranking board.

#include "scenes/game_play.h"

#include <algorithm>
#include <string>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/saturate.h"
#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/test_flows.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "scenes/input_session.h"
#include "scenes/play_pause.h"
#include "scenes/rank_format.h"
#include "scenes/ranking_board.h"
#include "world/message.h"
#include "world/world_services.h"

std::function<void(std::string&)> g_AskRankingName;

namespace {

constexpr int kCell = 16;
// The kinds' labels are system texts 5 to 9.
constexpr int kSysTextKindLabel = 5;
// The clear time's value takes the width of its format.
constexpr int kTimeCells = 8;
// The ranking marker: the 16 x 16 piece at (16, 48) of the accessory picture.
constexpr int kBitmapAccessory = 49;
// Where the ranking thread shows the board.
constexpr int kBoardX = 184;
constexpr int kBoardY = 64;

// Lives never rise above this by an extra life; no more notices than this
// are shown for one clear, however far the score went.
constexpr std::int32_t kMaxLives = 99;
// The extra-life notice: an icon over the player for 30 frames.
constexpr int kNoticeFrames = 30;
constexpr int kPlacementOverPlayer = 4;
constexpr std::uint32_t kExtraLifeSound = 15;
constexpr std::uint32_t kRegisterSound = 16;

// Flag k of a list; a list too short has it off.
template <class T> bool FlagOn(const std::vector<T>& flags, int k)
{
    return k >= 0 && k < static_cast<int>(flags.size()) && flags[static_cast<std::size_t>(k)] != 0;
}

// The registration modes in which the name is fixed in the options.
bool FixedRankName()
{
    return g_Option.nRankMode == RANKMODE_MANUAL_FIXED || g_Option.nRankMode == RANKMODE_AUTO_FIXED;
}

std::int32_t Add(std::int32_t total, std::int32_t value)
{
    return SaturateToInt32(std::int64_t{total} + value);
}

} // namespace

bool cGamePlay::ResultShown(int kind, bool panel) const
{
    const bool stageFlag = FlagOn(g_Stage.ResultFlags, kind);
    // The panel of a stage started directly shows what the stage shows.
    if (panel && m_DirectStart) return stageFlag;
    return stageFlag && FlagOn(VecAt(g_System.vModeFlags, m_PlayKind).vRankKinds, kind);
}

void cGamePlay::ScenePrepareResults()
{
    PrepareResults();
}

void cGamePlay::PrepareResults()
{
    AddStageTotals();
    m_Registered = 0;
    m_RankEligible = 0;
    m_RankPos.assign(kRankKinds, -1);
    // Results and rankings come at the end of a chain, or for a stage
    // outside one.
    if (!m_DirectStart && (!m_ResultsOn || !IsLastStage(m_NextStage))) return;
    m_Results = {g_Progress.nScore, g_Progress.nRestTime, g_Progress.nClearTime, g_Progress.nRestHp,
                 g_Progress.nRestSp};
    // A test play of the authoring tool ranks nothing.
    if (g_StartedByTool) return;
    const int tables = static_cast<int>(g_RankSet.m_Tables.size());
    for (int k = 0; k < kRankKinds && k < tables; ++k) {
        if (!ResultShown(k, false)) continue;
        const auto i = static_cast<std::size_t>(k);
        m_RankPos[i] = FindRankPos(g_RankSet.m_Tables[i], m_Results[i]);
        if (m_RankPos[i] != -1) m_RankEligible = 1;
    }
}

void cGamePlay::AddStageTotals()
{
    cSaveData& p = g_Progress;
    const std::int32_t before = p.nScore;
    p.nScore = Add(p.nScore, p.nStageScore);
    if (!m_NoTimeLimit) p.nRestTime = Add(p.nRestTime, m_TimeLeft);
    p.nClearTime = Add(p.nClearTime, m_PlayTime);
    if (!Player.empty()) {
        p.nRestHp = Add(p.nRestHp, Player[P1].m_Hp);
        p.nRestSp = Add(p.nRestSp, Player[P1].m_Sp);
    }
    const std::int64_t perLife = g_System.nExtraLifeScore;
    if (p.nLives == kUnlimitedLives || !g_System.bExtraLife || perLife == 0) return;
    const std::int64_t lives =
        std::min<std::int64_t>(p.nScore / perLife - before / perLife, kMaxLives);
    for (std::int64_t i = 0; i < lives; ++i) {
        if (p.nLives < kMaxLives) ++p.nLives;
        WorldServices().PlaySe(kExtraLifeSound);
        const int player = Player.empty() ? 0 : Player[P1].m_ObjNo;
        const cMessage& notice =
            m_MessageList.emplace_back(cMessage::ICON, "", 0, 0, 0, kPlacementOverPlayer, 0, 0, 0,
                                       0, 0, cMessage::TIMED, kNoticeFrames, 1, player, 0, 0);
        m_PauseWait = PauseWait{PauseWait::EXTRA_LIFE, 0, 0, kNoticeFrames, 0};
        WorldServices().RunPauseWait();
        RemoveMessage(&notice);
    }
}

void cGamePlay::DrawResults(int x, int y)
{
    bool shown[kRankKinds] = {};
    int rows = 0;
    int labelCells = 1;
    for (int k = 0; k < kRankKinds; ++k) {
        shown[k] = ResultShown(k, true);
        if (!shown[k]) continue;
        ++rows;
        labelCells = std::max(labelCells,
                              CountChars(VecAt(g_System.SysText, kSysTextKindLabel + k).c_str()));
    }
    if (rows == 0) return;
    const cSaveData& p = g_Progress;
    const std::int32_t values[kRankKinds] = {p.nScore, p.nRestTime, p.nClearTime, p.nRestHp,
                                             p.nRestSp};
    int valueCells = 1;
    for (int k = 0; k < kRankKinds; ++k) {
        if (!shown[k]) continue;
        valueCells =
            std::max(valueCells, k == RANK_CLEAR_TIME ? kTimeCells : DigitCount(values[k]));
    }
    Font& font = g_Fonts[1];
    font.DrawBox(&BackBuffer, x, y, (valueCells + labelCells + 3) * kCell, kCell * rows);
    int rowY = y;
    for (int k = 0; k < kRankKinds; ++k) {
        if (!shown[k]) continue;
        font.DrawTextF(&BackBuffer, x + kCell, rowY, "%s",
                       VecAt(g_System.SysText, kSysTextKindLabel + k).c_str());
        const int valueX = x + 2 * kCell + kCell * labelCells;
        if (k == RANK_CLEAR_TIME) {
            std::string time;
            FormatTime(time, values[k]);
            font.DrawTextF(&BackBuffer, valueX, rowY, "%s", time.c_str());
        } else {
            font.DrawTextF(&BackBuffer, valueX, rowY, "%d", values[k]);
        }
        rowY += kCell;
    }
    // A marker for each kind that ranks, stacked from the first row down.
    int markerY = y;
    for (std::int32_t place : m_RankPos) {
        if (place == -1) continue;
        DDBlt(&BackBuffer, x, markerY, kCell, kCell, &g_BitmapSD[kBitmapAccessory], 16, 48, 1);
        markerY += kCell;
    }
}

void cGamePlay::RegisterRanking()
{
    if (!m_ResultsOn || !m_RankEligible || m_Registered) return;
    if (FixedRankName()) {
        m_RankName = g_Option.strRegName;
    } else {
        m_RankName = g_Progress.strRankName;
        SessionRankingName(m_RankName, g_AskRankingName);
        g_Progress.strRankName = m_RankName;
    }
    WorldServices().PlaySe(kRegisterSound);
    const int tables = static_cast<int>(g_RankSet.m_Tables.size());
    for (int k = 0; k < kRankKinds && k < tables; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (m_RankPos[i] != -1) InsertRank(g_RankSet.m_Tables[i], m_RankName, m_Results[i]);
    }
    SaveRankSet(g_RankSet, m_PlayKind, g_Progress.strStage);
    m_Registered = 1;
    RunRankingThread();
}

void cGamePlay::DrawRankingBoard()
{
    const int kind = g_Progress.nRankKind;
    const int cursor = kind >= 0 && kind < static_cast<int>(m_RankPos.size())
                           ? m_RankPos[static_cast<std::size_t>(kind)]
                           : -1;
    DrawRankingOf(g_RankSet, &BackBuffer, kBoardX, kBoardY, kind, cursor);
}

void cGamePlay::SceneLoadRankings()
{
    LoadRankSet(g_RankSet, m_PlayKind, g_Progress.strStage);
}
