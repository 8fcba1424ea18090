#pragma once
// At the start of every sub-step (and once at the stage set-up) the play
// decides which objects exist for this sub-step and which of them act: the
// player always; a computer character, an item while its appearance
// conditions hold; a present computer character acts while it lies in its
// activity range or its area switch is on. The on-screen flags follow.
//
// A shot's part (present, on screen where it meets the view) reads nothing
// but the shot and the view, and nothing before the shot step reads it or
// moves a shot. So a sub-step may leave it to the shot step, which walks
// the shots anyway (a walk over a list of scattered shots costs a memory
// wait per shot): the view is kept, and the shot step does the part for
// the shots that were there when it was taken, before it steps each.

class cRunningStage;
class cShotObj;

enum class ShotActivity {
    kNow,        // with the rest
    kInShotStep, // left to the shot step (or to cShotActivitySettler)
};

// What the walk over the computer characters does besides, when the update
// opens a sub-step: each character's own start of it. Nothing in the update
// reads what that start writes, nor any life timer.
enum class CharaStart {
    kNone,
    // Protection counted down, contacts cleared, position saved.
    kHousekeeping,
    // The same, after the life timer's count-down; those whose timer runs
    // out are left out of it and leave the stage once the update is done.
    kLifeAndHousekeeping,
};

// The whole update: the player, then the other objects.
void UpdateActivity(ShotActivity shots = ShotActivity::kNow, CharaStart start = CharaStart::kNone);
// The computer characters (a switch set by any of them counts for all in
// the same sub-step), the items and the shots.
void UpdateOtherActivity(ShotActivity shots, CharaStart start = CharaStart::kNone);

// Does the due shots' part for one shot, when the shot was on the stage as
// the view was taken (those that entered since wait for the next update).
void TakeDueShotActivity(const cRunningStage& stage, cShotObj& shot);

// Does the shots' part still due when a sub-step ends (one that ended
// before its shot step).
class cShotActivitySettler {
public:
    explicit cShotActivitySettler(cRunningStage& stage) : m_Stage(stage) {}
    ~cShotActivitySettler();
    cShotActivitySettler(const cShotActivitySettler&) = delete;
    cShotActivitySettler& operator=(const cShotActivitySettler&) = delete;

private:
    cRunningStage& m_Stage;
};
