#pragma once
// Shots and sword swings of a running stage. The running stage owns them
// by value in its shot list and lists their addresses by group; a fire
// request carries one volley's values through the fire pattern to every
// element it spawns.

#include <cstdint>
#include <list>
#include <vector>

#include "data/ed_shot.h"
#include "world/game_obj.h"

class cCharaObj;
class cRunningStage;
struct DDSURFACEDATA;

// One volley of a shot command, passed to the pattern and every spawn.
struct ShotFireRequest {
    std::int32_t m_CopyNo = 0; // volley number; 0 for summons
    double m_Speed = 0;        // pixels per frame
    std::int32_t m_Angle = 0;  // degrees added to the direction's base angle
    std::int32_t m_Range = 0;  // hbl
    std::int32_t m_Time = 0;   // tenths of a second
    double m_VX = 0;           // velocity of the element being spawned, per frame
    double m_VY = 0;
    std::int32_t m_X = 0; // position of the element being spawned
    std::int32_t m_Y = 0;
    std::int32_t m_BaseX = 0; // formation start
    std::int32_t m_BaseY = 0;
    std::int32_t m_StepX = 0; // from one element to the next
    std::int32_t m_StepY = 0;
    std::int32_t m_RowStepX = 0; // from one row to the next
    std::int32_t m_RowStepY = 0;
    std::int32_t m_Width = 0; // one element in pixels
    std::int32_t m_Height = 0;
    std::int32_t m_OffsetX = 0; // the definition's offset for this volley
    std::int32_t m_OffsetY = 0;
    std::int32_t m_DirCode = 0;
};

// What a pass over the shots reads of the stage and the view: nothing a
// shot's sub-step does changes it, so it is read once for all of them.
struct cShotPass {
    // The current stage's values; with areaTest also the removal areas of
    // the player's shots and of the computer's.
    explicit cShotPass(bool areaTest);
    bool m_Carry = false; // the auto-scroll carries the shots that follow it
    double m_CarryX = 0;  // the speeds it carries them at
    double m_CarryY = 0;
    double m_MaxStep = 0; // speed limit per sub-step
    double m_OuterX = 0;  // the world's far edges
    double m_OuterY = 0;
    bool m_AreaTest = false;
    cAreaBounds m_Areas[2];
};

class cShotObj : public cGameObj {
public:
    cShotObj();
    cShotObj(const cShotObj&) = default;
    cShotObj(cShotObj&&) = default;
    cShotObj& operator=(const cShotObj&) = default;
    cShotObj& operator=(cShotObj&&) = default;
    ~cShotObj() override;

    int ScaleHitBox(int scale) override;
    // y -= (new - old) x (unscaled box height / 2), then UpdateEdgeY(2).
    void AdjustPosOnScale(int newScale, int oldScale) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;

    // Fills a constructed object: kind 11 a shot, 12 a sword swing.
    void SetupShot(cCharaObj& shooter, int kind, const cEdShot& def, ShotFireRequest& request);
    // One sub-step of its movement kind, range and time; 1 to remove it.
    // The moves: the speed limited, the position moved and fitted into the
    // world. Each reads the stage through a pass (by default one read now).
    int StepShot(const cShotPass& pass = cShotPass(false));
    int MoveShotX(const cShotPass& pass = cShotPass(false));
    int MoveShotY(const cShotPass& pass = cShotPass(false));
    // 3 when it had to clamp at a world edge, else 0.
    int UpdateShotX();
    // The same along y (the world-edge update of the object base, without
    // its codes).
    void UpdateShotY();
    // 1 when its box touches a blocking cell; never for one that passes
    // blocks (the common case, tested here without a call).
    int ShotHitsBlock() { return m_Def.m_PassBlocks == 1 ? 0 : TouchesBlocks(); }
    // The block test itself: the box's corner cells, or for a box wider
    // than a cell, probes every 32 pixels across and down and at its edges.
    int TouchesBlocks();
    // A sword swing's sub-step: its owner found by number, its part shown.
    int StepSword();
    int DrawShot(DDSURFACEDATA* dest, int hold);
    // Gives the acceleration the direction of (dx, dy), per sub-step.
    void SplitSpeed(double& x, double& y, double dx, double dy) const;

    // Members in an order chosen for speed: what the step and the hit checks
    // read of every shot each sub-step first (fewer cache lines per pass).
    double m_HitLeft = 0; // the hit rectangle against characters
    double m_HitTop = 0;
    double m_HitRight = 0;
    double m_HitBottom = 0;
    std::int32_t m_HitOffX = 0; // scaled
    std::int32_t m_HitOffY = 0;
    std::int32_t m_HitWidth = 0;
    std::int32_t m_HitHeight = 0;
    std::int32_t m_IsShot = 1;    // 1 projectile, 0 sword swing ("vanish-on-hit flag")
    std::int32_t m_TimeLeft = 0;  // sub-steps before the time limit
    std::int32_t m_RangeLeft = 0; // sub-steps before the range limit
    std::int32_t m_Accelerate = 0;
    double m_OwnSpeedX = 0; // its own velocity per sub-step
    double m_OwnSpeedY = 0;
    std::int32_t m_OwnerNo = -1;    // number of the character that fired it
    std::int32_t m_Tick = 0;        // sub-steps of its movement kind (sword: of its part)
    std::int32_t m_PartIndex = 0;   // sword: the current part
    std::int32_t m_BornSubStep = 0; // the stage's sub-step total when it entered
    double m_Accel = 0;
    double m_MoveSpeed = 0;        // speed of the steering movement kinds
    std::int32_t m_ChangeTick = 0; // course change / end of homing
    std::int32_t m_EndTick = 0;
    std::int32_t m_MoveDone = 0;
    double m_WavePhase = 0;
    double m_WaveSin = 0; // direction perpendicular to the flight
    double m_WaveCos = 0;
    std::int32_t m_HitOffX0 = 0; // unscaled
    std::int32_t m_HitOffY0 = 0;
    std::int32_t m_HitWidth0 = 0;
    std::int32_t m_HitHeight0 = 0;
    std::vector<std::int32_t> m_HitList; // numbers of the characters already hit
    cEdShot m_Def;                       // its own copy of the shot definition
    std::int32_t m_TargetNo = -1;        // the shooter's target when fired; -1 none
    std::int32_t m_Z = 3;                // drawing layer: the characters' default
    // Its place in the stage's list of its group, and that list, while
    // entered in one.
    std::int32_t m_GroupSlot = -1;
    std::int32_t m_GroupList = -1;
    // Its node in the stage's shot list, while stored there (its removal).
    std::list<cShotObj>::iterator m_ListNode;
};

// One sub-step of every shot of a running stage, in list order: the shots'
// part of the activity update when it is due, StepShot, gravity,
// MoveShotY, MoveShotX, then (with areaTest, projectiles only) its removal
// area and the blocks; a shot that ends is removed there and then.
void StepShotList(cRunningStage& stage, bool areaTest);
