#pragma once
// The parameter descriptors of the character- and screen-effect kinds: for
// each kind its five parameters with a name, a range and a default. The
// runtime reads only the defaults, to upgrade effect records of older files;
// names and ranges are the authoring tool's.

#include <cstdint>

// The empty descriptor (an unused parameter) has an empty name and only zeros.
struct ParamInfo {
    const char* m_Name = ""; // UTF-8 as written here; Sjis() gives the game's text
    std::int16_t m_Min = 0;
    std::int16_t m_Max = 0;
    std::int16_t m_Default = 0;
};

inline constexpr int kCharaEffectKinds = 17; // 0 none, 1 to 16
inline constexpr int kScrEffectKinds = 14;   // 0 none, 1 to 13
inline constexpr int kEffectParams = 5;

extern const ParamInfo g_CharaEffectParamInfo[kCharaEffectKinds][kEffectParams];
extern const ParamInfo g_ScrEffectParamInfo[kScrEffectKinds][kEffectParams];
