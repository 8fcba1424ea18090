// One frame of a menu scene as the frame step runs it, without the pacing
// and the present: the scene's input filtering, its phase and its drawing
// into the back buffer. The scenes are those of the bundled default game,
// written by its generator into a temporary folder, each standing in its
// menu phase with nothing pressed; in each back end at 32 bits. Reported
// as the share of one core that 60 such frames a second take
// (core_at_60fps; a menu frame should stay below 0.01).
//
// A scene is added to the measure by a row of kScreens.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/font_faces.h"
#include "data/path_table.h"
#include "media/bitmap_table.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "scenes/menu_cursor.h"
#include "scenes/menu_scene.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "tools/default_game/game_writer.h"
#include "world/input_state.h"
#include "world/start_up_data.h"

namespace {

namespace fs = std::filesystem;

// A menu screen to measure: its scene and the progress it is opened with.
struct MenuScreen {
    const char* name;
    int scene;
    void (*prepare)();
};

// The world map in a story under way: the walker on the first stage's
// entry, cleared, with its title, best score, lives and ranking panel.
void WorldMapUnderWay()
{
    g_SceneMgr.m_PlayKind = PLAYKIND_STORY;
    g_SceneMgr.m_ResultsOn = 1;
    g_Progress.ResetStoryData();
    const cEdWorldEvent& entry = g_WorldMap.m_Events.at(0);
    g_Progress.nMapX = entry.m_X;
    g_Progress.nMapY = entry.m_Y;
    g_Progress.vStageFlags.at(static_cast<std::size_t>(entry.m_Items.at(0).m_ClearFlag)) = 1;
    g_Progress.UpdateBestScore("data\\stg4\\Stage1.", 1234);
    g_Progress.nLives = 3;
    g_Progress.bShowRanking = 1;
}

// The title menu of a new run.
void TitleOfANewRun()
{
    g_Progress = cSaveData();
}

const MenuScreen kScreens[] = {
    {"Title", SCENE_TITLE, TitleOfANewRun},
    {"WorldMap", SCENE_WORLD_MAP, WorldMapUnderWay},
};

struct BackEnd {
    const char* name;
    int d3d;
};

const BackEnd kBackEnds[] = {{"Texture", 1}, {"Surface", 0}};

// The bundled game written into a temporary folder, the current folder
// while the program runs; removed at its end.
class GameFolder {
public:
    GameFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "menu_frame_XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        path_ = pattern;
        fs::current_path(path_);
        defgame::writeGame();
        fs::copy(path_ / "default", path_ / "data", fs::copy_options::recursive);
        CreateGameFolders();
        ready_ = LoadDatabaseAtStartUp() && LoadSystemAtStartUp() && LoadWorldMapAtStartUp();
    }
    ~GameFolder()
    {
        if (path_.empty()) return;
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        fs::remove_all(path_, ignored);
    }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    bool ready() const { return ready_; }

private:
    fs::path previous_ = fs::current_path();
    fs::path path_;
    bool ready_ = false;
};

// The game is written once, with its author's data read as the start-up reads it.
bool PrepareGame()
{
    static const GameFolder game;
    return game.ready();
}

bool SetUpDisplay(int d3d)
{
    InitBitmapTable();
    if (!DDInit(d3d, 0, 640, 480, 32, 0, 1, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
                BITMAP_COUNT, 0))
        return false;
    if (!DDLoadPaletteFromFile(g_Palette.data(), g_BitmapTable[0].name.c_str())) return false;
    g_ScreenPalette = g_Palette;
    DDSetTransmitFromFile(g_BitmapTable[0].name.c_str());
    InitFontDef();
    InitDigitBmp();
    const int face = std::clamp(g_System.nFontFace, 0, kFontFaceCount - 1);
    for (FONTDEF& def : g_FontDef)
        def.setFace(g_FontFaceNames[face]);
    return CreateFonts(g_Fonts.data(), g_FontDef.data(), 4) &&
           CreateDigitStrips(g_DigitSD.data(), g_DigitBmp.data(), 4, g_Fonts.data(),
                             g_FontDef.data());
}

void TearDownDisplay()
{
    ReleaseGameFonts();
    for (DDSURFACEDATA& sd : g_BitmapSD)
        DDReleaseSurface(&sd);
    DDUninit();
    g_RestoreList.clear();
}

void BM_MenuFrame(benchmark::State& state, const MenuScreen& screen, const BackEnd& backEnd)
{
    if (!PrepareGame() || !SetUpDisplay(backEnd.d3d)) {
        state.SkipWithError("the game or the display could not be set up");
        return;
    }
    g_SceneMgr = cSceneMgr();
    g_SceneMgr.m_FadeStep = 10;
    g_SceneMgr.m_FrameRate = 60;
    g_InputState.assign(1, InputState());
    ResetMenuCursor();
    screen.prepare();
    g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene = screen.scene;
    SwitchScene(screen.scene);
    cScene* scene = g_SceneMgr.Scene(screen.scene);
    // Through the fade in to the scene's menu.
    for (int i = 0; scene && scene->m_Phase != 1 && i < 100; ++i)
        scene->Run();
    if (!scene || scene->m_Phase != 1) {
        state.SkipWithError("the scene did not reach its menu");
    } else {
        const auto start = std::chrono::steady_clock::now();
        std::int64_t frames = 0;
        for (auto _ : state) {
            scene->Run();
            ++frames;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (frames > 0) state.counters["core_at_60fps"] = seconds / frames * 60;
    }
    DestroyScenes();
    ReleaseScenePictures();
    g_SceneMgr = cSceneMgr();
    TearDownDisplay();
}

[[maybe_unused]] const bool g_Registered = [] {
    for (const MenuScreen& screen : kScreens)
        for (const BackEnd& backEnd : kBackEnds)
            benchmark::RegisterBenchmark(
                (std::string("BM_MenuFrame/") + screen.name + "/" + backEnd.name).c_str(),
                [&screen, &backEnd](benchmark::State& state) {
                    BM_MenuFrame(state, screen, backEnd);
                })
                ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace
