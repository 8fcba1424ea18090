#pragma once
// Sword kinds of the database (table SwordType): two picture files and a
// list of parts, the stages of a swing shown one after another.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

class cEdSwordPart : public cEdData {
public:
    // Ten settings, index 0 to 9 for settings 1 to 10. Setting 5 places the
    // part next to its owner (0 front, 1 back, 2 above, 3 below); 6 and 7 are
    // the part's x and y in the sword picture, 8 and 9 its width and height,
    // 10 its time. Settings 3 and 4 exist from version 138; setting 3 is 1 by
    // default, every other 0.
    std::int32_t m_Setting[10] = {0, 0, 1, 0, 0, 0, 0, 0, 0, 0};

    void RegisterMembers(int version) override;
};

class cEdSwordType : public cEdData {
public:
    std::string m_Name;
    std::int32_t m_ToolValue = 0; // the authoring tool's; kept, never read
    std::string m_FileName1;
    std::string m_FileName2;
    std::vector<cEdSwordPart> m_Parts;

    // Cleared, with one default part whose time is 1.
    cEdSwordType();
    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n parts.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
    // Cleared; exactly one part (the first kept, or a default one), time 1.
    void SetDefaults();
};
