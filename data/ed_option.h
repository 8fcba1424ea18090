#pragma once
// The player's options: the palette variant of the 8-bit display mode, music
// on or off, the sound-effect volume, how rankings are registered and the
// fixed name used for registering. Read at start-up from user_data\Option.dat
// into g_Option (a missing or damaged file leaves the defaults); written by
// the option scene when it closes.
//
// The record is saved by the record base as it stands. A file may hold
// values outside their ranges (a damaged or hand-edited file): loading takes
// the palette variant, the volume and the ranking mode to the nearest value
// of their ranges, as the option scene keeps them when the player changes
// them.

#include <cstdint>
#include <string>

#include "data/ed_data.h"

// The ranking registration modes (nRankMode).
enum RankMode : int {
    RANKMODE_MANUAL_ASK = 0,   // registered with F3 on the results; the name is asked
    RANKMODE_MANUAL_FIXED = 1, // registered with F3 under strRegName
    RANKMODE_AUTO_ASK = 2,     // registered automatically; the name is asked
    RANKMODE_AUTO_FIXED = 3,   // registered automatically under strRegName
};

class cEdOption : public cEdData {
public:
    std::int32_t nPalette = 0;  // palette variant of the 8-bit mode, 0 to 23
    std::int32_t bBgm = 1;      // music on (1) or off (0)
    std::int32_t nSeVolume = 7; // sound-effect volume step, 0 to 10
    std::int32_t nRankMode = 0; // RankMode
    std::string strRegName;     // the fixed registration name (up to 3 characters)

    // Cleared, then music on, volume step 7 and the name "aaa".
    cEdOption();

    // nPalette, bBgm, nSeVolume, nRankMode, then strRegName, at every version.
    void RegisterMembers(int version) override;
    // The record base's body, then the values taken into their ranges.
    void Load(plat::ByteReader& f) override;
};

extern cEdOption g_Option;

// The number of volume steps (0 to 10), palette variants (0 to 23) and
// ranking modes (0 to 3).
inline constexpr int kSeVolumeSteps = 11;
inline constexpr int kPaletteVariants = 24;
inline constexpr int kRankModes = 4;

// The attenuation, in hundredths of a decibel, that every sound copy gets for
// a volume step: -10000 (silent) for step 0 up to 0 (full) for step 10. A
// step outside 0 to 10 is taken as the nearest of them.
std::int32_t SeVolumeAttenuation(int step);

// The Shift-JIS label of a ranking registration mode, as the option scene
// shows it; "" for a value outside 0 to 3.
const char* RankModeLabel(int mode);
