#pragma once
// A recorded session of the whole game (RT_RECORD_INPUT) played back
// headless and without pacing, as the program plays it back with
// RT_PLAY_INPUT: the game folder is the current one (its data made from
// default\ as the first start makes it), the play begins at the title menu,
// every frame polls its input from the session, and the pause and ranking
// threads hold the frame loop as they do in the program.

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// A scene the play came to, with the play mode and the story stages
// cleared in the progress then.
struct SceneVisit {
    int scene = 0;
    int playMode = 0;
    int storyCleared = 0;
};

struct SessionPlayback {
    std::string error;       // the session or the game could not be read
    bool reachedEnd = false; // every poll of the session was taken
    std::int64_t polls = 0;  // of the session
    std::int64_t frames = 0; // frames stepped by the game thread
    int closeRequests = 0;
    std::string errorBoxes;         // the text of every error box, one a line
    std::vector<SceneVisit> scenes; // in order, from the title
};

// Plays the session back until its input has run out (and a few frames
// more, for what its last keys began), or `limit` frames passed.
SessionPlayback PlayBackSession(const std::string& path, std::int64_t limit = 1 << 22);

} // namespace test
