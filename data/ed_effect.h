#pragma once
// Effect records of the database. Effect: a picture cut into equal cells and
// a list of frames showing the cells in turn (explosions, sparks, hits).
// CharaEffect: a distortion of a character's picture while it is drawn;
// ScrEffect: the same for the whole play screen. Both have a kind (0 none)
// and five parameters whose meaning the kind's descriptors give; parameter 1
// is always the time in tenths of a second, and most kinds run a value from
// parameter 2 (start) to parameter 3 (end).

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

class cEdEffectFrame : public cEdData {
public:
    std::int32_t m_PictureNo = 0; // cell of the effect's picture
    std::int32_t m_Time = 1;      // tenths of a second

    void RegisterMembers(int version) override;
};

class cEdEffect : public cEdData {
public:
    std::string m_Name;
    std::int32_t m_ToolValue = 0; // the authoring tool's; kept, never read
    std::string m_FileName;       // the picture; cell k is at x = k * width, y = 0
    std::int32_t m_CellWidth = 32;
    std::int32_t m_CellHeight = 32;
    // Set: played for an object of size factor s above 1, the cell is drawn s times larger.
    std::int32_t m_Scalable = 0;
    std::vector<cEdEffectFrame> m_Frames;

    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n frames.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
    // Cleared, cells of 32 x 32, not scalable (the frames stay).
    void SetDefaults();
};

class cEdCharaEffect : public cEdData {
public:
    std::string m_Name;
    std::int32_t m_Kind = 1;
    std::int32_t m_Param[5] = {};

    void RegisterMembers(int version) override;
    // The base body; files older than the current version get the defaults
    // of parameters added since (the coarseness of waves and circles).
    void Load(plat::ByteReader& f) override;
};

// The same record for screen effects, with the screen kinds' upgrades.
class cEdScrEffect : public cEdCharaEffect {
public:
    void Load(plat::ByteReader& f) override;
};
