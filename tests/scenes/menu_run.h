#pragma once
// The generated default game from its title menu, stepped frame by frame on
// the test's thread the way the frame step switches and runs the scenes,
// with the player's input taken from the test. The requests the scenes send
// go to a window on this thread: a stand-in that records the sounds and
// the music and answers the stage, replay and name requests as the test
// says, or the game's own main window (realMainWindow), which serves them
// with its file dialogs and name dialog (answered by their test hooks).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/main_window_handle.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/story_slots.h"
#include "media/ds_sound.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "scenes/game_display.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_mgr.h"
#include "scenes/shown_frame.h"
#include "shell/main_window.h"
#include "tools/default_game_fixture.h"
#include "world/input_script.h"
#include "world/input_state.h"
#include "world/world_services.h"

namespace test {

class MenuRun : public DefaultGame {
protected:
    // The display the game runs on; a test may choose another before SetUp.
    gfxtest::Mode mode{"Texture32", 1, 32, 1};
    // The game's main window serves the requests instead of the stand-in.
    bool realMainWindow = false;

    void SetUp() override
    {
        DefaultGame::SetUp();
        LoadAuthorsData();
        CreateGameFolders();
        ResetMenuGlobals();
        ASSERT_NO_FATAL_FAILURE(SetUpGameDisplay(mode));
        boxes.clear(); // the question of the first start
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = plat::createWindow(
            [this](plat::WindowId w, std::uint32_t msg, std::uintptr_t wParam,
                   std::intptr_t lParam) { return Serve(w, msg, wParam, lParam); });
        plat::setFileDialogResponder(
            [this](const plat::FileDialogDesc& d) -> std::optional<std::string> {
                fileDialogs.push_back(d.titleSjis);
                return chooseFile;
            });
    }
    void TearDown() override
    {
        DestroyScenes();
        TearDownGameDisplay();
        plat::setFileDialogResponder(nullptr);
        plat::setDialogResponder(nullptr);
        ResetMenuGlobals();
        DefaultGame::TearDown();
    }

    // What a new run starts with: the title menu current, no scene made,
    // the player's options and progress new, every story slot unused.
    void ResetMenuGlobals()
    {
        DestroyScenes();
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_FrameRate = 60;
        g_SceneMgr.m_FadeStep = 10;
        g_Progress = cSaveData();
        g_ProgressAtStart = cSaveData();
        g_ProgressAtStart2 = cSaveData();
        g_ReplayLog.Clear();
        g_ReplayLog2.Clear();
        g_Option = cEdOption();
        g_StorySlots = InitStorySlots(kStorySlots);
        g_InputState.assign(1, InputState());
        SetAutoRepeat(g_InputState[0], 18, 6);
        // Unloaded sounds: the requests reach them and play nothing.
        g_Sounds.assign(16 + g_Database.Sound.size(), DSSOUNDDATA{});
        ResetMenuCursor();
    }

    // One frame as the frame step runs it, with this input held.
    void Frame(std::uint16_t dir = 0, std::uint16_t buttons = 0)
    {
        cInputScript().Hold(dir, buttons, 1).Apply(0, g_InputState[0]);
        SwitchScene(g_SceneMgr.g_CurScene);
        if (cScene* scene = g_SceneMgr.Scene(g_SceneMgr.g_CurScene)) scene->Run();
        ++frames;
    }
    // A press: one frame held, one released.
    void Press(std::uint16_t dir, std::uint16_t buttons = 0)
    {
        Frame(dir, buttons);
        Frame();
    }
    void Confirm() { Press(0, 1); }
    void Cancel() { Press(0, 2); }
    // Idle frames until the scene is current and in that phase; false
    // after `limit` frames.
    bool RunUntil(std::int32_t scene, std::int32_t phase, int limit = 200)
    {
        for (int i = 0; i < limit; ++i) {
            if (InPhase(scene, phase)) return true;
            Frame();
        }
        return InPhase(scene, phase);
    }
    static bool InPhase(std::int32_t scene, std::int32_t phase)
    {
        const cScene* current = g_SceneMgr.Scene(g_SceneMgr.g_CurScene);
        return g_SceneMgr.g_CurScene == scene && current && current->m_Phase == phase;
    }
    // The row of a menu item among the rows shown.
    static int RowOf(const std::vector<std::int32_t>& rows, std::int32_t item)
    {
        const auto at = std::find(rows.begin(), rows.end(), item);
        EXPECT_NE(at, rows.end()) << "item " << item << " is not shown";
        return static_cast<int>(at - rows.begin());
    }
    template <class Scene> static Scene* Current()
    {
        return dynamic_cast<Scene*>(g_SceneMgr.Scene(g_SceneMgr.g_CurScene));
    }

    // The stand-in's or the main window's answer.
    std::intptr_t Serve(plat::WindowId w, std::uint32_t msg, std::uintptr_t wParam,
                        std::intptr_t lParam)
    {
        if (msg == UM_SE) sounds.push_back(static_cast<int>(wParam));
        if (msg == UM_BGM) music.push_back(static_cast<int>(wParam));
        if (realMainWindow) return MainWndProc(w, msg, wParam, lParam);
        switch (msg) {
        case UM_OPENSTAGE:
        case UM_OPENREPLAY:
            requests.push_back(msg);
            g_RequestResult = openResult;
            g_RequestDone = 1;
            break;
        case UM_NAMEDLG:
            requests.push_back(msg);
            if (nameDialog) nameDialog();
            g_NameDlgDone = 1;
            break;
        default:
            break;
        }
        return 0;
    }

    // The close requests and other messages posted to this thread, taken out.
    int TakeCloses()
    {
        int closes = 0;
        plat::Message m;
        while (plat::peekMessage(m))
            if (m.msg == WM_CLOSE) ++closes;
        return closes;
    }

    std::vector<int> sounds;               // UM_SE slots
    std::vector<int> music;                // UM_BGM slots
    std::vector<std::uint32_t> requests;   // stage, replay and name requests (stand-in)
    int openResult = 0;                    // the stand-in's answer to the open requests
    std::function<void()> nameDialog;      // the stand-in's name dialog
    std::optional<std::string> chooseFile; // the file dialogs' answer
    std::vector<std::string> fileDialogs;  // their titles
    int frames = 0;

    cRecordingServices services;
    cScopedServices scopedServices{services};
};

} // namespace test
