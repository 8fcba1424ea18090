#pragma once
// The object and stage commands (kinds 11 to 21): shots, sword, summons,
// flow operations, stage clear, game wait, message, warp and target. The
// instant kinds (17 on) also have a body taking the bare command, which
// the item and block command lists run.

class cCharaObj;
class cCommandRun;
class cEdCommand;

int ExecShot(cCharaObj& chara, cCommandRun& run);
int ExecSword(cCharaObj& chara, cCommandRun& run);
int ExecBlockSummon(cCharaObj& chara, cCommandRun& run);
int ExecCharaSummon(cCharaObj& chara, cCommandRun& run);
int ExecItemSummon(cCharaObj& chara, cCommandRun& run);
int ExecFlowOperation(cCharaObj& chara, cCommandRun& run);
int ExecStageClear(cCharaObj& chara, cCommandRun& run);
int ExecGameWait(cCharaObj& chara, cCommandRun& run);
int ExecMessage(cCharaObj& chara, cCommandRun& run);
int ExecWarp(cCharaObj& chara, cCommandRun& run);
int ExecSetTarget(cCharaObj& chara, cCommandRun& run);

// Bodies: the stage clear request (1), a game wait, a message (told
// whether it continues a waiting message), a warp, the target.
int StageClear(const cEdCommand& command);
int GameWait(const cEdCommand& command);
int ShowMessage(cCharaObj& chara, const cEdCommand& command, int chained);
int Warp(cCharaObj& chara, const cEdCommand& command);
int SetTarget(cCharaObj& chara, const cEdCommand& command);
