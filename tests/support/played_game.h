#pragma once
// The generated game played from a temporary folder: the folder is the
// current one and the runtime folder while the object lives, the game's
// default data doubles as the data a stage on the command line names, and
// the game-play scene is the test's own until the object goes.

#include <array>
#include <filesystem>

#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "support/generated_game.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace test {

class PlayedGame {
public:
    explicit PlayedGame(SceneFactory play) : savedFactories_(g_SceneFactories)
    {
        namespace fs = std::filesystem;
        copyGeneratedGame(dir.path());
        fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
        g_SceneFactories[SCENE_GAME_PLAY] = play;
    }
    ~PlayedGame()
    {
        g_SceneFactories = savedFactories_;
        g_SceneMgr = cSceneMgr{};
    }
    PlayedGame(const PlayedGame&) = delete;
    PlayedGame& operator=(const PlayedGame&) = delete;

    // The game's own game-play scene, which the test's stands in for.
    SceneFactory GamesOwnPlay() const { return savedFactories_[SCENE_GAME_PLAY]; }

    TempDir dir;
    ScopedCurrentDir cwd{dir.path()};
    ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", dir.path().string()};

private:
    std::array<SceneFactory, kSceneCount> savedFactories_;
};

} // namespace test
