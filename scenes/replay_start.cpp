#include "scenes/replay_start.h"

#include <algorithm>
#include <cctype>

#include "core/message_box.h"
#include "core/path.h"
#include "core/sjis_text.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "scenes/free_play.h"

bool IsReplayPath(std::string_view path)
{
    std::string ext;
    if (!PathGetExt(ext, path)) return false;
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext.rfind("rpl4_", 0) == 0;
}

int LoadReplayFile(const std::string& path)
{
    if (!g_ReplayLog.LoadReplay(path.c_str(), g_Stage, g_StageAtStart, g_Progress)) {
        ErrBoxF(Sjis("%s の読み込みに失敗しました！"), path.c_str());
        return 0;
    }
    g_Stage.strFileName = path;
    g_LastStagePath = path;
    return 1;
}
