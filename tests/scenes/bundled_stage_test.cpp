// The first stage of the bundled default game played from its set-up by an
// input script and drawn frame by frame in each back end, as the game-play
// scene draws it: the frames are not blank and two runs draw the same
// pixels. With RT_WRITE_FRAMES=<folder> set, some frames are written there
// as BMP files (bundled-<back end>-<frame>.bmp) to be looked at.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/ed_stage.h"
#include "data/stage_load.h"
#include "media/bmp_writer.h"
#include "media/dd_output.h"
#include "media/graphics_fixture.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "tools/default_game_fixture.h"
#include "world/input_script.h"
#include "world/input_state.h"
#include "world/world_services.h"

#include "game_display.h"

namespace {

constexpr int kFrames = 240;
// The frames written when asked for.
const std::set<int> kShownFrames = {1, 60, 120, 180, 239};

struct BackEnd {
    const char* name;
    gfxtest::Mode mode;
};

const std::vector<BackEnd> kBackEnds = {
    {"texture", {"Texture32", 1, 32, 1}},
    {"surface", {"Surface32", 0, 32, 1}},
};

// Right for two seconds with a jump now and then, a pause, then left.
cInputScript WalkAndJump()
{
    cInputScript script;
    script.Hold(0, 0, 90);
    for (int i = 0; i < 4; ++i)
        script.Hold(kDirRight, 0, 20).Hold(kDirRight, 1, 10);
    script.Hold(0, 0, 10).Hold(kDirLeft, 0, 20);
    return script;
}

// FNV-1a over a frame's colours.
std::uint64_t Hash(const std::vector<std::uint32_t>& xrgb)
{
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t v : xrgb) {
        h ^= v;
        h *= 1099511628211ull;
    }
    return h;
}

class BundledStage : public test::DefaultGame {
protected:
    void SetUp() override
    {
        test::DefaultGame::SetUp();
        LoadAuthorsData();
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
        g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
        g_SceneMgr.g_PrevScene = SCENE_TITLE;
        g_InputState.assign(1, InputState());
        services.m_Clock = 1234;
    }
    void TearDown() override
    {
        g_SceneMgr = cSceneMgr();
        test::DefaultGame::TearDown();
    }

    // Plays the first stage from its set-up; the colours of every frame.
    std::vector<std::vector<std::uint32_t>> Play(const BackEnd& backEnd)
    {
        std::vector<std::vector<std::uint32_t>> frames;
        test::SetUpGameDisplay(backEnd.mode);
        if (HasFatalFailure()) return frames;
        const std::vector<std::string> names = StageNames();
        EXPECT_FALSE(names.empty());
        if (names.empty()) return frames;
        EXPECT_EQ(LoadStage(names.front(), 1, &g_StageAtStart), 1);
        auto scene = std::make_unique<cGamePlay>();
        scene->m_PlayMode = g_SceneMgr.g_PlayMode;
        scene->m_PlayKind = g_SceneMgr.m_PlayKind;
        scene->Init();
        scene->m_Phase = PHASE_START;
        const cInputScript script = WalkAndJump();
        for (int i = 0; i < kFrames; ++i) {
            script.Apply(i, g_InputState[0]);
            scene->Run();
            std::vector<std::uint32_t> xrgb(640 * 480);
            DDFrameToXrgb(*BackBuffer.pixels(), g_ScreenPalette.data(), xrgb.data());
            frames.push_back(std::move(xrgb));
        }
        scene.reset();
        test::TearDownGameDisplay();
        return frames;
    }

    // The frames asked for, written into RT_WRITE_FRAMES.
    static void WriteFrames(const BackEnd& backEnd,
                            const std::vector<std::vector<std::uint32_t>>& frames)
    {
        const char* folder = std::getenv("RT_WRITE_FRAMES");
        if (!folder || !*folder) return;
        std::filesystem::create_directories(folder);
        for (int n : kShownFrames) {
            if (n >= static_cast<int>(frames.size())) continue;
            const std::string name =
                std::string(folder) + "/bundled-" + backEnd.name + "-" + std::to_string(n) + ".bmp";
            std::ofstream(name, std::ios::binary) << gfxtest::WriteBmp24(640, 480, frames[n]);
        }
    }

    cRecordingServices services;
    cScopedServices scopedServices{services};
};

TEST_F(BundledStage, IsDrawnInEachBackEndTheSameWayTwice)
{
    for (const BackEnd& backEnd : kBackEnds) {
        SCOPED_TRACE(backEnd.name);
        const auto first = Play(backEnd);
        ASSERT_EQ(first.size(), static_cast<std::size_t>(kFrames));
        WriteFrames(backEnd, first);
        const auto second = Play(backEnd);
        ASSERT_EQ(second.size(), first.size());
        for (int n : kShownFrames) {
            SCOPED_TRACE(n);
            const std::set<std::uint32_t> colours(first[n].begin(), first[n].end());
            EXPECT_GT(colours.size(), 1u) << "the frame is not blank";
            EXPECT_EQ(Hash(first[n]), Hash(second[n])) << "both runs draw the same frame";
        }
    }
}

} // namespace
