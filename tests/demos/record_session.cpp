// Records the play-through of the bundled game that the play-through test
// plays back: the whole program runs (over SDL's dummy video driver, at
// its own pace) with RT_RECORD_INPUT set, so the game records the session's
// input as it would for an author, while a player program looks at each
// frame and presses the keys: from the title a new story, every stage of
// the world map (played by the demo player, each clear registered in the
// rankings under a typed name), a save into the first story slot after the
// first stage and a continue from it at the title, the story saved again at
// the map's end, then both challenges; then it closes the window. The
// session must play back headless to the same end before it is copied into
// the demo folder.
//
//   record_session <generated game folder> <demo folder>

#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_world_map.h"
#include "platform/dialog.h"
#include "platform/game_window.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "scenes/challenge_scene.h"
#include "scenes/game_play.h"
#include "scenes/menu_cursor.h"
#include "scenes/play_pause.h"
#include "scenes/save_menu_scene.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_rules.h"
#include "scenes/world_map_scene.h"
#include "shell/entry.h"
#include "shell/name_dialog.h"
#include "support/demo_bot.h"
#include "support/session_playback.h"
#include "world/input_state.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSessionName = "playthrough.session";
// The name typed for every ranking.
constexpr const char* kRankName = "QHT";
// Frames between two presses of a menu key (released in between).
constexpr int kPressEvery = 8;
// The clear display may be left from this count on.
constexpr int kClearShown = 200;
// A play-through longer than this has gone wrong.
constexpr int kFrameLimit = 200000;

struct Key {
    int scancode;
    int vk;
};
constexpr Key kRight{SDL_SCANCODE_RIGHT, plat::VK_RIGHT};
constexpr Key kLeft{SDL_SCANCODE_LEFT, plat::VK_LEFT};
constexpr Key kUp{SDL_SCANCODE_UP, plat::VK_UP};
constexpr Key kDown{SDL_SCANCODE_DOWN, plat::VK_DOWN};
constexpr Key kButton1{SDL_SCANCODE_Z, 'Z'};
constexpr Key kButton2{SDL_SCANCODE_X, 'X'};
constexpr Key kF3{SDL_SCANCODE_F3, plat::VK_F3};

// Presses or releases a key unless the game sees it so already.
void Hold(Key key, bool down)
{
    if (plat::keyDown(key.vk) != down) plat::pushKeyEvent(key.scancode, down);
}

void Keys(InputFrame keys)
{
    Hold(kRight, keys.m_Dir & kDirRight);
    Hold(kLeft, keys.m_Dir & kDirLeft);
    Hold(kUp, keys.m_Dir & kDirUp);
    Hold(kDown, keys.m_Dir & kDirDown);
    Hold(kButton1, keys.m_Buttons & 1);
    Hold(kButton2, keys.m_Buttons & 2);
}

// The stage entry of the world map on a tile, or null.
const cEdWorldEventItem* EntryAt(int column, int row)
{
    for (const cEdWorldEvent& event : g_WorldMap.m_Events)
        if (event.m_X == column && event.m_Y == row) return SelectItem(&event);
    return nullptr;
}

// The uncleared stage entry with the lowest flag, or null when all are.
const cEdWorldEvent* NextEntry()
{
    const cEdWorldEvent* next = nullptr;
    for (const cEdWorldEvent& event : g_WorldMap.m_Events) {
        const cEdWorldEventItem* item = SelectItem(&event);
        if (!item || item->m_Kind != kWorldItemStage || IsCleared(*item)) continue;
        if (!next || item->m_ClearFlag < SelectItem(next)->m_ClearFlag) next = &event;
    }
    return next;
}

// The first step of the shortest walk to the event (a direction bit), 0
// when there is none; other uncleared entries are not walked over.
std::uint16_t StepTowards(int column, int row, const cEdWorldEvent& goal)
{
    const int w = g_WorldMap.m_Width;
    const int h = g_WorldMap.m_Height;
    std::vector<std::uint16_t> first(static_cast<std::size_t>(w * h), 0);
    std::vector<bool> seen(static_cast<std::size_t>(w * h), false);
    std::deque<std::pair<int, int>> open{{column, row}};
    seen[static_cast<std::size_t>(row * w + column)] = true;
    struct Move {
        int dx, dy;
        std::uint16_t dir;
    };
    const Move moves[] = {{1, 0, kDirRight}, {-1, 0, kDirLeft}, {0, -1, kDirUp}, {0, 1, kDirDown}};
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        const std::uint16_t from = first[static_cast<std::size_t>(y * w + x)];
        if (x == goal.m_X && y == goal.m_Y) return from;
        for (const Move& m : moves) {
            const int nx = x + m.dx;
            const int ny = y + m.dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            const auto at = static_cast<std::size_t>(ny * w + nx);
            const cEdWorldEventItem* item = EntryAt(nx, ny);
            const bool goalTile = nx == goal.m_X && ny == goal.m_Y;
            if (seen[at] || IsTileBlocked(nx, ny, item)) continue;
            if (item && item->m_Kind == kWorldItemStage && !IsPassable(*item) && !goalTile)
                continue;
            seen[at] = true;
            first[at] = from ? from : m.dir;
            open.emplace_back(nx, ny);
        }
    }
    return 0;
}

bool ChallengeCleared(int index)
{
    return index < static_cast<int>(g_Progress.vChallenge.size()) &&
           g_Progress.vChallenge[static_cast<std::size_t>(index)].bCleared != 0;
}

// The player at the keyboard and its plan. Whichever thread holds the
// frame loop calls it, one at a time.
struct Player {
    test::DemoBot bot;
    int frames = 0; // frames looked at
    int saves = 0;  // story saves made
    bool savePending = false;
    bool continued = false; // the story was continued from its slot
    bool storyDone = false; // every stage of the map cleared
    std::atomic<bool> done{false};
    std::atomic<bool> failed{false};
    const char* lastScene = nullptr;
    std::vector<int> scenes; // the scenes played, in order
    int lastPhase = -2;

    bool PressFrame() const { return frames % kPressEvery == 0; }

    // Towards the row wanted with the directions, then button 1 on it; a
    // key every few frames, released in between.
    void Choose(int row, int wanted)
    {
        if (!PressFrame()) {
            Keys({});
        } else if (row < wanted) {
            Keys({kDirDown, 0});
        } else if (row > wanted) {
            Keys({kDirUp, 0});
        } else {
            Keys({0, 1});
        }
    }
    void Press(std::uint16_t buttons) { Keys({0, PressFrame() ? buttons : std::uint16_t(0)}); }

    static int RowOf(const std::vector<std::int32_t>& ids, int id)
    {
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (ids[i] == id) return static_cast<int>(i);
        return 0;
    }

    // Says where the play has come when the scene or its phase changes.
    void Tick(const char* scene, int phase)
    {
        if (scenes.empty() || scenes.back() != g_SceneMgr.g_CurScene)
            scenes.push_back(g_SceneMgr.g_CurScene);
        if (scene != lastScene || phase != lastPhase)
            std::printf("%7d %s phase %d\n", frames, scene, phase);
        std::fflush(stdout);
        lastScene = scene;
        lastPhase = phase;
        if (++frames > kFrameLimit) failed = true;
        Hold(kF3, false);
    }

    void LookAtTitle(const cTitleScene& title)
    {
        Tick("title", title.m_Phase);
        const int row = g_MenuCursor.top->row;
        if (title.m_Phase == cTitleScene::PHASE_SLOTS) {
            Choose(row, 0);
            if (row == 0 && PressFrame()) continued = true;
            return;
        }
        if (title.m_Phase != cTitleScene::PHASE_MENU) {
            Keys({});
            return;
        }
        if (ChallengeCleared(1)) {
            done = true;
            Keys({});
            return;
        }
        const int wanted = saves == 0   ? TITLE_NEW_GAME
                           : !continued ? TITLE_CONTINUE
                                        : TITLE_CHALLENGE;
        Choose(row, RowOf(title.m_VisibleIds, wanted));
    }

    void LookAtMap(const cWorldMapScene& map)
    {
        Tick("map", map.m_Phase);
        if (map.m_Phase == cWorldMapScene::PHASE_QUESTION) {
            Choose(g_MenuCursor.top->row, 0);
            return;
        }
        if (map.m_Phase != cWorldMapScene::PHASE_MAP) {
            Keys({});
            return;
        }
        const cEdWorldEvent* next = NextEntry();
        storyDone = next == nullptr;
        // The story is saved after its first stage and at its end.
        const bool firstCleared = next && SelectItem(next)->m_ClearFlag > 1;
        if ((saves == 0 && firstCleared) || (storyDone && saves == 1)) {
            Press(2);
            return;
        }
        if (!next) {
            failed = true;
            return;
        }
        const MenuCursorState& at = *g_MenuCursor.top;
        const std::uint16_t step = StepTowards(at.column, at.row, *next);
        if (step == 0) failed = true;
        Keys({PressFrame() ? step : std::uint16_t(0), 0});
    }

    void LookAtSaveMenu(const cSaveMenuScene& menu)
    {
        Tick("save menu", menu.m_Phase);
        const bool toSave = saves == 0 || (storyDone && saves == 1);
        const int row = g_MenuCursor.top->row;
        switch (menu.m_Phase) {
        case cSaveMenuScene::PHASE_MENU:
            Choose(row, RowOf(menu.m_VisibleIds, toSave ? SAVEMENU_SAVE : SAVEMENU_TO_TITLE));
            return;
        case cSaveMenuScene::PHASE_SLOTS:
            if (menu.m_SubState == 2) {
                // "Save" is the first answer.
                Choose(row, 0);
                if (row == 0 && PressFrame()) savePending = true;
            } else if (menu.m_SubState == 1) {
                if (savePending) {
                    savePending = false;
                    ++saves;
                }
                if (toSave) {
                    Choose(row, 0);
                } else {
                    Press(2);
                }
            } else {
                Keys({});
            }
            return;
        case cSaveMenuScene::PHASE_TO_TITLE:
            Choose(row, 0);
            return;
        case cSaveMenuScene::PHASE_AUTO_SAVE:
            Press(2);
            return;
        default:
            Keys({});
        }
    }

    void LookAtChallenges(const cChallengeScene& list)
    {
        Tick("challenges", list.m_Phase);
        if (list.m_Phase != cChallengeScene::PHASE_LIST) {
            Keys({});
            return;
        }
        if (ChallengeCleared(0) && ChallengeCleared(1)) {
            Press(2);
            return;
        }
        Choose(g_MenuCursor.top->row, ChallengeCleared(0) ? 1 : 0);
    }

    void LookAtPlay(cGamePlay& play)
    {
        Tick("play", play.m_Phase);
        switch (play.m_Phase) {
        case PHASE_PLAY:
            Keys(bot.Decide(play));
            return;
        case PHASE_CLEAR:
            if (play.m_ShowCounter < kClearShown) {
                Keys({});
            } else if (play.m_RankEligible && !play.m_Registered) {
                // F3 registers the clear in the rankings; the name is typed.
                Keys({});
                Hold(kF3, true);
            } else {
                Press(1);
            }
            return;
        case PHASE_CONTINUE:
            Press(1); // retry
            return;
        default:
            Keys(bot.Decide(play));
        }
    }

    // A frame of the pause or the ranking thread: button 1 ends a wait
    // for it and leaves the rankings.
    void LookAtWait()
    {
        Tick("wait", 0);
        Press(1);
    }
};

Player* g_Player = nullptr;

class WatchedTitle : public cTitleScene {
public:
    void Run() override
    {
        g_Player->LookAtTitle(*this);
        cTitleScene::Run();
    }
};

class WatchedMap : public cWorldMapScene {
public:
    void Run() override
    {
        g_Player->LookAtMap(*this);
        cWorldMapScene::Run();
    }
};

class WatchedSaveMenu : public cSaveMenuScene {
public:
    void Run() override
    {
        g_Player->LookAtSaveMenu(*this);
        cSaveMenuScene::Run();
    }
};

class WatchedChallenges : public cChallengeScene {
public:
    void Run() override
    {
        g_Player->LookAtChallenges(*this);
        cChallengeScene::Run();
    }
};

class WatchedPlay : public cGamePlay {
public:
    void Run() override
    {
        g_Player->LookAtPlay(*this);
        cGamePlay::Run();
    }
};

// The pause and ranking threads' frames, watched too.
class WatchedHost : public cFrameHost {
public:
    void PollInput(std::vector<InputState>& input) override
    {
        g_Player->LookAtWait();
        cFrameHost::PollInput(input);
    }
};

template <class Scene> std::unique_ptr<cScene> Make()
{
    return std::make_unique<Scene>();
}

void CopyGame(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to);
    for (const char* entry : {"default", "bmp", "wave", "bgm", "System.ini"})
        fs::copy(from / entry, to / entry, fs::copy_options::recursive);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <generated game folder> <demo folder>\n", argv[0]);
        return 2;
    }
    const fs::path game = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const fs::path work =
        fs::temp_directory_path() / ("record-session-" + std::to_string(getpid()));
    const fs::path folder = work / "game";
    const fs::path session = work / kSessionName;
    CopyGame(game, folder);
    fs::current_path(folder);
    setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
    setenv("RT_RECORD_INPUT", session.c_str(), 1);

    // The first start makes the data folder from the default one.
    plat::setMessageBoxResponder([](const plat::BoxRequest& box) {
        std::fprintf(stderr, "box: %s\n", box.textUtf8().c_str());
        return IDYES;
    });
    plat::setDialogResponder([](plat::DialogPlayer& p) {
        p.type(IDC_NAME_EDIT, kRankName);
        p.click(IDC_NAME_OK);
    });
    Player player;
    g_Player = &player;
    const auto ownFactories = g_SceneFactories;
    g_SceneFactories[SCENE_TITLE] = Make<WatchedTitle>;
    g_SceneFactories[SCENE_WORLD_MAP] = Make<WatchedMap>;
    g_SceneFactories[SCENE_SAVE_MENU] = Make<WatchedSaveMenu>;
    g_SceneFactories[SCENE_CHALLENGE] = Make<WatchedChallenges>;
    g_SceneFactories[SCENE_GAME_PLAY] = Make<WatchedPlay>;
    WatchedHost host;
    SetFrameHost(&host);

    std::atomic<bool> returned{false};
    std::thread closer([&] {
        while (!returned && !player.done && !player.failed)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        while (!returned) {
            plat::requestWindowClose();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    char program[] = "quenholt";
    char* args[] = {program};
    const int status = GameMain(1, args);
    returned = true;
    closer.join();
    SetFrameHost(nullptr);
    g_Player = nullptr;
    std::printf("recorded %d frames, %d saves, status %d\n", player.frames, player.saves, status);
    int failed = 0;
    if (status != 0 || player.failed || !player.done || !fs::exists(session)) {
        std::fprintf(stderr, "the play-through was not recorded to its end\n");
        failed = 1;
    } else {
        // Played back from a fresh copy of the game, it must end the same.
        const fs::path again = work / "again";
        CopyGame(game, again);
        fs::copy(again / "default", again / "data", fs::copy_options::recursive);
        fs::current_path(again);
        g_SceneFactories = ownFactories;
        const test::SessionPlayback back = test::PlayBackSession(session.string());
        std::vector<int> scenes;
        for (const test::SceneVisit& visit : back.scenes)
            scenes.push_back(visit.scene);
        if (!back.error.empty() || !back.reachedEnd || scenes != player.scenes) {
            std::fprintf(stderr, "the session did not play back the same: %s\n",
                         back.error.c_str());
            failed = 1;
        } else {
            fs::create_directories(out);
            fs::copy_file(session, out / kSessionName, fs::copy_options::overwrite_existing);
            std::printf("%s: %lld polls\n", kSessionName, static_cast<long long>(back.polls));
        }
    }
    fs::current_path(out.parent_path());
    fs::remove_all(work);
    return failed;
}
