#include "scenes/free_play.h"

#include "core/checked_access.h"
#include "core/path.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/stage_load.h"
#include "scenes/scene.h"

std::int32_t g_DirectStart = 0;
std::string g_LastStagePath;

int StartFreePlay(const char* path, int versioned)
{
    g_LastStagePath = path ? path : "";
    g_Progress.ResetStoryData();
    if (!LoadStage(g_LastStagePath, versioned, &g_StageAtStart)) return 0;
    g_Progress.nStageIndex = 1;
    g_Progress.nChainNo = 1;
    if (g_DirectStart || VecAt(g_System.vUnlimitedLives, PLAYKIND_FREE) != 0) {
        g_Progress.nInitialLives = g_Progress.nLives = kUnlimitedLives;
    } else {
        g_Progress.nInitialLives = VecAt(g_System.vInitialLives, PLAYKIND_FREE);
        g_Progress.nLives = g_Progress.nInitialLives - 1;
    }
    std::string relative = g_LastStagePath;
    PathToRelative(relative);
    g_Progress.SetStageName(relative.c_str());
    return 1;
}
