#pragma once
// A condition: one test on a variable, a status, a character state or a
// distance. Lists of conditions decide whether a block, a placed character or
// an item is present and whether a flow fires; an empty list holds. The
// tests themselves belong to the game world; this is the stored record.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

class cEdCond : public cEdData {
public:
    // Kinds: 1 common variable, 2 stage variable, 3 character variable,
    // 4 status (left side a status or a variable, right side a constant, a
    // random number, a status or a variable), 5 switch value, 6 character
    // state, 7 distance to the player; 0 none.
    std::uint8_t m_Kind = 0;
    std::uint8_t m_LeftKind = 0;  // kind 4: 0 status, 1 variable
    std::uint8_t m_VarScope = 0;  // kind 4 variable: 0 common, 1 stage
    std::uint8_t m_Owner = 0;     // kinds 4-6: 0 self, 1 target, 2 system
    std::uint8_t m_Item = 0;      // kinds 4-6: which status or state
    std::int16_t m_Index = 0;     // variable index; kind 5: the value compared
    std::uint8_t m_RightKind = 0; // kind 4: 0 constant, 1 random, 2 status, 3 variable
    std::int32_t m_Value = 0;     // the constant; kind 7: the distance in hbl
    std::int32_t m_RandMin = 0;
    std::int32_t m_RandMax = 0;
    std::uint8_t m_RightOwner = 0;
    std::uint8_t m_RightItem = 0;
    std::uint8_t m_RightScope = 0;
    std::int16_t m_RightIndex = 0;
    // 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <; kinds 6 and 7: 0 as stated, 1 negated.
    std::uint8_t m_Op = 0;
    std::uint8_t m_Percent = 0; // kind 4: right side is a percentage of the maximum
    std::uint8_t m_Shape = 0;   // kind 7: the area of the distance test

    void RegisterMembers(int version) override;
    // The base body, then the upgrades of files older than the current version.
    void Load(plat::ByteReader& f) override;

private:
    // Two 2-byte blocks of files older than version 110, read and dropped.
    std::int16_t m_OldBlocks[2] = {};
};

// Reads a condition list: uint32 n, then n conditions (each a new, cleared one).
void LoadCondList(std::vector<cEdCond>& list, plat::ByteReader& f);
// Makes dst as long as src and assigns element by element.
void AssignCondList(std::vector<cEdCond>& dst, const std::vector<cEdCond>& src);
