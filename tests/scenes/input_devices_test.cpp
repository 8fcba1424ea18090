// The keyboard and the joysticks read into the input record: the built-in
// mapping lets the joystick's direction and buttons win, the configured one
// reads each entry; a joystick that fails is tried again later, each on its
// own count, and at once when a controller is plugged in.
#include "platform/input.h"
#include "scenes/input_devices.h"
#include "scenes/key_config.h"
#include "world/input_state.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

class Devices : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::releaseAllKeys();
        plat::setJoystickSource([this](unsigned index, plat::JoyReading& out) {
            ++reads[index];
            auto it = sticks.find(index);
            if (it == sticks.end()) return false;
            out = it->second;
            return true;
        });
        ResetJoystickRetries();
        DefaultKeyConfig(g_KeyConfig);
        InitJoyButtonMasks(state);
    }
    void TearDown() override
    {
        plat::setJoystickSource(nullptr);
        plat::releaseAllKeys();
        g_KeyConfig = KEYCONFIG{};
        ResetJoystickRetries();
    }

    void hold(std::initializer_list<int> keys)
    {
        plat::releaseAllKeys();
        for (int vk : keys)
            plat::setKeyDown(vk, true);
    }

    InputState state;
    std::map<unsigned, plat::JoyReading> sticks;
    std::map<unsigned, int> reads;
};

TEST_F(Devices, TheBuiltInMappingReadsTheArrowsAndLettersUnlessTheJoystickGivesItsOwn)
{
    struct Case {
        std::vector<int> keys;
        bool stick;
        plat::JoyReading reading;
        std::uint16_t dirBits, buttons;
        int code;
    };
    const Case cases[] = {
        {{plat::VK_LEFT, plat::VK_RIGHT}, false, {}, 3, 0, 5}, // both cancel in the code
        {{plat::VK_UP, plat::VK_LEFT}, false, {}, 5, 0, 1},
        {{'Z', 'F'}, false, {}, 0, 0x81, 5},
        // The joystick's direction wins; the keyboard's buttons still count.
        {{plat::VK_RIGHT, 'X'}, true, {0, 32768, 0}, 1, 2, 4},
        // The joystick's buttons hide the keyboard's only while one is held.
        {{'Z'}, true, {32768, 65535, 4}, 8, 4, 8},
        {{'Z'}, true, {32768, 32768, 0}, 0, 1, 5},
        // The axis ends: 10000 and 55535 count, the next values do not.
        {{}, true, {10000, 55535, 0}, 9, 0, 7},
        {{}, true, {10001, 55534, 0}, 0, 0, 5},
    };
    for (const auto& c : cases) {
        sticks.clear();
        if (c.stick) sticks[0] = c.reading;
        ResetJoystickRetries();
        hold({});
        for (int vk : c.keys)
            plat::setKeyDown(vk, true);
        EXPECT_EQ(PollJoyKey(state, 0, kPollJoystick | kPollKeyboard, 60), 1);
        EXPECT_EQ(state.m_DirBits, c.dirBits) << c.keys.size();
        EXPECT_EQ(state.m_ButtonBits, c.buttons);
        EXPECT_EQ(state.m_DirCode, c.code);
    }
}

TEST_F(Devices, EachPollDoesNothingWhileTheOtherMappingIsInForce)
{
    hold({plat::VK_LEFT});
    g_KeyConfig.bUse = 1;
    EXPECT_EQ(PollJoyKey(state, 0, 3, 60), 0);
    EXPECT_EQ(state.m_DirBits, 0);
    g_KeyConfig.bUse = 0;
    EXPECT_EQ(PollKeyConfig(state, 1, 60), 0);
    EXPECT_EQ(state.m_DirBits, 0);
}

TEST_F(Devices, TheConfiguredMappingReadsEachEntryAndLeftWinsOverRight)
{
    g_KeyConfig.bUse = 1;
    g_KeyConfig.nJoysticks = 2;
    g_KeyConfig.entries[2] = KEYCONFIGENTRY{1, kJoyAxisUp, 0}; // up: joystick 1's axis
    g_KeyConfig.entries[4] = KEYCONFIGENTRY{1, 0x0003, 0};     // button 1: its buttons 1 or 2
    g_KeyConfig.entries[5] = KEYCONFIGENTRY{0, 0x0010, 0};     // button 2: joystick 0's button 5
    g_KeyConfig.entries[6] = KEYCONFIGENTRY{5, 0x0001, 0};     // button 3: a joystick not read
    struct Case {
        std::vector<int> keys;
        plat::JoyReading joy0, joy1;
        std::uint16_t dirBits, buttons;
        int code;
    };
    const Case cases[] = {
        {{plat::VK_LEFT, plat::VK_RIGHT}, {}, {}, 1, 0, 4},
        {{plat::VK_RIGHT, plat::VK_DOWN}, {}, {}, 10, 0, 9},
        {{plat::VK_DOWN}, {}, {32768, 0, 0}, 4, 0, 2}, // up wins over down
        {{}, {32768, 32768, 0x10}, {32768, 32768, 2}, 0, 3, 5},
        {{}, {32768, 32768, 1}, {}, 0, 0, 5},
    };
    for (const auto& c : cases) {
        sticks = {{0, c.joy0}, {1, c.joy1}};
        hold({});
        for (int vk : c.keys)
            plat::setKeyDown(vk, true);
        EXPECT_EQ(PollKeyConfig(state, 1, 60), 1);
        EXPECT_EQ(state.m_DirBits, c.dirBits);
        EXPECT_EQ(state.m_ButtonBits, c.buttons);
        EXPECT_EQ(state.m_DirCode, c.code);
    }
}

TEST_F(Devices, CountsFromTheFileAreTakenAsTheNearestThatFit)
{
    g_KeyConfig.bUse = 1;
    struct Case {
        std::int32_t entries, joysticks;
        std::uint16_t buttons;
        int readsOfJoystick0;
    };
    // 'F' (button 8) held; joystick 0 would give nothing.
    const Case cases[] = {
        {1000, 1000, 0x80, 1},
        {-5, -5, 0, 0},
        {11, 1, 0, 1},
    };
    for (const auto& c : cases) {
        g_KeyConfig.nEntries = c.entries;
        g_KeyConfig.nJoysticks = c.joysticks;
        reads.clear();
        ResetJoystickRetries();
        hold({'F'});
        EXPECT_EQ(PollKeyConfig(state, 1, 60), 1);
        EXPECT_EQ(state.m_ButtonBits, c.buttons) << c.entries;
        EXPECT_EQ(reads[0], c.readsOfJoystick0);
        EXPECT_LE(reads.size(), static_cast<std::size_t>(kMaxJoysticks));
    }
}

TEST_F(Devices, AFailingJoystickIsTriedAgainOnItsOwnCountAndAtOnceAfterAPlugIn)
{
    g_KeyConfig.bUse = 1;
    g_KeyConfig.nJoysticks = 2;
    sticks = {{0, {}}}; // joystick 1 is missing
    for (int frame = 0; frame < 122; ++frame)
        PollKeyConfig(state, 1, 60);
    EXPECT_EQ(reads[0], 122) << "a joystick that reads is read every frame";
    EXPECT_EQ(reads[1], 2) << "the missing one: the first frame, then after 120 frames";

    // Plugging a controller in makes the missing one be read at once.
    reads.clear();
    sticks[1] = plat::JoyReading{};
    plat::setJoystickSource([this](unsigned index, plat::JoyReading& out) {
        ++reads[index];
        auto it = sticks.find(index);
        if (it == sticks.end()) return false;
        out = it->second;
        return true;
    });
    PollKeyConfig(state, 1, 60);
    EXPECT_EQ(reads[1], 1);
}

TEST_F(Devices, TheBuiltInMappingRetriesItsJoystickAndTheKeyboardWorksMeanwhile)
{
    hold({plat::VK_UP});
    for (int frame = 0; frame < 121; ++frame) {
        PollJoyKey(state, 0, 3, 60);
        EXPECT_EQ(state.m_DirBits, kDirUp);
    }
    EXPECT_EQ(reads[0], 1);
    EXPECT_EQ(state.m_JoyOk, 0);
    PollJoyKey(state, 0, 3, 60);
    EXPECT_EQ(reads[0], 2);
}

TEST_F(Devices, OnlyTheFourAxisCodesArePressedAxes)
{
    const plat::JoyReading pushed{0, 65535, 0xFFFFFFFF};
    EXPECT_EQ(JoyAxisPressed(pushed, kJoyAxisLeft), 1);
    EXPECT_EQ(JoyAxisPressed(pushed, kJoyAxisRight), 0);
    EXPECT_EQ(JoyAxisPressed(pushed, kJoyAxisUp), 0);
    EXPECT_EQ(JoyAxisPressed(pushed, kJoyAxisDown), 1);
    EXPECT_EQ(JoyAxisPressed(pushed, 768), 0);
    EXPECT_EQ(JoyAxisPressed(pushed, 0), 0);
}

} // namespace
