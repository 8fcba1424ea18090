#pragma once
// The recorded input of a whole session of the program: what the player
// gave at each poll of the input (the direction bits and code, the button
// bits and the keys the game reads besides them), the clock values read at
// stage starts (they seed the stages) and the names typed for rankings.
// Played back in order, the same build plays the same session again.
//
// The file is text, one record a line:
//   input-session 1
//   polls <count> clocks <count> names <count> check <16 hex digits>
//   p <repeat> <dir bits> <dir code> <button bits> <key bits>   (a run of equal polls)
//   c <milliseconds>
//   n <the name's bytes as hex digits, "-" for an empty name>
//   end
// The runs come first, then the clock values, then the names. The check is
// a hash of the records between the second line and "end"; a file that
// differs from this in any way is damaged and said so.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys read outside the input record, as bits of a poll.
inline constexpr std::uint16_t kSessionKeySpace = 1; // pauses a stage
inline constexpr std::uint16_t kSessionKeyF3 = 2;    // registers a ranking on the results

struct SessionPoll {
    std::uint16_t m_Dir = 0;
    std::uint16_t m_DirCode = 5;
    std::uint16_t m_Buttons = 0;
    std::uint16_t m_Keys = 0;
    bool operator==(const SessionPoll&) const = default;
};

class cInputSessionLog {
public:
    std::vector<SessionPoll> m_Polls;
    std::vector<std::uint32_t> m_Clocks;
    std::vector<std::string> m_Names;

    std::string ToText() const;
    // Reads a file's text; nothing when it is damaged, with the reason (and
    // the line) in `error`.
    static std::optional<cInputSessionLog> FromText(std::string_view text, std::string& error);
};
