// The whole program running in this process over SDL's dummy video driver:
// with nothing given it opens at the title menu; a stage or a replay given
// on the command line plays at once, and one that cannot be played is said
// before the title menu opens; the arrow keys and a game controller reach the player's input
// through the frame step, System.ini's choices take effect, a clean exit leaves no surface behind,
// and a thread that will not end cannot hang the close.
#include "core/message_box.h"
#include "core/report.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/sound_request.h"
#include "core/thread.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_output.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "platform/dialog.h"
#include "platform/game_window.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "scenes/frame_step.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "scenes/title_scene.h"
#include "shell/app_state.h"
#include "shell/boot_dialog.h"
#include "shell/init_game.h"
#include "shell/running_game.h"
#include "shell/system_ini.h"
#include "support/close_bound.h"
#include "support/played_game.h"
#include "support/x_display.h"
#include "world/input_state.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using test::kCloseBoundMs;

// What the game-play scene saw: the frames it ran and the player's input.
std::atomic<int> g_PlayFrames{0};
std::atomic<int> g_PlayDir{0};
std::atomic<int> g_PlayButtons{0};

// Stands in for the game-play scene: records the input each frame.
class InputRecorder : public cScene {
public:
    void Run() override
    {
        g_PlayDir = g_InputState[0].m_DirBits;
        g_PlayButtons = g_InputState[0].m_ButtonBits;
        ++g_PlayFrames;
    }
};

std::unique_ptr<cScene> MakeRecorder()
{
    return std::make_unique<InputRecorder>();
}

// The game's own title menu, which also counts the frames of its menu.
std::atomic<int> g_TitleMenuFrames{0};

class WatchedTitle : public cTitleScene {
public:
    void Run() override
    {
        cTitleScene::Run();
        if (m_Phase == PHASE_MENU) ++g_TitleMenuFrames;
    }
};

std::unique_ptr<cScene> MakeWatchedTitle()
{
    return std::make_unique<WatchedTitle>();
}

class Run : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDYES;
        });
        g_PlayFrames = 0;
        g_TitleMenuFrames = 0;
        g_PlayDir = 0;
        g_PlayButtons = 0;
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        plat::setDialogResponder(nullptr);
    }

    std::vector<std::string> report() const
    {
        std::vector<std::string> lines;
        std::istringstream in(game.dir.read("Report_Game.txt"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool reported(const std::string& line) const
    {
        const auto r = report();
        return std::find(r.begin(), r.end(), line) != r.end();
    }

    // A replay of the first stage made with the replay code, into the game folder.
    static void WriteReplay(const char* path)
    {
        cEdStage stage;
        auto file = OpenRead("data\\stg4\\Stage1.stg4_001");
        ASSERT_TRUE(file);
        ASSERT_EQ(LoadStageRecord(stage, file->in), 1);
        stage.strFileName = "data\\stg4\\Stage1.stg4_001";
        cEdStage atStart;
        atStart.CopySettingsFrom(stage);
        cReplayLog log;
        log.Start(99, stage.strFileName);
        for (int frame = 0; frame < 30; ++frame)
            log.Record(kDirRight, 0);
        cSaveData progress;
        ASSERT_EQ(log.SaveReplay(path, stage, atStart, progress), 1);
    }

    test::PlayedGame game{MakeRecorder};
    std::vector<std::string> boxes;
};

TEST_F(Run, TheStageOnTheCommandLinePlaysAtOnceAndTheArrowsAndAControllerReachThePlayer)
{
    int scene = -1, playMode = -1, lives = -1;
    std::string stage;
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
        ASSERT_TRUE(test::WaitFor([] { return g_PlayFrames > 2; }));
        scene = g_SceneMgr.g_CurScene;
        playMode = g_SceneMgr.g_PlayMode;
        lives = g_Progress.nLives;
        stage = g_SystemIni.FreeStage;

        plat::pushKeyEvent(SDL_SCANCODE_RIGHT, true);
        plat::pushKeyEvent(SDL_SCANCODE_Z, true);
        EXPECT_TRUE(test::WaitFor([] { return g_PlayDir == kDirRight && g_PlayButtons == 1; }));
        plat::pushKeyEvent(SDL_SCANCODE_RIGHT, false);
        plat::pushKeyEvent(SDL_SCANCODE_Z, false);
        EXPECT_TRUE(test::WaitFor([] { return g_PlayDir == 0 && g_PlayButtons == 0; }));

        // A controller plugged in during play moves the player at once.
        int device = -1;
        SDL_Joystick* joystick = nullptr;
        plat::runOnMainThread([&] {
            device =
                SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
            joystick = SDL_JoystickOpen(device);
            SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
            SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_B, 1);
        });
        EXPECT_TRUE(test::WaitFor([] { return g_PlayDir == kDirLeft && g_PlayButtons == 2; }));
        plat::runOnMainThread([&] {
            SDL_JoystickClose(joystick);
            SDL_JoystickDetachVirtual(device);
        });
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.ran);
    EXPECT_EQ(scene, SCENE_GAME_PLAY);
    EXPECT_EQ(playMode, PLAYMODE_FREE);
    EXPECT_EQ(lives, kUnlimitedLives) << "a stage started directly has unlimited lives";
    EXPECT_EQ(stage, "data\\stg4\\Stage1.stg4_001") << "the newest numbered file";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Run, WithNothingToPlayTheGameOpensAtTheTitleMenu)
{
    g_SceneFactories[SCENE_TITLE] = MakeWatchedTitle;
    const auto run =
        test::RunGame({}, [] { EXPECT_TRUE(test::WaitFor([] { return g_TitleMenuFrames > 2; })); });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(g_PlayFrames, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Run, AFileOnTheCommandLineThatCannotBePlayedIsSaidAndTheGameOpensAtTheTitle)
{
    game.dir.write("data/damaged.rpl4_511", "not a replay");
    struct Case {
        const char* file;
        const char* box;
        bool reported; // the box's text is also in the run report
    };
    const Case cases[] = {
        {"data\\stg4\\Nothing.stg4", "「data\\stg4\\Nothing.stg4」の読み込みに失敗しました！",
         true},
        {"data\\damaged.rpl4_511", "data\\damaged.rpl4_511 の読み込みに失敗しました！", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        boxes.clear();
        g_TitleMenuFrames = 0;
        g_SceneFactories[SCENE_TITLE] = MakeWatchedTitle;
        const auto run = test::RunGame(
            {c.file}, [] { EXPECT_TRUE(test::WaitFor([] { return g_TitleMenuFrames > 2; })); });
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        EXPECT_EQ(g_PlayFrames, 0);
        if (c.reported) {
            EXPECT_TRUE(reported(c.box)) << "the report is written in UTF-8";
        }
    }
}

TEST_F(Run, AStageFileNamedWholeOrAReplayOnTheCommandLinePlaysAtOnce)
{
    std::filesystem::copy_file(game.dir / "data/stg4/Stage1.stg4_001",
                               game.dir / "data/stg4/Mine.stg4");
    ASSERT_NO_FATAL_FAILURE(WriteReplay("data\\walk.rpl4_511"));
    struct Case {
        const char* file;
        std::int32_t mode;
        std::int32_t kind;
    };
    const Case cases[] = {
        {"data\\stg4\\Mine.stg4", PLAYMODE_FREE, PLAYKIND_FREE},
        {"data\\walk.rpl4_511", PLAYMODE_REPLAY, PLAYKIND_REPLAY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        boxes.clear();
        g_PlayFrames = 0;
        int playMode = -1, playKind = -1;
        std::string stage;
        const auto run = test::RunGame({c.file}, [&] {
            ASSERT_TRUE(test::WaitFor([] { return g_PlayFrames > 2; }));
            playMode = g_SceneMgr.g_PlayMode;
            playKind = g_SceneMgr.m_PlayKind;
            stage = g_Stage.strFileName;
        });
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(playMode, c.mode);
        EXPECT_EQ(playKind, c.kind);
        EXPECT_EQ(stage, c.file);
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(Run, SystemIniChoosesTheBackEndTheWindowAndTheFrameRateText)
{
    game.dir.write("System.ini", "Direct3D=0\nWindowMode=1\nShowFps=1\nExit\n");
    bool surfaceBackEnd = false;
    int windowed = -1, showFps = -1;
    const auto run = test::RunGame({}, [&] {
        surfaceBackEnd = g_D3DState == nullptr && lpDD != nullptr;
        windowed = g_DDWindowed;
        showFps = g_ShowFps;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(surfaceBackEnd);
    EXPECT_EQ(windowed, 1);
    EXPECT_EQ(showFps, 1);
    // The surface back end counts what is left at its release: nothing.
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "解放漏れがあります"), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Run, AFailedSystemIniReadIsSaidAndTheDefaultsApply)
{
    game.dir.write("System.ini", "Direct3D=0\n");
    plat::setDialogResponder([](plat::DialogPlayer& p) { p.click(IDC_BOOT_START); });
    const auto run = test::RunGame({});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"System.ini の読み込みに失敗しました！"});
}

TEST_F(Run, TheStartUpDialogDecidesTheBackEndAndQuittingItEndsTheProgram)
{
    game.dir.write("System.ini", "Direct3D=2\nWindowMode=1\nExit\n");
    int asked = 0;
    plat::setDialogResponder([&](plat::DialogPlayer& p) {
        ++asked;
        p.click(IDC_BOOT_DDRAW);
        p.click(IDC_BOOT_START);
    });
    bool surfaceBackEnd = false;
    EXPECT_EQ(test::RunGame({}, [&] { surfaceBackEnd = g_D3DState == nullptr; }).status, 0);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(surfaceBackEnd);

    plat::setDialogResponder([&](plat::DialogPlayer& p) {
        ++asked;
        p.click(IDC_BOOT_QUIT);
    });
    g_BootData = cBootData();
    const auto quit = test::RunGame({});
    EXPECT_EQ(quit.status, 0) << "the player's own choice";
    EXPECT_FALSE(quit.ran);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Run, AnInvalidScreenModeIsSaidAndTheStartFailsWithANonZeroStatus)
{
    game.dir.write("System.ini", "Direct3D=1\nWindowMode=1\nBpp=24\nExit\n");
    const auto run = test::RunGame({});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.ran);
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！"});
    EXPECT_TRUE(reported("start-up failed: screen mode"));
}

TEST_F(Run, TheBundledGameStartsAtEveryDepthInAWindowAndFullScreen)
{
    // The desktop is 32 bits deep here; the renderer shows any depth, and 8
    // bits are the surface back end's palette mode.
    struct Case {
        int direct3d, windowMode, bpp;
        bool surfaceBackEnd;
    };
    const Case cases[] = {
        {1, 1, 16, false}, {0, 1, 16, true},  {0, 1, 8, true},
        {0, 0, 8, true},   {1, 0, 16, false}, {0, 0, 16, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Direct3D=" << c.direct3d
                                        << " WindowMode=" << c.windowMode << " Bpp=" << c.bpp);
        game.dir.write("System.ini", "Direct3D=" + std::to_string(c.direct3d) +
                                         "\nWindowMode=" + std::to_string(c.windowMode) +
                                         "\nBpp=" + std::to_string(c.bpp) + "\nExit\n");
        int bpp = -1, windowed = -1;
        bool surfaceBackEnd = false;
        const auto run = test::RunGame({}, [&] {
            bpp = g_DDBpp;
            windowed = g_DDWindowed;
            surfaceBackEnd = g_D3DState == nullptr;
        });
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.ran);
        EXPECT_EQ(bpp, c.bpp);
        EXPECT_EQ(windowed, c.windowMode);
        EXPECT_EQ(surfaceBackEnd, c.surfaceBackEnd);
        EXPECT_TRUE(boxes.empty()) << boxes.front();
        boxes.clear();
    }
}

TEST_F(Run, ACleanStartOfTheBundledGameReportsNoError)
{
    // The game's own play scene, which loads every picture of the table.
    g_SceneFactories[SCENE_GAME_PLAY] = game.GamesOwnPlay();
    bool played = false;
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
        played = test::WaitFor([] { return g_GamePlay && g_GamePlay->m_Phase >= 1; });
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(played);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    for (const std::string& line : report()) {
        EXPECT_EQ(line.find("Err"), std::string::npos) << line;
        EXPECT_EQ(line.find("失敗"), std::string::npos) << line;
    }
}

std::atomic<bool> g_Unstick{false};

// A loader stuck in a computation that never waits.
unsigned StuckLoader(void*)
{
    volatile unsigned spin = 0;
    while (!g_Unstick)
        spin = spin + 1;
    return 0;
}

TEST_F(Run, AThreadThatDoesNotEndIsNamedAndTheProgramEndsWithoutWaitingForIt)
{
    g_Unstick = false;
    bool spinningAtTheEnd = false;
    const auto run = test::RunGame(
        {}, [] { ASSERT_EQ(thLoad.Start(StuckLoader, nullptr), 1); }, false,
        [&] {
            // The process would end here; in this test the loader is let go.
            spinningAtTheEnd = !g_Unstick;
            g_Unstick = true;
        });
    EXPECT_EQ(run.status, kExitThreadStuck);
    EXPECT_TRUE(spinningAtTheEnd) << "the program did not wait for the loader";
    EXPECT_EQ(run.endedWhy, "thLoad did not end");
    EXPECT_TRUE(reported("thLoad did not end when the window closed"));
    EXPECT_TRUE(reported("the program ends without its shutdown"));
    EXPECT_EQ(thLoad.m_hThread.load(), nullptr);
    EXPECT_EQ(thGame.m_hThread.load(), nullptr);
}

// Stands in for a game-play scene that asks the main window for things
// every frame: a sound, the name dialog, and now and then a box.
class BusyScene : public cScene {
public:
    void Run() override
    {
        ++g_PlayFrames;
        SendSeRequest(1);
        SendRequest(UM_NAMEDLG, 0, 0, &g_NameDlgDone);
        if (g_PlayFrames % 5 == 0) ErrBox("box");
    }
};

TEST_F(Run, ClosingAtAnyMomentEndsTheProgramWithinASecond)
{
    // Half the dialogs and boxes are closed by the player's close of the
    // window while they are up.
    std::atomic<int> shown{0};
    plat::setDialogResponder([&](plat::DialogPlayer& p) {
        if (++shown % 2) plat::requestWindowClose();
        p.close();
    });
    plat::setMessageBoxResponder([&](const plat::BoxRequest&) {
        if (++shown % 2) plat::requestWindowClose();
        return IDOK;
    });
    std::mt19937 random(17);
    std::uniform_int_distribution<int> delayMs(0, 150);
    const std::vector<std::string> stage = {"data\\stg4\\Stage1.stg4"};
    enum Moment { StartUp, Play, Title, Requests };
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        const auto moment = static_cast<Moment>(round % 4);
        // The play is the game's own scene; the requests come from a stand-in.
        g_SceneFactories[SCENE_GAME_PLAY] =
            moment == Requests ? [] { return std::unique_ptr<cScene>(new BusyScene); }
                               : game.GamesOwnPlay();
        const int delay = delayMs(random);
        const double loadBefore = test::MachineLoad();
        const auto run = test::RunGame(
            moment == Title ? std::vector<std::string>{} : stage,
            [delay] { std::this_thread::sleep_for(std::chrono::milliseconds(delay)); },
            moment == StartUp);
        ASSERT_EQ(run.status, 0) << game.dir.read("Report_Game.txt");
        const double load = std::max({1.0, loadBefore, test::MachineLoad()});
        ASSERT_LT(run.closeToEndMs, kCloseBoundMs * load) << "the machine's load: " << load;
    }
}

} // namespace

namespace {

// Paints a picture that changes every frame, under the frame-rate text.
class PaintingScene : public cScene {
public:
    void Run() override
    {
        const int frame = ++g_PlayFrames;
        DDClearPal(&BackBuffer, 16);
        DDBoxFillPal(&BackBuffer, 40 + frame % 100, 60, 200, 150, 40 + frame % 5);
        DDBoxFillPal(&BackBuffer, 300, 200, 120, 90, 90);
    }
};

TEST_F(Run, TheWindowShowsExactlyTheFrameTheRendererProducedUnderX)
{
    test::XDisplay x;
    if (!x.present()) GTEST_SKIP() << "no X display (the test script runs the tests under Xvfb)";
    ASSERT_TRUE(x.held()) << "another test kept the X display";
    game.dir.write("System.ini", "Direct3D=1\nWindowMode=1\nVSync=0\nShowFps=1\nExit\n");
    g_SceneFactories[SCENE_GAME_PLAY] = [] { return std::unique_ptr<cScene>(new PaintingScene); };
    std::mutex lock;
    std::vector<std::uint32_t> produced;
    bool frozen = false; // no frame goes to the window any more
    std::vector<std::uint32_t> shown;
    int width = 0, height = 0;
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
        DDSetFrameSink([&](const std::uint32_t* xrgb, int w, int h) {
            std::lock_guard guard(lock);
            if (frozen) return;
            produced.assign(xrgb, xrgb + static_cast<std::size_t>(w) * h);
            plat::presentToGameWindow(xrgb, w, h);
        });
        const int start = g_PlayFrames;
        ASSERT_TRUE(test::WaitFor([&] { return g_PlayFrames > start + 20; }));
        // The last frame handed to the window is the one it must show,
        // however slowly the game goes on.
        {
            std::lock_guard guard(lock);
            frozen = true;
        }
        plat::runOnMainThread([&] {
            plat::Presenter* presenter = plat::gameWindowPresenter();
            ASSERT_NE(presenter, nullptr);
            presenter->service();
            ASSERT_TRUE(presenter->readPixels(shown, width, height));
        });
    });
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(width, 640);
    ASSERT_EQ(height, 480);
    std::lock_guard guard(lock);
    ASSERT_EQ(produced.size(), shown.size());
    int differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i)
        differing += (produced[i] & 0xFFFFFF) != (shown[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    // The picture is the stage's, not an empty window.
    EXPECT_NE(std::count(shown.begin(), shown.end(), shown[0]), static_cast<long>(shown.size()));
}

} // namespace
