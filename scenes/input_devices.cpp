#include "scenes/input_devices.h"

#include "scenes/key_config.h"
#include "world/input_state.h"

#include <algorithm>
#include <array>

namespace {

// The read state of one joystick: whether the last read succeeded and the
// frames to wait before the next try after a failure.
struct JoyRetry {
    std::int32_t ok = 0;
    std::int32_t countdown = 0;
};

std::array<JoyRetry, kMaxJoysticks> g_JoyRetry{};
std::uint32_t g_JoyChangesSeen = 0;

// Reads joystick j unless it is waiting after a failure; false when it
// gave no reading this frame.
bool ReadJoy(int j, int retry, plat::JoyReading& out)
{
    if (j < 0 || j >= kMaxJoysticks) return false;
    const std::uint32_t changes = plat::joystickChanges();
    if (changes != g_JoyChangesSeen) {
        g_JoyChangesSeen = changes;
        for (JoyRetry& r : g_JoyRetry)
            r.countdown = 0;
    }
    JoyRetry& r = g_JoyRetry[static_cast<std::size_t>(j)];
    if (r.ok == 0 && r.countdown > 0) {
        --r.countdown;
        return false;
    }
    if (plat::readJoystick(static_cast<unsigned>(j), out)) {
        r.ok = 1;
        return true;
    }
    r.ok = 0;
    r.countdown = 2 * retry;
    return false;
}

// The state's own pair mirrors joystick 0.
void MirrorJoy0(InputState& state)
{
    state.m_JoyOk = g_JoyRetry[0].ok;
    state.m_JoyRetry = g_JoyRetry[0].countdown;
}

bool Held(int vk)
{
    return plat::keyDown(vk);
}

} // namespace

int JoyAxisPressed(const plat::JoyReading& reading, std::uint16_t code)
{
    switch (code) {
    case kJoyAxisLeft:
        return reading.x <= 10000 ? 1 : 0;
    case kJoyAxisRight:
        return reading.x >= 55535 ? 1 : 0;
    case kJoyAxisUp:
        return reading.y <= 10000 ? 1 : 0;
    case kJoyAxisDown:
        return reading.y >= 55535 ? 1 : 0;
    default:
        return 0;
    }
}

int PollJoyKey(InputState& state, int joystick, int flags, int retry)
{
    if (g_KeyConfig.bUse != 0) return 0;
    bool joyDirection = false;
    bool joyButtons = false;
    plat::JoyReading reading;
    const bool read = ReadJoy(joystick, retry, reading);
    if (joystick == 0) MirrorJoy0(state);
    if (read && (flags & kPollJoystick)) {
        state.m_DirCode = 5;
        state.m_DirBits = 0;
        if (reading.x <= 10000) {
            state.m_DirBits |= kDirLeft;
            state.m_DirCode = 4;
        } else if (reading.x >= 55535) {
            state.m_DirBits |= kDirRight;
            state.m_DirCode = 6;
        }
        if (reading.y <= 10000) {
            state.m_DirBits |= kDirUp;
            state.m_DirCode -= 3;
        } else if (reading.y >= 55535) {
            state.m_DirBits |= kDirDown;
            state.m_DirCode += 3;
        }
        joyDirection = state.m_DirCode != 5;
        state.m_ButtonBits = 0;
        for (int k = 0; k < 8; ++k)
            if (reading.buttons & state.m_JoyButtonMask[k]) state.m_ButtonBits |= 1u << k;
        joyButtons = state.m_ButtonBits != 0;
    }
    if (!(flags & kPollKeyboard)) return 1;
    if (!joyDirection) {
        state.m_DirCode = 5;
        state.m_DirBits = 0;
        struct Arrow {
            int vk;
            std::uint16_t bit;
            int step;
        };
        constexpr Arrow kArrows[] = {{plat::VK_LEFT, kDirLeft, -1},
                                     {plat::VK_RIGHT, kDirRight, 1},
                                     {plat::VK_UP, kDirUp, -3},
                                     {plat::VK_DOWN, kDirDown, 3}};
        for (const Arrow& a : kArrows) {
            if (!Held(a.vk)) continue;
            state.m_DirBits |= a.bit;
            state.m_DirCode += a.step;
        }
    }
    if (!joyButtons) {
        constexpr int kButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
        state.m_ButtonBits = 0;
        for (int k = 0; k < 8; ++k)
            if (Held(kButtonKeys[k])) state.m_ButtonBits |= 1u << k;
    }
    return 1;
}

int PollKeyConfig(InputState& state, int sets, int retry)
{
    if (g_KeyConfig.bUse == 0) return 0;
    // The record comes from a file: its counts are taken as the nearest
    // values that the record and the joystick table can hold.
    const int joysticks = std::clamp(g_KeyConfig.nJoysticks, 0, kMaxJoysticks);
    const int entries = std::clamp(g_KeyConfig.nEntries, 0, kKeyConfigEntries);
    std::array<bool, kMaxJoysticks> read{};
    std::array<plat::JoyReading, kMaxJoysticks> readings{};
    for (int j = 0; j < joysticks; ++j)
        read[static_cast<std::size_t>(j)] =
            ReadJoy(j, retry, readings[static_cast<std::size_t>(j)]);
    MirrorJoy0(state);

    auto down = [&](int index, bool direction) {
        const KEYCONFIGENTRY& e = g_KeyConfig.entries[index];
        if (e.device == kKeyboardDevice) return Held(e.code);
        if (e.device < 0 || e.device >= joysticks) return false;
        const auto j = static_cast<std::size_t>(e.device);
        if (!read[j]) return false;
        if (direction && JoyAxisPressed(readings[j], e.code)) return true;
        return (readings[j].buttons & e.code) != 0;
    };

    for (int set = 0; set < std::min(sets, 1); ++set) {
        state.m_DirCode = 5;
        state.m_DirBits = 0;
        state.m_ButtonBits = 0;
        if (down(0, true)) {
            state.m_DirBits |= kDirLeft;
            state.m_DirCode -= 1;
        } else if (down(1, true)) {
            state.m_DirBits |= kDirRight;
            state.m_DirCode += 1;
        }
        if (down(2, true)) {
            state.m_DirBits |= kDirUp;
            state.m_DirCode -= 3;
        } else if (down(3, true)) {
            state.m_DirBits |= kDirDown;
            state.m_DirCode += 3;
        }
        for (int k = 0; 4 + k < entries; ++k)
            if (down(4 + k, false)) state.m_ButtonBits |= 1u << k;
    }
    return 1;
}

void ResetJoystickRetries()
{
    g_JoyRetry = {};
    g_JoyChangesSeen = plat::joystickChanges();
}
