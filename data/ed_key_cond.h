#pragma once
// A key condition: one step of a flow's key sequence, saying which direction
// slots and buttons must be pressed or released, and for how long. The
// matching against the input history belongs to the game world.

#include <cstdint>
#include <vector>

#include "data/ed_data.h"

// Number of key slots: direction slots 0 to 9, then buttons 0 to 8.
inline constexpr int kKeySlotCount = 19;

class cEdKeyCond : public cEdData {
public:
    // One state per key slot: 0 ignored, 1 pressed, 2 released.
    std::vector<std::uint8_t> m_KeyStates = std::vector<std::uint8_t>(kKeySlotCount, 0);
    // 1: the direction slots are meant for a character facing right and are
    // mirrored while it faces left.
    std::uint8_t m_Relative = 0;
    std::int16_t m_HoldMin = 0; // a pressed key counts when held at least this many frames
    std::int16_t m_HoldMax = 0; // and at most this many
    std::uint8_t m_HoldAny = 0; // 1: a pressed key counts however long it was held
    // 0 every slot that is not ignored must match, 1 at least one, 2 exactly one.
    std::uint8_t m_Mode = 0;

    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n state bytes (the list takes the
    // file's length, whatever it is).
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
    // A new key condition: cleared, with 19 ignored slots.
    void Reset();
};

// Reads a key-condition list: uint32 n, then n key conditions (each Reset first).
void LoadKeyCondList(std::vector<cEdKeyCond>& list, plat::ByteReader& f);

// The movement direction code (2 left, 3 right, 6 up, 7 down, 8 up-left,
// 9 down-left, 10 up-right, 11 down-right) of an 8-way direction: 0 the side
// the character faces (facing 0 left, else right), 1 to 8 left, right, up,
// down, up-left, down-left, up-right, down-right. Any other direction is
// taken as 0.
int DirectionCode(int dir, int facing);
