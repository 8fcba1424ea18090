#pragma once
// The shot part of a command: the settings of the shot, the sword (which
// uses its sword type and its item) and the block, character and item
// summons. A shot command fires m_Repeat + 1 shots; each is laid out by a
// fire pattern that places m_Count elements, and each element then moves by
// a shot movement kind. Summons place palette entries by the same patterns.
// A command owns at most one, never shared with another.
//
// Amounts given as base and step apply base + step x i to the i-th repeated
// shot (0 for the first).

#include <cstdint>
#include <memory>

#include "data/ed_data.h"

// Fire patterns 0 to 5: row, column, fan, thunder, burst, surround.
inline constexpr int kShotPatternCount = 6;
// Shot movement kinds 0 to 9: straight, three aimed, four homing, wave, fall.
inline constexpr int kShotMoveKindCount = 10;

class cEdShot : public cEdData {
public:
    std::uint8_t m_Count = 0;   // elements placed by one pattern
    std::uint8_t m_Pattern = 0; // fire pattern
    std::int16_t m_PatternParams[3] = {};
    std::uint8_t m_Dir = 0; // direction code, as the movement part's
    std::uint8_t m_Aim = 0;
    std::int16_t m_Angle = 0;
    std::int16_t m_AngleStep = 0;
    std::uint8_t m_AngleMirror = 1; // facing right: 360 - angle
    std::int16_t m_AngleRandom = 0; // random addition of -n to +n degrees
    std::uint8_t m_AimMode = 0;
    std::uint8_t m_Repeat = 0;  // extra shots
    std::int16_t m_OffsetX = 0; // pixels
    std::int16_t m_OffsetXStep = 0;
    std::int16_t m_OffsetY = 0;
    std::int16_t m_OffsetYStep = 0;
    std::uint8_t m_MirrorX = 1; // facing right: the x offset is negated
    std::uint8_t m_MirrorY = 0;
    std::int16_t m_Graphic = 0; // at most 119
    std::uint8_t m_Option1 = 0;
    std::uint8_t m_Invisible = 0;
    std::uint8_t m_UserGroup = 1; // 1 the user's group, 0 m_GroupNumber
    std::uint8_t m_GroupNumber = 0;
    std::uint8_t m_Option3 = 0;
    std::uint8_t m_Size = 1; // hbl (16 pixels) per side; at least 1
    std::uint8_t m_Option4 = 0;
    // The shot movement kind; for the sword command its SwordType record.
    std::uint8_t m_MoveKind = 0;
    std::int16_t m_MoveParams[3] = {};
    std::uint8_t m_Homing = 0;
    std::int16_t m_Speed = 0; // tenths of a pixel per frame
    std::int16_t m_SpeedStep = 0;
    std::uint8_t m_SecondSpeedOn = 0;
    std::int16_t m_SecondSpeed = 0;
    std::int16_t m_SecondSpeedStep = 0;
    std::int16_t m_MoveTime = 0;
    std::uint8_t m_MoveTimeOn = 0;
    std::int16_t m_MoveTimeStep = 0;
    std::uint8_t m_StopAtEnd = 0;
    std::uint8_t m_LifeTimeOn = 0;
    std::int16_t m_LifeTime = 0;
    std::int16_t m_LifeTimeStep = 0;
    std::uint8_t m_PassBlocks = 0;
    std::uint8_t m_Pierce = 0;
    std::uint8_t m_HitShots = 0;
    std::int8_t m_Strength = 0;
    std::int32_t m_Power = 0;
    std::int16_t m_Option8 = 0;
    std::uint8_t m_Impact = 0;
    std::int16_t m_Effect = 0; // Effect record shown at a hit; 0 none
    // Item given when the shot (or sword) hits: 0 none, 1 common palette, 2 stage palette.
    std::uint8_t m_ItemPalette = 0;
    std::int16_t m_ItemIndex = 0;
    std::uint8_t m_BlockMode = 0; // block summon: 0 place, 1 remove, 2 toggle
    std::uint8_t m_Option9 = 0;
    std::uint8_t m_Option10 = 0;
    std::uint8_t m_SummonPalette = 0; // summons: 0 common palette, 1 stage palette
    std::int16_t m_SummonIndex = 0;
    // Group of a summoned character: 0 its definition's, 1 the user's, 2 m_GroupNumber.
    std::uint8_t m_GroupMode = 0;
    std::uint8_t m_Option11 = 0;
    std::uint8_t m_FlipFacing = 0;

    void RegisterMembers(int version) override;
    // The base body, the upgrades of older files, then Check.
    void Load(plat::ByteReader& f) override;
    // Check, then the base body.
    void Save(ByteWriter& f) override;
    // A size of 0 or less becomes 1; an effect outside the Effect table none.
    void Check();

    // The firing point's offset of repeated shot i for a user facing
    // (1 right): i x step + base, negated facing right when mirrored.
    double GetOffsetX(int i, int facing) const;
    double GetOffsetY(int i, int facing) const;
};

// Gives a command's shot pointer a new part with the defaults, of which the
// pointer is the only owner.
void MakeShotPart(std::shared_ptr<cEdShot>& part);
