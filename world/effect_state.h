#pragma once
// The prepared run states of character and screen effects: for every record
// of the CharaEffect and ScrEffect tables, the value that the effect carries
// from a start to an end over its time, set up once at start-up for normal
// and for reversed playing. A player of an effect copies one of these states
// and advances it frame by frame.

#include <cstdint>

class cEdCharaEffect;
class cEdScrEffect;

struct CharaEffectState {
    std::int32_t m_Index = 0;                 // the record's index in its table
    const cEdCharaEffect* m_Record = nullptr; // in the normal or reversed table; null when none
    std::int32_t m_Mode = 0;                  // 0 normal, 1 reversed, 2 there and back
    std::int32_t m_Loop = 0;                  // 1: start again when the end is passed
    std::int32_t m_Reversed = 0;              // 1 while the reversed state is in use
    std::int32_t m_Counter = 0;
    std::int32_t m_Start = 0;
    std::int32_t m_End = 0;
    double m_Value = 0; // the current value
    double m_Step = 0;  // change per drawn frame
    std::int32_t m_Work1 = 0;
    std::int32_t m_Work2 = 0;

    // Binds the state to record index of CharaEffect (reversed 0) or of its
    // reversed copy (reversed 1) and prepares its values. For the reversed
    // state the start and end parameters of the copy's record are swapped
    // in place, once. Kinds outside 1 to 16 only bind.
    void Prepare(int index, int reversed);
};

struct ScrEffectState {
    std::int32_t m_Index = 0;
    const cEdScrEffect* m_Record = nullptr;
    std::int32_t m_Mode = 0;
    std::int32_t m_Loop = 0;
    std::int32_t m_Reversed = 0;
    std::int32_t m_Counter = 0;
    double m_Value = 0;  // the quantity the effect animates
    double m_Value2 = 0; // the shake offset
    double m_Step = 0;   // change per drawn frame
    // The slide's current x and y, the shake's direction, the wave's phase,
    // or the blink's frame counter and visibility.
    std::int32_t m_Int1 = 0;
    std::int32_t m_Int2 = 0;

    // The same for ScrEffect and its reversed copy; kinds outside 1 to 13
    // only bind.
    void Prepare(int index, int reversed);
};
