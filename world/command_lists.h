#pragma once
// The command lists of items and blocks, run at once on the player, and
// the flow change that also serves the character flows.

#include <vector>

class cCharaObj;
class cEdCommand;
class cPlayerObj;

// Every command in order: 0 all ran, 2 the player's hit points fell below
// 1, or a command's non-zero result (1 the stage clear).
int RunCommandList(cPlayerObj& player, const std::vector<cEdCommand>& commands);
// Adds, changes or removes flows; deferred while the player's own flows run.
void ExecFlowChange(cCharaObj& chara, const cEdCommand& command, int runNow);

// The 22 flow and item command kinds.
inline constexpr int kFlowCommandKinds = 22;
using FlowCommandProc = int (*)(cCharaObj& chara, const cEdCommand& command);
extern const FlowCommandProc g_FlowCommandProc[kFlowCommandKinds];
