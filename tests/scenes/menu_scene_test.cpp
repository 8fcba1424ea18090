// The frame the menu scenes share: each frame the menu input (directions
// auto-repeated, the scene's buttons once per press); Init asks for the
// scene's music, loads its bitmaps (a failure closes the game, which goes
// on), starts the cursor on the first item and builds the scene's own
// surfaces; the fade in leads to the scene's own phases, the fade out to
// the requested scene with the cursor reset (kept by the save menu).

#include "media/graphics_fixture.h"

#include <string>
#include <vector>

#include "core/main_window_handle.h"
#include "core/request_messages.h"
#include "data/ed_system.h"
#include "media/dd_fill.h"
#include "media/dd_palette.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_scene.h"
#include "scenes/scene_mgr.h"
#include "world/input_script.h"
#include "world/input_state.h"

using namespace gfxtest;

namespace {

// What the stand-in main window was asked: the music slots requested.
std::vector<int> g_MusicSlots;

// A menu scene of the test's own: one phase that records the input it
// sees and leaves for the options on button 1.
class TestMenuScene : public cMenuScene {
public:
    explicit TestMenuScene(MenuSceneSetup setup)
        : cMenuScene(std::move(setup), {static_cast<Phase>(&TestMenuScene::PhaseMenu)})
    {
    }
    void PhaseMenu()
    {
        const InputState& input = g_InputState[0];
        seen.push_back(input.m_ButtonBits);
        if (input.m_ButtonBits & 1) {
            g_SceneMgr.g_ReqScene = SCENE_OPTION;
            m_Phase = 2;
        }
    }

    std::vector<std::uint16_t> seen; // the buttons after the menu input
    int built = 0;
    int redrawn = 0;
    int drawn = 0;
    int left = 0;

protected:
    void BuildSurfaces() override
    {
        ++built;
        ASSERT_TRUE(DDCreateSurfaceVec(g_ScenePictures, g_ScenePictureDefs, 8, 8, 0, 1, 0, 0));
    }
    void RedrawSurface() override { ++redrawn; }
    void DrawScreen() override { ++drawn; }
    void OnLeave() override { ++left; }
};

class MenuSceneFrame : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(AllModes()[0], 64, 48));
        // Tests that leave a scene in the middle of its fade in leave the
        // graphics layer's fade angle there: each test fades from the start.
        g_DDFadeAngles = DDFADEANGLES{};
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_FadeStep = 10;
        g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
        g_InputState.assign(1, InputState());
        g_MusicSlots.clear();
        ResetMenuCursor();
        g_hMainWnd = plat::createWindow(
            [](plat::WindowId, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t) {
                if (msg == UM_BGM) g_MusicSlots.push_back(static_cast<int>(wParam));
                return std::intptr_t{0};
            });
    }
    void TearDown() override
    {
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = 0;
        TakePosted();
        plat::setMessageBoxResponder(nullptr);
        g_SceneMgr = cSceneMgr();
        ReleaseScenePictures();
        TearDownMode();
    }
    // Messages posted to this thread (the stand-in window's): WM_CLOSE counted.
    int TakePosted()
    {
        int closes = 0;
        plat::Message m;
        while (plat::peekMessage(m))
            if (m.msg == WM_CLOSE) ++closes;
        return closes;
    }
    void Frames(TestMenuScene& scene, const cInputScript& script, int count)
    {
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            scene.Run();
        }
    }
    static MenuSceneSetup Setup(std::uint16_t mask, bool resetOnLeave)
    {
        MenuSceneSetup setup;
        setup.sceneId = SCENE_SAVE_MENU;
        setup.musicSlot = 1;
        setup.buttonMask = mask;
        setup.resetCursorOnLeave = resetOnLeave;
        return setup;
    }
};

TEST_F(MenuSceneFrame, InitThenFadeInThenTheScenesPhasesThenFadeOutToTheRequestedScene)
{
    TestMenuScene scene(Setup(3, true));
    g_MenuCursor.top->row = 4;
    Frames(scene, cInputScript(), 1);
    EXPECT_EQ(g_MusicSlots, std::vector<int>{1});
    EXPECT_EQ(g_MenuCursor.top->row, 0) << "Init starts the cursor on the first item";
    EXPECT_EQ(scene.built, 1);
    EXPECT_EQ(g_ScenePictures.size(), 1u);
    EXPECT_EQ(scene.m_Phase, 0);
    Frames(scene, cInputScript(), 9);
    EXPECT_EQ(scene.m_Phase, 1) << "the fade ends on its 10th frame";
    EXPECT_EQ(scene.drawn, 10);
    Frames(scene, cInputScript().Hold(0, 0, 2).Hold(0, 1, 1), 3);
    ASSERT_EQ(scene.m_Phase, 2);
    g_MenuCursor.top->row = 3;
    Frames(scene, cInputScript(), 9);
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_SAVE_MENU);
    Frames(scene, cInputScript(), 1);
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_OPTION);
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_SAVE_MENU);
    EXPECT_EQ(scene.left, 1);
    EXPECT_EQ(g_MenuCursor.top->row, 0);
    EXPECT_EQ(scene.drawn, 10) << "only the world map draws while it fades out";
    EXPECT_EQ(g_MusicSlots.size(), 1u);
    EXPECT_EQ(TakePosted(), 0);
}

TEST_F(MenuSceneFrame, In8BitColourTheFadeInRedrawsTheScenesOwnSurface)
{
    for (const int mode : {0, 3}) {
        SCOPED_TRACE(AllModes()[mode].name);
        TearDownMode();
        ASSERT_TRUE(SetUpMode(AllModes()[mode], 64, 48));
        TestMenuScene scene(Setup(3, true));
        Frames(scene, cInputScript(), 10);
        EXPECT_EQ(scene.m_Phase, 1);
        EXPECT_EQ(scene.redrawn, AllModes()[mode].bpp == 8 ? 10 : 0);
    }
}

TEST_F(MenuSceneFrame, TheSaveMenuKeepsTheCursorWhenItLeaves)
{
    TestMenuScene scene(Setup(3, false));
    scene.m_Phase = 2;
    g_MenuCursor.top->row = 3;
    Frames(scene, cInputScript(), 10);
    EXPECT_EQ(g_MenuCursor.top->row, 3);
}

TEST_F(MenuSceneFrame, ButtonsOfTheMaskPassOncePerPressAndDirectionsRepeat)
{
    for (const std::uint16_t mask : {std::uint16_t{3}, std::uint16_t{15}}) {
        SCOPED_TRACE(mask);
        g_InputState.assign(1, InputState());
        SetAutoRepeat(g_InputState[0], 18, 6);
        TestMenuScene scene(Setup(mask, true));
        scene.m_Phase = 1;
        // Button 3 held for three frames, a free frame, button 2 for two.
        Frames(scene, cInputScript().Hold(0, 4, 3).Hold(0, 0, 1).Hold(0, 2, 2), 6);
        const std::uint16_t held3 = mask == 15 ? 0 : 4;
        EXPECT_EQ(scene.seen, (std::vector<std::uint16_t>{4, held3, held3, 0, 2, 0}));
        std::vector<std::uint16_t> dirs;
        for (int i = 0; i < 20; ++i) {
            cInputScript().Hold(kDirDown, 0, 1).Apply(0, g_InputState[0]);
            scene.Run();
            dirs.push_back(g_InputState[0].m_DirBits);
        }
        EXPECT_EQ(dirs.front(), kDirDown);
        EXPECT_EQ(std::count(dirs.begin(), dirs.end(), kDirDown), 2) << "then on the 19th frame";
    }
}

TEST_F(MenuSceneFrame, BitmapsThatDoNotLoadCloseTheGameWhichGoesOn)
{
    std::vector<std::string> boxes;
    plat::setMessageBoxResponder([&](const plat::BoxRequest& r) {
        boxes.push_back(r.textUtf8());
        return IDOK;
    });
    MenuSceneSetup setup = Setup(3, true);
    setup.bitmaps = {49};
    TestMenuScene scene(setup);
    Frames(scene, cInputScript(), 1);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(TakePosted(), 1);
    EXPECT_EQ(scene.built, 1) << "Init went on";
    EXPECT_EQ(scene.m_Phase, 0);
}

TEST_F(MenuSceneFrame, LeavingReleasesTheScenesOwnSurfaces)
{
    {
        TestMenuScene scene(Setup(3, true));
        Frames(scene, cInputScript(), 1);
        ASSERT_EQ(g_ScenePictures.size(), 1u);
        EXPECT_NE(g_ScenePictures[0].pixels(), nullptr);
    }
    EXPECT_TRUE(g_ScenePictures.empty());
    EXPECT_TRUE(g_ScenePictureDefs.empty());
}

} // namespace
