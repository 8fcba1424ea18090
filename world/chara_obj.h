#pragma once
// A character of a running stage: the base of the player (cPlayerObj) and
// of the computer characters (cNpcObj). It holds a private copy of its
// definition (commands change some of its switches at run time), the
// running copies of the definition's flows, the physical state that
// collision, gravity and knock-back work on, hit points and SP with their
// gauges, the character variables, a contact box and a shot box, and its
// links to other objects, all by object number: the character it targets,
// the characters that target it and the shots aimed at it.
//
// The definition's switch bSolid makes a solid character (others stand on
// it and are pushed out of it); the same switch is its "no-contact" flag:
// its contact box is empty and the searches may exclude it.

#include <cstdint>
#include <list>
#include <vector>

#include "data/ed_chara.h"
#include "world/effect_obj.h"
#include "world/flow_run.h"
#include "world/game_obj.h"
#include "world/geometry.h"
#include "world/overlay_anim.h"
#include "world/trace.h"

struct BlockCell;
struct DDSURFACEDATA;
struct GraphicRef;
class cEdCond;
class cItemObj;
class cShotObj;

// Exclusion numbers 1 to 26 of flows; 0 none.
inline constexpr int kFlowExclCount = 27;
inline constexpr int kCharaVarCount = 9;
// Frames of a gauge animation, and the gauge's length in pixels.
inline constexpr int kGaugeFrames = 120;
inline constexpr int kGaugeLength = 50;

// The animation of an HP or SP gauge after a change.
struct Gauge {
    std::int32_t m_Frames = 0; // frames left
    double m_Change = 0;       // change in gauge pixels
    double m_ChangeStep = 0;   // change per frame
    std::int32_t m_Fill = 0;   // current gauge length
};

// Protection against one attacker after a contact hit.
struct ProtectEntry {
    std::int32_t m_AttackerNo = 0;
    std::int32_t m_Steps = 0; // sub-steps left
};

// The character's own members (the class below copies
// them as one and then repairs what must not be copied as it is).
struct CharaFields {
    // Members in an order chosen for speed: what the sub-step reads of
    // every character first (fewer cache lines per pass over them); its
    // definition last.
    std::int32_t m_Dying = 0;
    std::int32_t m_Hp = 0;
    HitBox m_HitA; // contact box ("hit box A")
    HitBox m_HitB; // shot box ("hit box B")
    std::int32_t m_ContactL = 0;
    std::int32_t m_ContactR = 0;
    std::int32_t m_ContactU = 0;
    std::int32_t m_ContactD = 0;
    DRect m_SavedBox;
    std::int32_t m_ProtectTime = 0;
    std::list<ProtectEntry> m_ProtectList;
    double m_KnockX = 0; // knock-back speeds per sub-step
    double m_KnockY = 0;
    std::int32_t m_Knockback = 0; // a knock-back is running
    double m_PrevKnockY = 0;
    std::int32_t m_NoGravity = 0; // gravity suspended ("movement-disabled flag")
    std::int32_t m_MovedByCommand = 0;
    std::int32_t m_Airborne = 1;   // 8 frames without ground ("long-fall flag")
    std::int32_t m_JumpEnded = 0;  // "rise-ended flag"
    std::int32_t m_Jumping = 0;    // "falling flag"
    std::int32_t m_AirSteps = 0;   // sub-steps without ground ("no-jump flag")
    std::int32_t m_CrushGrace = 0; // "flying-change grace counter"
    std::int32_t m_Riding = 0;     // stands on a solid character ("on-solid-character flag")
    std::int32_t m_Rider = 0;      // pushed or carried by a solid character
    BlockCell* m_UnderFeet = nullptr;
    BlockCell* m_LastBlock = nullptr;
    BlockCell* m_PrevLastBlock = nullptr;
    std::vector<cFlowRun> m_FlowRuns; // element i runs flow i of the definition
    std::int32_t m_FlowEnded = 0;     // "group-ended flag"
    std::int32_t m_FlowDeleted = 0;   // "flow-deleted flag"
    // Walks over its flows going on now (firing, stepping): while one is,
    // the flow lists keep their shape.
    std::int32_t m_FlowWalks = 0;
    std::int32_t m_Hidden = 0;   // hidden this sub-step ("spare word")
    std::int32_t m_Vanish = 0;   // "removal request"
    std::uint8_t m_Latch = 0;    // its appearance conditions have held once
    std::int32_t m_IsPlayer = 0; // a cPlayerObj
    std::int32_t m_GroupList = -1;
    std::vector<std::int32_t> m_TargetedBy; // numbers of the characters targeting it
    // Numbers of the shots aimed at it ("attached-object list").
    std::vector<std::int32_t> m_AimedShots;
    std::int32_t m_FlowSerial = 0;
    std::vector<std::uint8_t> m_FlowExclRunning; // by exclusion number ("group running flags")
    std::vector<std::uint8_t> m_FlowExclEnded;
    std::vector<std::uint8_t> m_FlowExclStarted;
    double m_StartX = 0; // the placed position
    double m_StartY = 0;
    std::int32_t m_WallSide = -1; // side of the last block hit sideways: 0 left, 1 right
    std::int32_t m_Reserved = 0;
    std::int32_t m_JumpLatch = 0;    // "jump lock"
    std::int32_t m_DeathCounter = 0; // frames of the death display
    std::int32_t m_CarrierNo = 0;    // number of the solid character it stands on
    DRect m_CarrierBox;
    Gauge m_HpGauge;
    std::int32_t m_Sp = 0;
    Gauge m_SpGauge;
    std::vector<std::int32_t> m_Vars;  // 9 character variables
    std::list<OverlayAnim> m_Overlays; // running animations
    cCharaEffectPlayer m_CharaEffect;
    std::int32_t m_ActingWord = 0;  // the player's acting word
    std::int32_t m_SightRange = 0;  // pixels
    std::int32_t m_TargetNo = -1;   // number of the character it targets; -1 none
    std::int32_t m_GraphicKind = 1; // the picture sheet kind of its graphic
    // Its place in the stage's list of its group, while entered in one (a
    // copy is entered in none).
    std::int32_t m_GroupSlot = -1;
    cEdChara m_Def; // its own copy of its definition
};

class cCharaObj : public cGameObj, public CharaFields {
public:
    cCharaObj();
    // A copy is entered in no group list, and its running flows point at
    // its own flows.
    cCharaObj(const cCharaObj& other);
    cCharaObj& operator=(const cCharaObj& other);
    ~cCharaObj() override;

    // Keeps the box's (or the picture's) bottom edge in place after a scale
    // change, by the system data's scale-anchor switch, then OnMovedY.
    void AdjustPosOnScale(int newScale, int oldScale) override;
    void SetCenter(int x, int y) override;
    void SetCenterStop(int x, int y, cCommandRun& run) override;
    void SetCenterX(int x) override;
    void SetCenterXStop(int x, cCommandRun& run) override;
    void SetCenterY(int y) override;
    void SetCenterYStop(int y, cCommandRun& run) override;
    // Virtual operations of characters, in their slot order.
    // Copies every member of the character (the temporary copies of the
    // solid-character collision).
    virtual void CopyFrom(const cCharaObj& other);
    // The item it carries; none here.
    virtual cItemObj* GetCarriedItem();
    // After a change of x (y): edges, box, cells and hit boxes follow; the
    // player's also move the view. The edge code.
    virtual int OnMovedX();
    virtual int OnMovedY();
    // One sub-step of motion; results: MoveX 4 left the world sideways,
    // MoveY 7 fell out of the stage, 8 left the world while flying.
    virtual int MoveX();
    virtual int MoveY();
    // One sub-step of the running flows; 1 when they ended the character.
    virtual int RunFlows(int deathOnly);
    // The jump command's sub-step.
    virtual int Jump(cCommandRun& run);

    // --- set-up and placement
    // Prepares the character for a stage start or a spawn from a definition
    // (none keeps the copy held): links, flow flags, state words, HP and SP,
    // variables, effect, protection, AnimeSet, animations.
    void Setup(const cEdChara* def, double x, double y, int copyNo);
    // The contact box from the picture offsets ("SetContactBox").
    void SetHitBoxA(int bottomAligned, int width, int height);
    // Gives the character the frame sequences of an AnimeSet.
    void SetAnimeSet(int number, int force);
    // Places it on block coordinates of the current area.
    void SetBlockPos(int column, int row);
    void SetBlockX(int column);
    void SetBlockY(int row);
    // The player's screen box for the player, else the object's.
    void RefreshScreenBox();

    // --- motion, status and conditions
    // The upward start speed that reaches a height in pixels (times the
    // player's gravity factor for the player).
    double JumpSpeed(double height) const;
    double JumpSpeedHbl(int hbl) const;
    // The rise time in tenths of a second, plus 1.
    int JumpTime(int hbl) const;
    void ClearContacts();
    // y speed += gravity, unless flying, riding, disabled or knocked upward.
    void ApplyCharaGravity();
    int IsOnGround() const;
    // Rests the box on the cell boundary above the block under it.
    void LandOnBlock();
    // Moves the box below the cell boundary above it.
    void HitCeiling();
    void SettleOnSolidChara(int rider);
    void SavePosition();
    void RestorePosition();
    // HP += delta, clamped; 1 when HP reached 0.
    int ChangeHp(int delta, int forced, int showGauge);
    // SP += delta, clamped; 1 when the maximum SP is 0 or less.
    int ChangeSp(int delta, int showGauge);
    void StartHpGauge(int delta);
    void StartSpGauge(int delta);
    void StartKnockback(int strength, double dx, double dy);
    void StartKnockbackFrom(const cCharaObj& attacker);
    void StartKnockbackFromShot(const cShotObj& shot);
    void ApplyKnockbackY();
    void DecayKnockbackX();
    void DecayKnockbackY();
    // Condition kinds 5 (switch values), 6 (character state) and 7 (distance).
    int TestStatusCondition2(const cEdCond& cond);
    int TestStatusCondition3(const cEdCond& cond);
    int TestDistanceCondition(const cEdCond& cond);

    // --- flows
    // Builds running flows for a flow list (insert 0: the definition's own,
    // every run rebuilt; insert 1: inserted at position, -1 the end).
    int InstallFlows(const std::vector<cEdFlow>& flows, int facing, int insert, int position);
    void AppendFlowRun(const cFlowRun& run);
    // Stops and removes flow index (run and definition).
    void RemoveFlow(int index);
    // Id non-zero: removes every flow of that id, the index of the first or
    // -1; id 0: every flow, 0.
    int RemoveFlowsById(int id);
    // Points every run at its flow again (after an insertion, a removal or a copy).
    void RelinkFlows();
    // Clears each run's fired-this-frame flag and the exclusion started flags.
    void ResetFlowStepFlags();
    // Starts the idle flows of a trigger whose conditions and keys hold.
    // Inline: most calls find every flow running and no trace to record.
    [[gnu::always_inline]] void FireFlows(int trigger)
    {
        if (g_Trace || HasIdleFlow()) FireIdleFlows(trigger);
    }
    // The rest of FireFlows: the idle flows of the trigger, the trace line.
    void FireIdleFlows(int trigger);
    int TestFlowKeyConds(cFlowRun& run);
    // Starts the overlays whose scheduled time has come.
    void StartScheduledAnimes();

    // --- damage, protection and death
    void StartHitProtection();
    void StartHitProtectionFrom(int attackerNo);
    void UpdateHitProtection();
    int IsHitProtected() const;
    int IsHitProtectedFrom(int attackerNo) const;
    int DamageFromChara(cCharaObj& attacker);
    int DamageFromShot(cShotObj& shot);
    // The character's death: 1 when it clears the stage.
    int KillChara();

    // --- steering
    int SteerToward(cCommandRun& run, cCharaObj* target, double tx, double ty, int ownFollow,
                    int arrivalTest);
    int SteerTowardX(cCommandRun& run, cCharaObj* target, double tx, int ownFollow,
                     int arrivalTest);
    int SteerTowardY(cCommandRun& run, cCharaObj* target, double ty, int ownFollow,
                     int arrivalTest);
    // The point a movement command aims at, on this character.
    void TargetPoint(double& x, double& y, const cCommandRun& run) const;

    // --- drawing
    void DrawCharaBody(DDSURFACEDATA* dest, int hold);
    // 1 when the death display has ended (computer: remove the character).
    int DrawDeath(DDSURFACEDATA* dest, int hold);
    void StepCharaEffect(int hold);
    int CurrentFrame(int hold);
    int CharaGraphicNumber(GraphicRef& ref);
    void RemoveOverlays(int serial);
    void EndOverlays(int serial);
    void ResumeOverlays(int serial);
    void DrawHpGauge(DDSURFACEDATA* dest);
    void DrawSpGauge(DDSURFACEDATA* dest);

private:
    // A flow that is not running: only such a flow may fire.
    [[gnu::always_inline]] bool HasIdleFlow() const
    {
        for (const cFlowRun& run : m_FlowRuns)
            if (!run.m_Running) return true;
        return false;
    }
};

// 1 when a vector of character numbers holds the number.
int HoldsChara(const std::vector<std::int32_t>& numbers, int number);

// Unit conversions and jump physics with the live stage's values
// (b sub-steps per frame, g the gravity per sub-step).
int HblToPixels(int hbl);
double PercentPerStep(int percent);
// b - v / g truncated; b when the gravity is 0 or less.
int StepsToApex(double speed);
