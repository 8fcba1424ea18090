// The firing commands: shots, the sword and the three summons. Shots and
// summons act on the first sub-step of the command and then every tenth of
// a second while it runs; the sword swings once per start of the command.

#include "world/command_object.h"

#include <utility>

#include "data/ed_command.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/ed_sword_type.h"
#include "world/chara_obj.h"
#include "world/fire_patterns.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"
#include "world/world_services.h"

namespace {

// The shot part of a firing command; a command without one does nothing.
const cEdShot* ShotPart(const cCommandRun& run)
{
    return run.m_Command && run.m_Command->m_Shot ? run.m_Command->m_Shot.get() : nullptr;
}

// The command's sound, unless it plays only on screen and the character is not.
void FiringSound(const cCharaObj& chara, const cEdCommand& command)
{
    if (command.m_SoundOnScreen == 0 || chara.m_OnScreen) WorldDataSe(command.m_Sound);
}

// The tenth-second cadence: 1 on the sub-steps the command acts on.
bool CadenceDue(cCommandRun& run)
{
    const bool due = run.m_Repeat == 0;
    if (++run.m_Repeat >= 6 * g_Stage.nSubSteps) run.m_Repeat = 0;
    return due;
}

// A shot command's volley on a due sub-step. Out of line: the command's
// sub-steps between two volleys stay small.
[[gnu::noinline]] int FireVolley(cCharaObj& chara, cCommandRun& run, const cEdShot& shot)
{
    FiringSound(chara, *run.m_Command);
    FireShot(RunStage().m_ShotList, chara, run, shot);
    return 0;
}

template <void (*Fire)(cCharaObj&, cCommandRun&, const cEdShot&)>
int ExecSummon(cCharaObj& chara, cCommandRun& run)
{
    const cEdShot* shot = ShotPart(run);
    if (!shot || !CadenceDue(run)) return 0;
    FiringSound(chara, *run.m_Command);
    Fire(chara, run, *shot);
    return 0;
}

} // namespace

int ExecShot(cCharaObj& chara, cCommandRun& run)
{
    const cEdShot* shot = ShotPart(run);
    if (!shot || !CadenceDue(run)) return 0;
    return FireVolley(chara, run, *shot);
}

int ExecSword(cCharaObj& chara, cCommandRun& run)
{
    const cEdShot* shot = ShotPart(run);
    if (!shot || run.m_Repeat++ != 0) return 0;
    FiringSound(chara, *run.m_Command);
    // A sword type outside the table, or one without parts, swings nothing.
    const cEdSwordType* type = RecordAt(g_Database.SwordType, shot->m_MoveKind);
    if (!type || type->m_Parts.empty()) return 0;
    cRunningStage& stage = RunStage();
    ShotFireRequest request;
    cShotObj swing;
    swing.SetupShot(chara, 12, *shot, request);
    stage.AddShot(std::move(swing));
    ++stage.m_BlockSerial;
    return 0;
}

int ExecBlockSummon(cCharaObj& chara, cCommandRun& run)
{
    return ExecSummon<FireBlockSummon>(chara, run);
}

int ExecCharaSummon(cCharaObj& chara, cCommandRun& run)
{
    return ExecSummon<FireCharaSummon>(chara, run);
}

int ExecItemSummon(cCharaObj& chara, cCommandRun& run)
{
    return ExecSummon<FireItemSummon>(chara, run);
}
