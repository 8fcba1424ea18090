#pragma once
// The state summary of a replay: the world's state hash after every 60th
// frame of the log and after its last frame, made while the log is
// recorded. Played back on the same build, the replay must reach the same
// states at the same frames; a difference shows that the game did not
// unfold as it was recorded.
//
// The summary is kept in a file of its own beside the replay (the replay's
// name with the extension "sync"), so replay files keep their layout and
// replays without a summary (other programs', older ones) still play, only
// unchecked. The file is text:
//   replay-sync 1
//   seed <the log's seed>
//   frames <frames of the log>
//   <frame> <hash as 16 hex digits>      one line per checkpoint
// The checkpoints are frames 60, 120, ... and the last frame, in order.
// Whatever else a file holds, it is damaged and not used.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cReplaySync {
public:
    // Frames between two checkpoints.
    static constexpr std::int64_t kInterval = 60;

    // Forgets every state: a summary of no frames.
    void Clear();
    // Notes the state after the next frame of the log.
    void NoteFrame(std::uint64_t hash);

    // The frames summed up.
    std::int64_t Frames() const { return m_Frames; }
    // The state expected after frame n (counted from 1) when that frame is a
    // checkpoint; nothing otherwise.
    std::optional<std::uint64_t> Expected(std::int64_t frame) const;

    // The file's text for a log of that seed.
    std::string ToText(std::int32_t seed) const;
    // Reads a file's text; nothing when it is damaged. The seed it names
    // goes to seed.
    static std::optional<cReplaySync> FromText(std::string_view text, std::int32_t& seed);

    bool operator==(const cReplaySync&) const = default;

private:
    std::int64_t m_Frames = 0;
    std::vector<std::uint64_t> m_Every; // after frames 60, 120, ...
    std::uint64_t m_Last = 0;           // after the last frame
};

// The summary file of a replay file (a game path): its extension replaced
// by "sync", or "sync" added when it has none.
std::string ReplaySyncPath(std::string_view replayPath);
