// The frame step: the current scene is made when missing, every other one
// deleted (and the game-play pointer with it); the scene runs with this
// frame's input; a scene that throws closes the game but the frame goes on;
// frames are paced by the clock at the manager's rate; the frame-rate text
// shows the mean of the last complete 16 frames.
#include "core/timer.h"
#include "media/font.h"
#include "media/graphics_fixture.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/window_messages.h"
#include "scenes/frame_step.h"
#include "scenes/input_devices.h"
#include "scenes/key_config.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "support/report_fixture.h"
#include "world/input_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <vector>

namespace {

// What the test scenes did, in order: "make 4", "init 4", "run 4", "delete 4".
std::vector<std::string> g_Log;
std::uint16_t g_DirSeen = 0;

template <int Id> class TestScene : public cScene {
public:
    TestScene()
    {
        g_Log.push_back("make " + std::to_string(Id));
        m_Phases = {static_cast<Phase>(&TestScene::Phase0)};
    }
    ~TestScene() override { g_Log.push_back("delete " + std::to_string(Id)); }
    void Run() override
    {
        g_Log.push_back("run " + std::to_string(Id));
        g_DirSeen = g_InputState[0].m_DirBits;
        RunPhases();
    }
    void Init() override { g_Log.push_back("init " + std::to_string(Id)); }
    void Phase0() {}
};

// A scene whose run takes g_RunCost milliseconds of the test's clock.
std::atomic<std::uint32_t>* g_Clock = nullptr;
int g_RunCost = 0;
class SlowScene : public cScene {
public:
    void Run() override { *g_Clock += static_cast<std::uint32_t>(g_RunCost); }
};

template <int Id> std::unique_ptr<cScene> Make()
{
    return std::make_unique<TestScene<Id>>();
}

std::unique_ptr<cScene> Throwing()
{
    throw "the scene's data is damaged";
}

std::unique_ptr<cScene> OutOfMemoryScene()
{
    throw std::bad_alloc();
}

class FrameStep : public test::ReportFixture {
protected:
    void SetUp() override
    {
        test::ReportFixture::SetUp();
        saved = g_SceneFactories;
        g_SceneFactories = {Make<0>, Make<1>, Make<2>, Make<3>, Make<4>, Make<5>};
        g_Log.clear();
        plat::releaseAllKeys();
        plat::setJoystickSource([](unsigned, plat::JoyReading&) { return false; });
        ResetJoystickRetries();
        DefaultKeyConfig(g_KeyConfig);
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDOK;
        });
    }
    void TearDown() override
    {
        DestroyScenes();
        g_SceneFactories = saved;
        g_SceneMgr = cSceneMgr{};
        g_KeyConfig = KEYCONFIG{};
        g_ShowFps = 0;
        ResetFrameStats();
        plat::setJoystickSource(nullptr);
        plat::setMessageBoxResponder(nullptr);
        plat::releaseAllKeys();
        test::ReportFixture::TearDown();
    }

    std::array<SceneFactory, kSceneCount> saved;
    std::vector<std::string> boxes;
};

TEST_F(FrameStep, OnlyTheCurrentSceneExistsAndRunsWithThisFramesInput)
{
    g_SceneMgr.g_CurScene = SCENE_TITLE;
    plat::setKeyDown(plat::VK_RIGHT, true);
    EXPECT_EQ(StepFrame(), 1);
    EXPECT_EQ(g_DirSeen, kDirRight);
    EXPECT_EQ(g_Log, (std::vector<std::string>{"make 0", "run 0", "init 0"}));

    // The title asks for the game play: on the next frame the title is gone
    // before the game play is made.
    g_Log.clear();
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    StepFrame();
    StepFrame();
    EXPECT_EQ(g_Log, (std::vector<std::string>{"delete 0", "make 4", "run 4", "init 4", "run 4"}));
    EXPECT_EQ(g_SceneMgr.m_TitleScene, nullptr);
    EXPECT_NE(g_SceneMgr.m_GamePlayScene, nullptr);
}

TEST_F(FrameStep, AnIdOutsideTheScenesDeletesEveryOneAndRunsNone)
{
    for (int id = 0; id < kSceneCount; ++id) {
        g_SceneMgr.g_CurScene = id;
        StepFrame();
    }
    g_Log.clear();
    g_SceneMgr.g_CurScene = 6;
    EXPECT_EQ(StepFrame(), 1);
    EXPECT_EQ(g_Log, (std::vector<std::string>{"delete 5"}));
    for (int id = 0; id < kSceneCount; ++id)
        EXPECT_EQ(g_SceneMgr.Scene(id), nullptr);
}

TEST_F(FrameStep, TheGamePlayPointerGoesWithItsScene)
{
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    StepFrame();
    g_GamePlay = reinterpret_cast<cGamePlay*>(g_SceneMgr.m_GamePlayScene.get());
    g_SceneMgr.g_CurScene = SCENE_TITLE;
    StepFrame();
    EXPECT_EQ(g_GamePlay, nullptr);
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    StepFrame();
    g_GamePlay = reinterpret_cast<cGamePlay*>(g_SceneMgr.m_GamePlayScene.get());
    DestroyScenes();
    EXPECT_EQ(g_GamePlay, nullptr);
}

TEST_F(FrameStep, ASceneAskingForItselfKeepsItsObjectAndRunsInitAgain)
{
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    StepFrame();
    cScene* scene = g_SceneMgr.m_GamePlayScene.get();
    scene->m_Phase = -1; // what its FadeOut does when it asks for itself
    g_Log.clear();
    StepFrame();
    EXPECT_EQ(g_SceneMgr.m_GamePlayScene.get(), scene);
    EXPECT_EQ(g_Log, (std::vector<std::string>{"run 4", "init 4"}));
}

TEST_F(FrameStep, AMissingSceneOrOneThatFailsToBeMadeRunsNothingAndTheFrameGoesOn)
{
    struct Case {
        SceneFactory factory;
        std::vector<std::string> boxes;
        bool closes;
    };
    const Case cases[] = {
        {nullptr, {}, false},
        {Throwing, {}, true},
        {OutOfMemoryScene, {"メモリが不足しています！"}, true},
    };
    for (const auto& c : cases) {
        DestroyScenes();
        g_SceneFactories[SCENE_TITLE] = c.factory;
        g_SceneMgr.g_CurScene = SCENE_TITLE;
        boxes.clear();
        drainPosted();
        EXPECT_EQ(StepFrame(), 1);
        EXPECT_EQ(g_SceneMgr.m_TitleScene, nullptr);
        EXPECT_EQ(boxes, c.boxes);
        bool closed = false;
        for (const auto& m : drainPosted())
            closed = closed || m.msg == WM_CLOSE;
        EXPECT_EQ(closed, c.closes);
    }
}

TEST_F(FrameStep, TheConfiguredMappingIsPolledWhenItsSwitchIsOn)
{
    g_KeyConfig.bUse = 1;
    g_KeyConfig.entries[0].code = 'J';
    plat::setKeyDown('J', true);
    plat::setKeyDown(plat::VK_LEFT, true);
    std::vector<InputState> records(1);
    PollInput(records);
    EXPECT_EQ(records[0].m_DirBits, kDirLeft);
    plat::setKeyDown('J', false);
    PollInput(records);
    EXPECT_EQ(records[0].m_DirBits, 0) << "the arrow is not the configured left";
}

// The graphics layer set up, the clock driven by the test.
class PacedFrames : public FrameStep {
protected:
    void SetUp() override
    {
        FrameStep::SetUp();
        ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::AllModes()[0], 640, 480));
        plat::setTimeSource([this] { return now.load(); });
        TimerResetState();
        InitFontDef();
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(g_Fonts[1].Create(d.face.data(), 0, d.fontHeight, d.cellWidth, d.lineHeight, 33,
                                      nullptr, 1, 240, nullptr));
        g_SceneMgr.m_FrameRate = 60;
        g_SceneMgr.g_CurScene = 6;
    }
    void TearDown() override
    {
        g_Fonts[1].Release();
        plat::setTimeSource(nullptr);
        TimerResetState();
        gfxtest::TearDownMode();
        FrameStep::TearDown();
    }
    std::atomic<std::uint32_t> now{1000};
};

TEST_F(PacedFrames, AFrameIsDueEvery16MillisecondsAt60)
{
    std::atomic<bool> stepped{false};
    StepFrame(); // the first frame is due at once
    std::thread clock([&] {
        for (int ms = 0; ms < 16 && !stepped; ++ms) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            EXPECT_FALSE(stepped.load()) << "stepped after " << ms << " ms";
            ++now;
        }
    });
    StepFrame();
    stepped = true;
    clock.join();
    EXPECT_EQ(now.load(), 1016u);
}

TEST_F(PacedFrames, TheFrameRateTextShowsTheMeanOfTheLastCompleteSixteenFrames)
{
    g_ShowFps = 1;
    g_SceneMgr.m_FrameRate = 0; // no waiting
    g_SceneFactories[SCENE_TITLE] = [] { return std::unique_ptr<cScene>(new SlowScene); };
    g_SceneMgr.g_CurScene = SCENE_TITLE;
    g_Clock = &now;
    for (int frame = 1; frame <= 32; ++frame) {
        g_RunCost = frame <= 16 ? 3 : 5;
        StepFrame();
        EXPECT_EQ(g_FrameTime, g_RunCost);
        const int expected = frame < 16 ? 0 : frame < 32 ? 3 : 5;
        EXPECT_EQ(g_FrameTimeAvg, expected) << frame;
    }
    g_Clock = nullptr;
}

} // namespace
