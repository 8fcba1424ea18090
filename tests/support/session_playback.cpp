#include "support/session_playback.h"

#include <vector>

#include "data/ed_save_data.h"
#include "data/path_table.h"
#include "scenes/input_session.h"
#include "scenes/play_pause.h"
#include "scenes/scene_mgr.h"
#include "support/headless_game.h"
#include "world/input_state.h"

namespace test {

namespace {

// Frames stepped after the session's input has run out.
constexpr int kAfterEnd = 120;
// Passes a thread's loop may take once the input has run out (a wait for a
// button that never comes ends then).
constexpr int kThreadPassesAfterEnd = 600;

int StoryCleared()
{
    int cleared = 0;
    for (std::size_t i = 1; i < g_Progress.vStageFlags.size(); ++i)
        cleared += g_Progress.vStageFlags[i] != 0 ? 1 : 0;
    return cleared;
}

bool InputRanOut()
{
    return SessionPollsTaken() >= SessionPollCount();
}

// The stage's keys and clock from the session; the blocking waits on the
// pause thread, as in the program.
class SessionServices : public HeadlessServices {
public:
    std::uint32_t NowMs() override { return SessionClock(m_Clock); }
    int KeyDown(int vk) override { return SessionKeyDown(vk, 0); }
    void RunPauseWait() override { RunPauseThread(); }
};

// The pause and ranking threads' frames without pacing or a display.
class SessionHost : public cFrameHost {
public:
    bool TakeMessages() override
    {
        return InputRanOut() && ++m_PassesAfterEnd > kThreadPassesAfterEnd;
    }
    bool AppActive() override { return true; }
    void WaitFrame() override {}
    bool RestoreLostSurfaces() override { return true; }
    void PresentFrame() override {}

private:
    int m_PassesAfterEnd = 0;
};

} // namespace

SessionPlayback PlayBackSession(const std::string& path, std::int64_t limit)
{
    SessionPlayback result;
    HeadlessGame game;
    if (!game.Error().empty()) {
        result.error = game.Error();
        return result;
    }
    if (!StartSessionPlayback(path, result.error)) return result;
    // The player's folders, as the start-up makes them.
    CreateGameFolders();
    result.polls = SessionPollCount();
    SessionServices services;
    SetWorldServices(&services);
    SessionHost host;
    SetFrameHost(&host);
    g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene = g_SceneMgr.g_PrevScene = SCENE_TITLE;
    int afterEnd = 0;
    while (result.frames < limit && afterEnd < kAfterEnd) {
        game.PolledFrame();
        ++result.frames;
        const int scene = g_SceneMgr.g_CurScene;
        if (result.scenes.empty() || result.scenes.back().scene != scene)
            result.scenes.push_back({scene, g_SceneMgr.g_PlayMode, StoryCleared()});
        if (InputRanOut()) ++afterEnd;
    }
    result.reachedEnd = InputRanOut();
    result.closeRequests = services.m_CloseRequests;
    result.errorBoxes = services.m_ErrorBoxes;
    SetFrameHost(nullptr);
    SetWorldServices(&game.m_Services);
    std::string unused;
    EndInputSession(unused);
    return result;
}

} // namespace test
