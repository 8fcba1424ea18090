#pragma once
// A frame host for the pause and ranking threads' loop that plays an input
// script, keeps its own clock (16 ms a frame) and ends the loop after a cap
// of passes, so a wait that never sees its button ends the test with
// `capped` set instead of hanging. With `realQueue` the thread's own
// messages are taken too, so a WM_QUIT posted from outside ends the loop.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "scenes/play_pause.h"
#include "world/input_script.h"
#include "world/input_state.h"

namespace test {

class cScriptedFrameHost : public cFrameHost {
public:
    explicit cScriptedFrameHost(cInputScript input, int cap = 600)
        : script(std::move(input)), passCap(cap)
    {
    }

    bool TakeMessages() override
    {
        if (realQueue && cFrameHost::TakeMessages()) return true;
        if (quitPosted) return true;
        if (passes >= passCap) {
            capped = true;
            return true;
        }
        ++passes;
        return false;
    }
    bool AppActive() override { return !inactive || !inactive(passes); }
    void WaitFrame() override { clock += 16; }
    bool RestoreLostSurfaces() override { return true; }
    void PollInput(std::vector<InputState>& input) override
    {
        script.Apply(frames, input[0]);
        ++frames;
        if (onPoll) onPoll(frames);
    }
    void PresentFrame() override { ++presents; }
    std::uint32_t NowMs() override { return clock; }
    void PostQuitToSelf() override { ++quitPosted; }

    cInputScript script;
    int passCap;
    bool realQueue = false;
    std::function<bool(int)> inactive; // by pass number: the application is inactive
    std::function<void(int)> onPoll;   // after the frame-th poll
    std::atomic<int> passes{0};
    std::atomic<int> frames{0}; // input polls
    int presents = 0;
    std::uint32_t clock = 0;
    int quitPosted = 0;
    bool capped = false;
};

// Makes a frame host current for the life of the object.
class cScopedFrameHost {
public:
    explicit cScopedFrameHost(cFrameHost& host) { SetFrameHost(&host); }
    ~cScopedFrameHost() { SetFrameHost(nullptr); }
    cScopedFrameHost(const cScopedFrameHost&) = delete;
    cScopedFrameHost& operator=(const cScopedFrameHost&) = delete;
};

} // namespace test
