// Records the demos of the bundled game that the demo-sync check plays:
// the whole program runs (over SDL's dummy video driver, at its own pace),
// a player program looks at each frame and presses the keys, the game
// records its input as it always does, and F1 or F2 saves the replay
// through the save dialog, which writes the replay and its state summary.
// Each demo is then played back without a window and must reach every
// recorded state before it is copied into the demo folder.
//
//   record_demos <generated game folder> <demo folder> [demo...]
// (the demos named, or all).

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/request.h"
#include "data/ed_save_data.h"
#include "platform/file_dialog.h"
#include "platform/game_window.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "scenes/game_play.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_table.h"
#include "scenes/title_scene.h"
#include "shell/app_state.h"
#include "shell/entry.h"
#include "support/demo_bot.h"
#include "support/headless_game.h"
#include "world/input_state.h"

namespace {

namespace fs = std::filesystem;

// How a demo is played and which attempt it keeps.
struct Demo {
    const char* name;  // of the files in the demo folder
    const char* stage; // played directly, as given on the command line
    // Chosen instead with the title menu's free play (a chain is then
    // played on), and the part of the chain whose attempt is kept.
    bool fromTitle;
    int chainPart;
    bool loseFirst; // the first attempt walks on until it is lost
    bool keepLost;  // F2 keeps that lost attempt
    int pauseAt;    // an attempt pauses once at this frame of play (0 never)
    // A cleared attempt is kept with F1 at its clear, any other with F1 at
    // this many frames of play; one lost after a third of them is kept
    // with F2 once the next has begun.
    int frames;
};

// What each demo shows: walking, jumps, shots and foes, coins, the pits and
// spikes that end an attempt, a retry, a pause, a save in the middle of
// play, clears, the second stage of a chain, each stage of the game.
// The one from the title comes first: a stage once given on the command
// line stays the program's direct start for the rest of the process.
const Demo kDemos[] = {
    {"challenge1-chain-cleared", "data\\stg4\\c01-1.stg4_001", true, 2, false, false, 0, 3000},
    {"stage1-lost", "data\\stg4\\Stage1.stg4", false, 1, true, true, 0, 0},
    {"stage1-retry", "data\\stg4\\Stage1.stg4", false, 1, true, false, 0, 900},
    {"stage2-paused-cleared", "data\\stg4\\Stage2.stg4", false, 1, false, false, 240, 3000},
    {"stage3-lost", "data\\stg4\\Stage3.stg4", false, 1, true, true, 0, 0},
    {"stage3-saved-in-play", "data\\stg4\\Stage3.stg4", false, 1, false, false, 0, 250},
    {"challenge1-cleared", "data\\stg4\\c01-1.stg4", false, 1, false, false, 0, 3000},
    {"challenge2-cleared", "data\\stg4\\c02-1.stg4", false, 1, false, false, 0, 3000},
};

// The keys the player presses: SDL scancodes and the game's key codes.
struct Key {
    int scancode;
    int vk;
};
constexpr Key kRight{SDL_SCANCODE_RIGHT, plat::VK_RIGHT};
constexpr Key kLeft{SDL_SCANCODE_LEFT, plat::VK_LEFT};
constexpr Key kDown{SDL_SCANCODE_DOWN, plat::VK_DOWN};
constexpr Key kJump{SDL_SCANCODE_Z, 'Z'};
constexpr Key kShoot{SDL_SCANCODE_X, 'X'};
constexpr Key kPause{SDL_SCANCODE_SPACE, plat::VK_SPACE};
constexpr Key kSaveCurrent{SDL_SCANCODE_F1, plat::VK_F1};
constexpr Key kSavePrevious{SDL_SCANCODE_F2, plat::VK_F2};

// Frames a held save key may take to reach the game (the start display
// comes first after a lost attempt).
constexpr int kSaveWaitFrames = 600;

// The player at the keyboard: the demo's plan and the bot's choices. Game
// thread only, but for `saved`.
struct Player {
    const Demo* demo = nullptr;
    test::DemoBot bot;
    int firstSetUps = -1;
    int attempt = 0;
    int attemptFrames = 0; // frames of play of the attempt
    int pausedFrames = 0;  // frames in the pause menu; -1 once it has closed
    int titleFrames = 0;
    int clearFrames = 0;
    bool cleared = false; // the attempt was cleared
    bool saving = false;
    int savingFrames = 0;
    std::atomic<bool> saved{false};
    std::atomic<bool> failed{false}; // the game never took the save key

    // Presses or releases a key unless the game sees it so already (the
    // window's focus changes release every key).
    // Whether the attempt played now is on the part of the chain kept.
    bool KeptPart() const { return g_Progress.nChainNo >= demo->chainPart; }

    static void Hold(Key key, bool down)
    {
        if (plat::keyDown(key.vk) != down) plat::pushKeyEvent(key.scancode, down);
    }
    static void Keys(InputFrame keys)
    {
        Hold(kRight, keys.m_Dir & kDirRight);
        Hold(kLeft, keys.m_Dir & kDirLeft);
        Hold(kDown, keys.m_Dir & kDirDown);
        Hold(kJump, keys.m_Buttons & 1);
        Hold(kShoot, keys.m_Buttons & 2);
    }
    void SaveWith(Key key)
    {
        Keys({});
        g_RequestDone = 0;
        saving = true;
        Hold(key, true);
    }

    // Before each frame of the title menu: down to free play, then confirm
    // (a key every eighth frame, released in between).
    void LookAtTitle(const cTitleScene& title)
    {
        ++titleFrames;
        if (!demo->fromTitle || title.m_Phase != cTitleScene::PHASE_MENU || titleFrames % 8 != 0) {
            Keys({});
            return;
        }
        const auto& ids = title.m_VisibleIds;
        const int row = g_MenuCursor.top->row;
        const bool onFree = row >= 0 && row < static_cast<int>(ids.size()) &&
                            ids[static_cast<std::size_t>(row)] == TITLE_FREE;
        Keys(onFree ? InputFrame{0, 1} : InputFrame{kDirDown, 0});
    }

    // Before each frame of the game-play scene.
    void Look(cGamePlay& play)
    {
        if (saved || failed) return;
        if (saving) {
            // The save has been served (the request waits for it) once done.
            if (g_RequestDone) saved = true;
            if (++savingFrames > kSaveWaitFrames) failed = true;
            Hold(kSaveCurrent, !saved && plat::keyDown(kSaveCurrent.vk));
            Hold(kSavePrevious, !saved && plat::keyDown(kSavePrevious.vk));
            return;
        }
        if (play.m_SetStageCount == 0) return; // not set up yet
        if (firstSetUps < 0) firstSetUps = play.m_SetStageCount;
        if (play.m_SetStageCount - firstSetUps != attempt) {
            // A new attempt: the last one was lost, unless it was cleared
            // (the chain goes on).
            const int lostFrames = cleared ? 0 : attemptFrames;
            const bool deliberate = demo->loseFirst && attempt == 0;
            attempt = play.m_SetStageCount - firstSetUps;
            attemptFrames = 0;
            cleared = false;
            if ((deliberate && demo->keepLost) ||
                (!deliberate && KeptPart() && lostFrames >= demo->frames / 3)) {
                SaveWith(kSavePrevious);
                return;
            }
        }
        bot.m_Reckless = demo->loseFirst && attempt == 0;
        if (play.m_Phase == PHASE_PAUSE) {
            // A while in the pause menu, then "つづける".
            Hold(kPause, false);
            ++pausedFrames;
            Keys({0, static_cast<std::uint16_t>(pausedFrames > 100 && pausedFrames % 2)});
            return;
        }
        if (pausedFrames > 0) pausedFrames = -1;
        if (play.m_Phase == PHASE_CLEAR) {
            cleared = true;
            if (KeptPart()) {
                SaveWith(kSaveCurrent);
            } else {
                // On to the next stage of the chain.
                Keys({0, static_cast<std::uint16_t>(++clearFrames % 2)});
            }
            return;
        }
        if (play.m_Phase != PHASE_PLAY) {
            Keys({});
            return;
        }
        ++attemptFrames;
        if (!bot.m_Reckless && KeptPart() && attemptFrames >= demo->frames) {
            SaveWith(kSaveCurrent);
            return;
        }
        Hold(kPause, pausedFrames == 0 && demo->pauseAt != 0 && attemptFrames >= demo->pauseAt);
        Keys(bot.Decide(play));
    }
};

Player* g_Player = nullptr;

// The game's own play scene and title menu, watched by the player.
class WatchedPlay : public cGamePlay {
public:
    void Run() override
    {
        g_Player->Look(*this);
        cGamePlay::Run();
    }
};

class WatchedTitle : public cTitleScene {
public:
    void Run() override
    {
        g_Player->LookAtTitle(*this);
        cTitleScene::Run();
    }
};

std::unique_ptr<cScene> MakeWatchedPlay()
{
    return std::make_unique<WatchedPlay>();
}

std::unique_ptr<cScene> MakeWatchedTitle()
{
    return std::make_unique<WatchedTitle>();
}

// What the generator writes, with the data made from default\ as the
// first start makes it.
void CopyGame(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to);
    for (const char* entry : {"default", "bmp", "wave", "bgm", "System.ini"})
        fs::copy(from / entry, to / entry, fs::copy_options::recursive);
    fs::copy(to / "default", to / "data", fs::copy_options::recursive);
}

// Runs the program on the demo's stage until the player has saved, then
// closes it as the player does. True when the replay was saved.
bool Record(const Demo& demo, const std::string& replay)
{
    Player player;
    player.demo = &demo;
    g_Player = &player;
    g_SceneFactories[SCENE_GAME_PLAY] = MakeWatchedPlay;
    g_SceneFactories[SCENE_TITLE] = MakeWatchedTitle;
    // The replay is saved under its name; free play opens the demo's stage.
    plat::setFileDialogResponder([&replay, &demo](const plat::FileDialogDesc& d) {
        return std::optional<std::string>(d.save ? replay : std::string(demo.stage));
    });
    std::atomic<bool> returned{false};
    std::thread closer([&] {
        while (!returned && !player.saved && !player.failed)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        while (!returned) {
            plat::requestWindowClose();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    std::string stage = demo.stage;
    char program[] = "quenholt";
    char* argv[] = {program, stage.data()};
    const int status = GameMain(demo.fromTitle ? 1 : 2, argv);
    returned = true;
    closer.join();
    plat::setFileDialogResponder(nullptr);
    g_Player = nullptr;
    return status == 0 && player.saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <generated game folder> <demo folder> [demo...]\n",
                     argv[0]);
        return 2;
    }
    const std::vector<std::string> only(argv + 3, argv + argc);
    const fs::path game = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const fs::path work = fs::temp_directory_path() / ("record-demos-" + std::to_string(getpid()));
    const auto ownFactories = g_SceneFactories;
    // The one-copy lock of each run lives in the work folder.
    fs::create_directories(work);
    setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
    plat::setMessageBoxResponder([](const plat::BoxRequest& box) {
        std::fprintf(stderr, "box: %s\n", box.textUtf8().c_str());
        return IDYES;
    });
    int failed = 0;
    for (const Demo& demo : kDemos) {
        if (!only.empty() && std::find(only.begin(), only.end(), demo.name) == only.end()) continue;
        const fs::path folder = work / demo.name;
        CopyGame(game, folder);
        fs::current_path(folder);
        const std::string replay = std::string("user_data\\rpl4\\") + demo.name + ".rpl4_511";
        std::printf("%s: recording %s\n", demo.name, demo.stage);
        std::fflush(stdout);
        const bool recorded = Record(demo, replay);
        g_SceneFactories = ownFactories;
        const fs::path saved = folder / "user_data" / "rpl4";
        const fs::path file = saved / (std::string(demo.name) + ".rpl4_511");
        const fs::path sync = saved / (std::string(demo.name) + ".sync");
        if (!recorded || !fs::exists(file) || !fs::exists(sync)) {
            std::fprintf(stderr, "%s: no replay was saved\n", demo.name);
            ++failed;
            continue;
        }
        const test::ReplayPlayback back = test::PlayBackReplay(replay);
        if (back.completed != 1 || back.outOfSyncAt != 0 || back.matched != back.checkpoints) {
            std::fprintf(stderr, "%s: the replay did not play back in sync (frame %lld)\n",
                         demo.name, static_cast<long long>(back.outOfSyncAt));
            ++failed;
            continue;
        }
        fs::create_directories(out);
        fs::copy_file(file, out / file.filename(), fs::copy_options::overwrite_existing);
        fs::copy_file(sync, out / sync.filename(), fs::copy_options::overwrite_existing);
        std::printf("%s: %lld frames, %lld checkpoints in sync\n", demo.name,
                    static_cast<long long>(back.frames), static_cast<long long>(back.matched));
    }
    fs::current_path(out);
    fs::remove_all(work);
    return failed == 0 ? 0 : 1;
}
