#include "scenes/input_session.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/input_session_log.h"
#include "platform/input.h"
#include "world/input_state.h"

namespace {

constexpr int kVkSpace = 0x20;
constexpr int kVkF3 = 0x72;

enum class Mode { Off, Recording, Playing };

struct Session {
    Mode mode = Mode::Off;
    std::string path;
    cInputSessionLog log;
    std::size_t polls = 0; // entries taken in playback
    std::size_t clocks = 0;
    std::size_t names = 0;
    std::uint16_t keys = 0; // the keys of the last poll
};

Session g_Session;

std::uint16_t KeyBit(int vk)
{
    if (vk == kVkSpace) return kSessionKeySpace;
    if (vk == kVkF3) return kSessionKeyF3;
    return 0;
}

// The file the recording is written to before it replaces the target.
std::filesystem::path PartFile(const std::string& path)
{
    std::filesystem::path part(path);
    part += ".part";
    return part;
}

} // namespace

bool StartSessionRecording(const std::string& path, std::string& error)
{
    g_Session = Session();
    // Found out now rather than after a whole session: the file can be made.
    const std::filesystem::path part = PartFile(path);
    if (!std::ofstream(part, std::ios::binary | std::ios::trunc)) {
        error = path + ": cannot be written";
        return false;
    }
    std::error_code ec;
    std::filesystem::remove(part, ec);
    g_Session.mode = Mode::Recording;
    g_Session.path = path;
    return true;
}

bool StartSessionPlayback(const std::string& path, std::string& error)
{
    g_Session = Session();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string why;
    auto log = cInputSessionLog::FromText(text, why);
    if (!log) {
        error = path + ": " + why;
        return false;
    }
    g_Session.mode = Mode::Playing;
    g_Session.path = path;
    g_Session.log = std::move(*log);
    return true;
}

bool EndInputSession(std::string& error)
{
    Session session = std::move(g_Session);
    g_Session = Session();
    if (session.mode != Mode::Recording) return true;
    // Written beside the file and renamed over it: never half a file.
    const std::filesystem::path target(session.path);
    const std::filesystem::path temporary = PartFile(session.path);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << session.log.ToText();
        file.flush();
        if (!file) {
            error = session.path + ": the recorded session cannot be written";
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        error = session.path + ": the recorded session cannot be written (" + ec.message() + ")";
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

bool SessionPlaying()
{
    return g_Session.mode == Mode::Playing;
}

bool TakeSessionInput(InputState& state)
{
    if (g_Session.mode != Mode::Playing) return false;
    SessionPoll poll;
    if (g_Session.polls < g_Session.log.m_Polls.size())
        poll = g_Session.log.m_Polls[g_Session.polls++];
    state.m_DirBits = poll.m_Dir;
    state.m_DirCode = poll.m_DirCode;
    state.m_ButtonBits = poll.m_Buttons;
    g_Session.keys = poll.m_Keys;
    return true;
}

void NoteSessionInput(const InputState& state)
{
    if (g_Session.mode != Mode::Recording) return;
    std::uint16_t keys = 0;
    for (const int vk : {kVkSpace, kVkF3})
        if (plat::keyDown(vk)) keys |= KeyBit(vk);
    g_Session.keys = keys;
    g_Session.log.m_Polls.push_back(SessionPoll{
        state.m_DirBits, static_cast<std::uint16_t>(state.m_DirCode), state.m_ButtonBits, keys});
}

int SessionKeyDown(int vk, int live)
{
    if (g_Session.mode == Mode::Off) return live;
    const std::uint16_t bit = KeyBit(vk);
    if (bit != 0) return (g_Session.keys & bit) ? 1 : 0;
    return g_Session.mode == Mode::Recording ? live : 0;
}

std::uint32_t SessionClock(std::uint32_t live)
{
    switch (g_Session.mode) {
    case Mode::Recording:
        g_Session.log.m_Clocks.push_back(live);
        return live;
    case Mode::Playing:
        return g_Session.clocks < g_Session.log.m_Clocks.size()
                   ? g_Session.log.m_Clocks[g_Session.clocks++]
                   : 0;
    default:
        return live;
    }
}

void SessionRankingName(std::string& name, const std::function<void(std::string&)>& ask)
{
    if (g_Session.mode == Mode::Playing) {
        if (g_Session.names < g_Session.log.m_Names.size())
            name = g_Session.log.m_Names[g_Session.names++];
        return;
    }
    if (ask) ask(name);
    if (g_Session.mode == Mode::Recording) g_Session.log.m_Names.push_back(name);
}

std::int64_t SessionPollsTaken()
{
    return static_cast<std::int64_t>(g_Session.polls);
}

std::int64_t SessionPollCount()
{
    return static_cast<std::int64_t>(g_Session.log.m_Polls.size());
}
