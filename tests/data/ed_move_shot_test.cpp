// The movement and shot parts of commands: their file order, defaults,
// upgrades of older files, checks and offsets.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/ed_move.h"
#include "data/ed_shot.h"
#include "file_bytes.h"
#include "record_fields.h"
#include "stage_fixtures.h"

namespace {

using test::FileBytes;

using test::Field;

#define MOVE(m, size, from) RECORD_FIELD(cEdMove, m, size, from, -1)
#define SHOT(m, size, from) RECORD_FIELD(cEdShot, m, size, from, -1)
#define SHOT_NEXT(m) RECORD_FIELD_NEXT(cEdShot, m, 2)

const std::vector<Field<cEdMove>> kMoveFields = {
    MOVE(m_TargetMode, 1, 0),    MOVE(m_Dir, 1, 0),
    MOVE(m_Angle, 2, 0),         MOVE(m_AngleStep, 2, 0),
    MOVE(m_AngleMirror, 1, 158), MOVE(m_UseX, 1, 0),
    MOVE(m_UseY, 1, 0),          MOVE(m_TargetX, 2, 0),
    MOVE(m_TargetY, 2, 0),       MOVE(m_OffsetX, 2, 0),
    MOVE(m_OffsetY, 2, 0),       MOVE(m_CoordMode, 1, 0),
    MOVE(m_StopOnArrival, 1, 0), MOVE(m_NoSpeedX, 1, 0),
    MOVE(m_NoSpeedY, 1, 0),      MOVE(m_MirrorX, 1, 0),
    MOVE(m_MirrorY, 1, 0),       MOVE(m_TurnReverse, 1, 0),
    MOVE(m_Flag61, 1, 0),        MOVE(m_KeepFacing, 1, 162),
    MOVE(m_CalcMode, 1, 0),      MOVE(m_Speed, 2, 0),
    MOVE(m_SpeedStep, 2, 0),     MOVE(m_Distance, 2, 0),
    MOVE(m_DistanceStep, 2, 0),  MOVE(m_DistanceUnit, 1, 159),
    MOVE(m_Radius, 2, 0),        MOVE(m_RadiusStep, 2, 0),
    MOVE(m_Inertia, 1, 0),       MOVE(m_MaxSpeed, 2, 0),
    MOVE(m_TurnFactor, 8, 0),    MOVE(m_KeepAnime, 1, 162),
};

const std::vector<Field<cEdShot>> kShotFields = {
    SHOT(m_Count, 1, 0),
    SHOT(m_Pattern, 1, 0),
    SHOT(m_PatternParams[0], 2, 0),
    SHOT_NEXT(m_PatternParams[1]),
    SHOT_NEXT(m_PatternParams[2]),
    SHOT(m_Dir, 1, 0),
    SHOT(m_Aim, 1, 0),
    SHOT(m_Angle, 2, 0),
    SHOT(m_AngleStep, 2, 0),
    SHOT(m_AngleMirror, 1, 158),
    SHOT(m_AngleRandom, 2, 0),
    SHOT(m_AimMode, 1, 0),
    SHOT(m_Repeat, 1, 0),
    SHOT(m_OffsetX, 2, 0),
    SHOT(m_OffsetXStep, 2, 0),
    SHOT(m_OffsetY, 2, 0),
    SHOT(m_OffsetYStep, 2, 0),
    SHOT(m_MirrorX, 1, 0),
    SHOT(m_MirrorY, 1, 0),
    SHOT(m_Graphic, 2, 0),
    SHOT(m_Option1, 1, 0),
    SHOT(m_Invisible, 1, 0),
    SHOT(m_UserGroup, 1, 0),
    SHOT(m_GroupNumber, 1, 0),
    SHOT(m_Option3, 1, 0),
    SHOT(m_Size, 1, 0),
    SHOT(m_Option4, 1, 0),
    SHOT(m_MoveKind, 1, 0),
    SHOT(m_MoveParams[0], 2, 0),
    SHOT_NEXT(m_MoveParams[1]),
    SHOT_NEXT(m_MoveParams[2]),
    SHOT(m_Homing, 1, 211),
    SHOT(m_Speed, 2, 0),
    SHOT(m_SpeedStep, 2, 0),
    SHOT(m_SecondSpeedOn, 1, 213),
    SHOT(m_SecondSpeed, 2, 213),
    SHOT(m_SecondSpeedStep, 2, 213),
    SHOT(m_MoveTime, 2, 0),
    SHOT(m_MoveTimeOn, 1, 0),
    SHOT(m_MoveTimeStep, 2, 0),
    SHOT(m_StopAtEnd, 1, 0),
    SHOT(m_LifeTimeOn, 1, 0),
    SHOT(m_LifeTime, 2, 0),
    SHOT(m_LifeTimeStep, 2, 0),
    SHOT(m_PassBlocks, 1, 0),
    SHOT(m_Pierce, 1, 0),
    SHOT(m_HitShots, 1, 0),
    SHOT(m_Strength, 1, 0),
    SHOT(m_Power, 4, 0),
    SHOT(m_Option8, 2, 0),
    SHOT(m_Impact, 1, 0),
    SHOT(m_Effect, 2, 0),
    SHOT(m_ItemPalette, 1, 0),
    SHOT(m_ItemIndex, 2, 0),
    SHOT(m_BlockMode, 1, 0),
    SHOT(m_Option9, 1, 0),
    SHOT(m_Option10, 1, 197),
    SHOT(m_SummonPalette, 1, 0),
    SHOT(m_SummonIndex, 2, 0),
    SHOT(m_GroupMode, 1, 0),
    SHOT(m_Option11, 1, 0),
    SHOT(m_FlipFacing, 1, 0),
};

// A file of one part whose member i (of those the version holds, counted
// over all members) holds i + 1.
template <class T> FileBytes PartFile(const std::vector<Field<T>>& fields, int version)
{
    FileBytes b;
    b.i32(version);
    test::PutFields(b, fields, version);
    b.i32(0);
    return b;
}

class CommandParts : public test::StageRecordsTest {};

TEST_F(CommandParts, MembersLieInFileOrderAndRoundTrip)
{
    g_Database.Effect.resize(200);
    cEdMove move;
    const FileBytes moveFile = PartFile(kMoveFields, kDataVersion);
    ASSERT_EQ(LoadFileBytes(move, moveFile.bytes()), 1);
    for (std::size_t i = 0; i < kMoveFields.size(); ++i) {
        EXPECT_EQ(kMoveFields[i].get(move), double(i + 1)) << "movement member " << i;
    }
    EXPECT_EQ(SaveToBytes(move), moveFile.bytes());

    cEdShot shot;
    const FileBytes shotFile = PartFile(kShotFields, kDataVersion);
    ASSERT_EQ(LoadFileBytes(shot, shotFile.bytes()), 1);
    for (std::size_t i = 0; i < kShotFields.size(); ++i) {
        EXPECT_EQ(kShotFields[i].get(shot), double(i + 1)) << "shot member " << i;
    }
    EXPECT_EQ(SaveToBytes(shot), shotFile.bytes());
}

TEST_F(CommandParts, NewPartsHaveTheirDefaults)
{
    const cEdMove move;
    EXPECT_EQ(move.m_Speed, 10);
    EXPECT_EQ(move.m_AngleMirror, 1);
    EXPECT_EQ(move.m_UseX, 1);
    EXPECT_EQ(move.m_UseY, 1);
    EXPECT_EQ(move.m_StopOnArrival, 1);
    EXPECT_EQ(move.m_MirrorX, 1);
    EXPECT_EQ(move.m_MirrorY, 0);
    EXPECT_EQ(move.m_TurnReverse, 1);
    EXPECT_EQ(move.m_TurnFactor, 1.0);
    EXPECT_EQ(move.m_KeepFacing, 0);

    std::shared_ptr<cEdShot> shot;
    MakeShotPart(shot);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->m_Size, 1);
    EXPECT_EQ(shot->m_AngleMirror, 1);
    EXPECT_EQ(shot->m_MirrorX, 1);
    EXPECT_EQ(shot->m_MirrorY, 0);
    EXPECT_EQ(shot->m_UserGroup, 1);
    EXPECT_EQ(shot->m_Power, 0);
}

TEST_F(CommandParts, OlderMovementPartsLoseTheLaterSwitches)
{
    struct Case {
        int version;
        int angleMirror, distanceUnit, keepFacing, keepAnime;
    };
    // Members the version holds come from the file (index + 1); the others
    // are set as before they existed.
    const Case cases[] = {
        {157, 0, 0, 0, 0},  {158, 5, 0, 0, 0},    {159, 5, 26, 0, 0},
        {161, 5, 26, 0, 0}, {162, 5, 26, 20, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        cEdMove move;
        ASSERT_EQ(LoadFileBytes(move, PartFile(kMoveFields, c.version).bytes()), 1);
        EXPECT_EQ(move.m_AngleMirror, c.angleMirror);
        EXPECT_EQ(move.m_KeepFacing, c.keepFacing);
        EXPECT_EQ(move.m_KeepAnime, c.keepAnime);
        EXPECT_EQ(move.m_DistanceUnit, c.distanceUnit);
    }
}

TEST_F(CommandParts, OlderShotPartsAreUpgraded)
{
    struct Case {
        const char* what;
        int version;
        int moveKind, storedHoming, option9, option10;
        int angleMirror, homing, secondSpeed, outOption10;
    };
    const Case cases[] = {
        {"before 158 no angle mirroring", 157, 0, 0, 7, 0, 0, 0, 0, 7},
        {"before 197 the second option copies the first", 196, 0, 0, 7, 3, 1, 0, 0, 7},
        {"from 197 the second option is its own", 197, 0, 0, 7, 3, 1, 0, 0, 3},
        {"before 212 homing kinds 4 to 7 home", 211, 5, 0, 0, 0, 1, 1, 0, 0},
        {"before 212 kind 8 does not home", 211, 8, 1, 0, 0, 1, 0, 0, 0},
        {"from 212 the stored switch stays", 212, 8, 1, 0, 0, 1, 1, 0, 0},
        {"before 213 no second speed", 212, 0, 0, 0, 0, 1, 0, 0, 0},
        {"from 213 the second speed stays", 213, 0, 0, 0, 0, 1, 0, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdShot shot;
        shot.m_MoveKind = static_cast<std::uint8_t>(c.moveKind);
        shot.m_Homing = static_cast<std::uint8_t>(c.storedHoming);
        shot.m_Option9 = static_cast<std::uint8_t>(c.option9);
        shot.m_Option10 = static_cast<std::uint8_t>(c.option10);
        shot.m_SecondSpeed = 9;
        shot.m_SecondSpeedOn = 1;
        cEdShot loaded;
        ASSERT_EQ(LoadFileBytes(loaded, test::SaveAtVersion(shot, c.version)), 1);
        EXPECT_EQ(loaded.m_AngleMirror, c.angleMirror);
        EXPECT_EQ(loaded.m_Homing, c.homing);
        EXPECT_EQ(loaded.m_SecondSpeed, c.secondSpeed);
        EXPECT_EQ(loaded.m_Option10, c.outOption10);
    }
}

TEST_F(CommandParts, ShotCheckMendsSizeAndEffect)
{
    struct Case {
        int size, effect, effectTable;
        int outSize, outEffect;
    };
    const Case cases[] = {
        {0, 1, 2, 1, 1}, {255, 1, 2, 1, 1}, {128, 1, 2, 1, 1}, {127, 1, 2, 127, 1},
        {3, 2, 2, 3, 0}, {3, -1, 2, 3, 0},  {3, 5, 6, 3, 5},
    };
    for (const Case& c : cases) {
        g_Database.Effect.resize(static_cast<std::size_t>(c.effectTable));
        cEdShot shot;
        shot.m_Size = static_cast<std::uint8_t>(c.size);
        shot.m_Effect = static_cast<std::int16_t>(c.effect);
        const auto bytes = SaveToBytes(shot);
        EXPECT_EQ(shot.m_Size, c.outSize) << c.size;
        EXPECT_EQ(shot.m_Effect, c.outEffect) << c.effect;
        cEdShot back;
        ASSERT_EQ(LoadFileBytes(back, bytes), 1);
        EXPECT_EQ(back.m_Size, c.outSize);
    }
}

TEST_F(CommandParts, ShotOffsetsStepAndMirrorForARightFacingUser)
{
    cEdShot shot;
    shot.m_OffsetX = 10;
    shot.m_OffsetXStep = 4;
    shot.m_OffsetY = -3;
    shot.m_OffsetYStep = 2;
    EXPECT_EQ(shot.GetOffsetX(2, 1), -18.0);
    EXPECT_EQ(shot.GetOffsetX(2, 0), 18.0);
    EXPECT_EQ(shot.GetOffsetY(2, 1), 1.0); // y is not mirrored by default
    shot.m_MirrorX = 0;
    shot.m_MirrorY = 1;
    EXPECT_EQ(shot.GetOffsetX(2, 1), 18.0);
    EXPECT_EQ(shot.GetOffsetY(2, 1), -1.0);
    EXPECT_EQ(shot.GetOffsetY(0, 0), -3.0);
}

} // namespace
