#pragma once
// A game played without a window and without pacing: the author's data of
// the game folder that is the current folder, read as the start-up reads
// it; the texture back end drawing 640 x 480 frames into memory; the scenes
// stepped frame by frame as the frame step steps them, with the input given
// by the caller. Sounds and music are not played, and a command's wait on
// the pause thread ends at once (the world does not move while it lasts).
//
// The play starts as the title menu starts it: a stage file in free play,
// or a replay file read as the main window reads it and then played back.

#include <cstdint>
#include <string>
#include <vector>

#include "world/input_script.h"
#include "world/world_services.h"

class cGamePlay;

namespace test {

// What the running stage asks of the program, answered without one.
class HeadlessServices : public cWorldServices {
public:
    void PlaySe(std::uint32_t) override {}
    void PlayMusic(std::int32_t number) override;
    void ErrorBox(const char* text) override;
    void RequestClose() override { ++m_CloseRequests; }
    std::uint32_t NowMs() override { return m_Clock; }
    int KeyDown(int vk) override;
    int CheckReplayKeys() override { return 0; }
    void RunPauseWait() override {}

    std::uint32_t m_Clock = 0;   // advances a millisecond a frame
    std::vector<int> m_KeysDown; // the virtual-key codes held now (Space pauses)
    int m_CloseRequests = 0;
    std::string m_ErrorBoxes; // every box's text, one a line
};

class HeadlessGame {
public:
    // Reads the game and sets the display up; Error() says what failed.
    HeadlessGame();
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Empty when the game is ready to play.
    const std::string& Error() const { return m_Error; }

    // A play of a stage file (its newest numbered file) of a play kind:
    // free play as the title's free-play item starts it, a story or
    // challenge stage with that kind's lives; false when it cannot be read.
    bool StartStage(const std::string& stageFile, int playKind);
    // Reads a replay file as the main window does when one is opened, and
    // plays it back as the title's replay item does; false when it cannot
    // be read.
    bool StartReplay(const std::string& replayPath);

    // One frame of the current scene with this input of player 1.
    void Frame(InputFrame input = {});
    // One frame whose input is polled as the frame step polls it (from the
    // devices, or from a session played back).
    void PolledFrame();
    // The game-play scene, or null while another scene is current.
    cGamePlay* Play() const;

    HeadlessServices m_Services;

private:
    bool SetUpDisplay();
    void StartPlay(int playMode, int playKind);

    std::string m_Error;
    cScopedServices m_Scoped{m_Services};
};

// What a replay's playback found: its checkpoints in the recorded state,
// the plays that reached its last frame so, and the first frame out of
// sync (0: none).
struct ReplayPlayback {
    bool read = false; // the replay file could be read
    std::int64_t frames = 0;
    std::int64_t checkpoints = 0; // of one play of the log
    std::int64_t matched = 0;
    std::int64_t completed = 0;
    std::int64_t outOfSyncAt = 0;
    int setUps = 0;        // the first start and each restart
    int closeRequests = 0; // the program would have closed
};

// Plays a replay file of the game in the current folder back without a
// window, until it has reached its last frame `runs` times, gone out of
// sync, or `limit` frames passed.
ReplayPlayback PlayBackReplay(const std::string& path, int runs = 1, int limit = 1 << 20);

} // namespace test
