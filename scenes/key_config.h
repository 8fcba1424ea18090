#pragma once
// The key configuration: which keyboard key or joystick input makes each
// direction and button. user_data\KeyConfig.dat is the raw 108-byte record,
// little-endian, with no version and no framing; it is read at start-up and
// never written (the defaults apply when it is missing).

#include <cstdint>

struct KEYCONFIGENTRY {
    std::int32_t device = 0; // 8 the keyboard; 0, 1, ... a joystick number
    std::uint16_t code = 0; // keyboard: a virtual-key code; joystick: an axis code or a button mask
    std::uint16_t unused = 0;
};

inline constexpr int kKeyConfigEntries = 12; // left, right, up, down, buttons 1 to 8
inline constexpr std::int32_t kKeyboardDevice = 8;

// Joystick direction codes: an axis pushed to its end.
inline constexpr std::uint16_t kJoyAxisLeft = 256;  // x at most 10000
inline constexpr std::uint16_t kJoyAxisRight = 512; // x at least 55535
inline constexpr std::uint16_t kJoyAxisUp = 1024;   // y at most 10000
inline constexpr std::uint16_t kJoyAxisDown = 2048; // y at least 55535

struct KEYCONFIG {
    KEYCONFIGENTRY entries[kKeyConfigEntries];
    std::int32_t nEntries = 0;   // entries in use
    std::int32_t nJoysticks = 0; // joysticks to read
    std::int32_t bUse = 0;       // 0: the built-in mapping, else these entries
};
static_assert(sizeof(KEYCONFIG) == 108, "the file is the record as it stands");

// All zeros until start-up fills it.
extern KEYCONFIG g_KeyConfig;

// Reads up to 108 bytes of the file (a game path) over the record: a
// shorter file fills the record from its start and leaves the rest. 0, the
// record untouched, when the file cannot be opened.
int LoadKeyConfig(const char* path, KEYCONFIG& record);

// The arrows and Z, X, C, V, A, S, D, F on the keyboard; 12 entries, 1
// joystick, the built-in mapping.
void DefaultKeyConfig(KEYCONFIG& record);
