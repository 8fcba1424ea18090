#pragma once
// The movement part of a command: the settings of the moving commands
// (straight, ground turn-back, circle, charge, homing, off-screen avoiding)
// and of the warp. A command owns at most one, never shared with another.
//
// Amounts given as base and step apply base + step x copy number, the copy
// number of the placed character (0 for the first or only copy).

#include <cstdint>
#include <memory>

#include "data/ed_data.h"

class cEdMove : public cEdData {
public:
    // 0 by direction, 1 by target coordinates; the warp: 0 direction and
    // distance, 1 the same from the target, 2 target coordinates.
    std::uint8_t m_TargetMode = 0;
    // 0 front, 1 back, 2 left, 3 right, 4 front vertical, 5 back vertical,
    // 6 up, 7 down, 8 up-left, 9 down-left, 10 up-right, 11 down-right,
    // 12 the input direction.
    std::uint8_t m_Dir = 0;
    std::int16_t m_Angle = 0;       // degrees, base
    std::int16_t m_AngleStep = 0;   // per copy
    std::uint8_t m_AngleMirror = 1; // facing right: 360 - angle
    std::uint8_t m_UseX = 1;        // the horizontal component of a move toward a point is used
    std::uint8_t m_UseY = 1;        // the vertical one
    std::int16_t m_TargetX = 0;     // blocks
    std::int16_t m_TargetY = 0;
    std::int16_t m_OffsetX = 0; // pixels
    std::int16_t m_OffsetY = 0;
    // 0 relative to the placed position, 1 relative, 2 absolute, 3 screen.
    std::uint8_t m_CoordMode = 0;
    std::uint8_t m_StopOnArrival = 1;
    std::uint8_t m_NoSpeedX = 0;
    std::uint8_t m_NoSpeedY = 0;
    std::uint8_t m_MirrorX = 1; // facing right: the target x is negated
    std::uint8_t m_MirrorY = 0;
    std::uint8_t m_TurnReverse = 1;
    std::uint8_t m_Flag61 = 0; // a chase that arrives within one step stops on the point
    std::uint8_t m_KeepFacing = 0;
    // 0 time and speed, 1 time and distance, 2 speed and distance.
    std::uint8_t m_CalcMode = 0;
    std::int16_t m_Speed = 10; // tenths of a pixel per frame, base
    std::int16_t m_SpeedStep = 0;
    std::int16_t m_Distance = 0;
    std::int16_t m_DistanceStep = 0;
    std::uint8_t m_DistanceUnit = 0; // 0 hbl (16 pixels), 1 pixels
    std::int16_t m_Radius = 0;
    std::int16_t m_RadiusStep = 0;
    std::uint8_t m_Inertia = 0;
    std::int16_t m_MaxSpeed = 0;
    double m_TurnFactor = 1.0;
    std::uint8_t m_KeepAnime = 0;

    void RegisterMembers(int version) override;
    // The base body, then the upgrades of older files.
    void Load(plat::ByteReader& f) override;
};

// Gives a command's movement pointer a new part with the defaults, of which
// the pointer is the only owner.
void MakeMovePart(std::shared_ptr<cEdMove>& part);
