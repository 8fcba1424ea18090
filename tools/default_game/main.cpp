// Writes the bundled default game, a small complete game made only by this
// program, into a game folder:
//
//     default_game <game folder>
//
// The author's data goes to default\ (the runtime makes data\ from it on its
// first start), every record written by the runtime's own record code; beside
// it the pictures, sounds and music that the data and the runtime name, and
// System.ini.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/default_game/game_folder.h"
#include "tools/default_game/game_writer.h"

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fprintf(stderr, "usage: default_game <game folder>\n");
        return 2;
    }
    try {
        const fs::path game = fs::absolute(argv[1]);
        const fs::path staging = game.parent_path() / (game.filename().string() + ".new");
        fs::remove_all(staging);
        fs::create_directories(staging);
        const fs::path previous = fs::current_path();
        fs::current_path(staging);
        defgame::writeGame();
        fs::current_path(previous);
        defgame::installGame(staging, game);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "default_game: %s\n", e.what());
        return 1;
    }
    return 0;
}
