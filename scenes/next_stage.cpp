// After a cleared stage: the next stage of a chain, and the scene that
// follows by the play mode, with the clear recorded in the progress.

#include "scenes/game_play.h"

#include <algorithm>
#include <string>

#include "core/format.h"
#include "core/path.h"
#include "core/report.h"
#include "core/saturate.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/stage_load.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_mgr.h"

namespace {

// What the world-map entry that started a story stage asks for after its clear.
enum AfterClear : int { AFTER_CLEAR_MAP = 0, AFTER_CLEAR_NEXT_ROUND = 1, AFTER_CLEAR_TITLE = 2 };

// Chains are numbered from 1: a next-stage number below that, which only a
// command's own number can give, names no stage.
constexpr std::int32_t kFirstChainStage = 1;

void SetFlag(std::vector<std::int32_t>& flags, int index)
{
    if (index >= 0 && index < static_cast<int>(flags.size()))
        flags[static_cast<std::size_t>(index)] = 1;
}

// The challenge's entry: cleared, its best score, the next challenge open,
// then Challenge.dat written.
void RecordChallengeClear()
{
    cSaveData& p = g_Progress;
    const int entry = p.nStageIndex - 1;
    if (entry >= 0 && entry < static_cast<int>(p.vChallenge.size())) {
        cEdIntPair& challenge = p.vChallenge[static_cast<std::size_t>(entry)];
        challenge.bCleared = 1;
        if (p.nScore > challenge.nBest) {
            p.nTotalScore =
                SaturateToInt32(std::int64_t{p.nTotalScore} + p.nScore - challenge.nBest);
            challenge.nBest = p.nScore;
        }
    }
    if (p.nChallengeOpen <= p.nStageIndex)
        p.nChallengeOpen =
            std::min(SaturateToInt32(std::int64_t{p.nStageIndex} + 1), g_System.nChallengeStages);
    const char* file = g_PathTable[PATH_CHALLENGE_DATA];
    if (!p.SaveFile(file)) Report("%s could not be written", file);
}

} // namespace

int cGamePlay::NextStageFileName(std::string& out, int n)
{
    out.clear();
    if (!g_Progress.bChainStage || m_NextStage == 0 || n < kFirstChainStage) return 0;
    const std::string& name = g_Progress.strStage;
    const std::string base = name.empty() ? std::string() : name.substr(0, name.size() - 1);
    std::string path;
    FormatStr(path, "%s-%d.%s", base.c_str(), n, g_ExtTable[EXT_STAGE]);
    std::string found;
    if (!FindNewestNumberedStr(found, path, g_ExtTable[EXT_STAGE])) return 0;
    out = found;
    return 1;
}

int cGamePlay::IsLastStage(int n)
{
    std::string file;
    return NextStageFileName(file, n) ? 0 : 1;
}

bool cGamePlay::ContinueChain(std::int32_t saved)
{
    if (!g_Progress.bChainStage || m_NextStage < kFirstChainStage) return false;
    g_Progress.nChainNo = m_NextStage;
    std::string file;
    if (!NextStageFileName(file, m_NextStage)) return false;
    if (LoadStage(file, 1, &g_StageAtStart)) {
        g_ReplayLog.Clear();
        g_ReplayLog2.Clear();
        return true;
    }
    if (!StageLoadCancelled()) return false;
    // A quit came during the load: the program is closing, and the chain
    // has not ended, so nothing of its end is recorded.
    g_Progress.nChainNo = saved;
    return true;
}

int cGamePlay::DecideNextScene()
{
    cSaveData& p = g_Progress;
    if (g_Stage.bStoreStatus) {
        for (std::size_t i = 0; i < Player.size(); ++i) {
            const cPlayerObj& player = Player[i];
            const CharaEffectState& effect = player.m_CharaEffect;
            p.StoreCarriedStatus(static_cast<int>(i), player.m_Def, player.m_Hp, player.m_Sp,
                                 effect.m_Index, effect.m_Mode, effect.m_Loop, m_TimeLeft, p.nLives,
                                 p.nStageMusic);
        }
    }
    const std::int32_t saved = p.nChainNo;
    switch (m_PlayMode) {
    case PLAYMODE_NEW_GAME:
    case PLAYMODE_CONTINUE: {
        if (ContinueChain(saved)) return SCENE_GAME_PLAY;
        SetFlag(p.vStageFlags, p.nStageIndex);
        p.UpdateBestScore(p.strStage, p.nScore);
        const int after = p.m_pMapEvent ? p.m_pMapEvent->m_AfterClear : AFTER_CLEAR_MAP;
        if (after == AFTER_CLEAR_TITLE) {
            g_MenuCursor.top->row = g_SceneMgr.g_PlayMode;
            return SCENE_TITLE;
        }
        if (after == AFTER_CLEAR_NEXT_ROUND) p.StartNextRound();
        p.nChainNo = saved;
        return SCENE_WORLD_MAP;
    }
    case PLAYMODE_CHALLENGE: {
        if (ContinueChain(saved)) return SCENE_GAME_PLAY;
        RecordChallengeClear();
        p.nChainNo = saved;
        return SCENE_CHALLENGE;
    }
    case PLAYMODE_FREE: {
        // A single stage, or one started directly, is played again.
        if (!p.bChainStage || m_DirectStart) return SCENE_GAME_PLAY;
        if (ContinueChain(saved)) return SCENE_GAME_PLAY;
        p.nChainNo = saved;
        return SCENE_TITLE;
    }
    case PLAYMODE_REPLAY:
        p.RestoreStageStart(1, m_PlayKind, m_DirectStart);
        return SCENE_GAME_PLAY;
    default:
        return SCENE_CHALLENGE;
    }
}
