#pragma once
// Replays checked against the states they were recorded with. After the
// world's step of every frame of play, a frame being recorded notes the
// world's state hash in the log's summary; a frame being played back is
// compared with the summary at its checkpoints (every 60th frame and the
// last). A replay that leaves the recorded states, or starts over before
// its last frame, is said once in the run report with the frame where it
// was found; the playback goes on as the game now unfolds (the player
// sees the replay as this build plays it, never an interruption).

#include <cstdint>
#include <string>

class cReplayLog;
class cRunningStage;

class cReplayCheck {
public:
    // A frame recorded into the log has been stepped: its state is noted.
    static void Recorded(cReplayLog& log, const cRunningStage& stage);
    // A frame played back from the log has been stepped: its state is
    // compared when the frame is a checkpoint. replayPath names the replay
    // in the report.
    void Played(const cReplayLog& log, const cRunningStage& stage, const std::string& replayPath);

    // Checkpoints found in the recorded state.
    std::int64_t m_Matched = 0;
    // Plays that reached the log's last frame in the recorded state.
    std::int64_t m_Completed = 0;
    // The first frame found out of sync (0: none yet).
    std::int64_t m_OutOfSyncAt = 0;

private:
    void OutOfSync(const std::string& replayPath, std::int64_t frame, const char* what);

    std::int64_t m_LastPlayed = 0; // m_Played of the log after the last frame
    bool m_Reported = false;       // one line in the report per play of a replay
};
