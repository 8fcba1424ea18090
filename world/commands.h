#pragma once
// The 37 character command kinds: the start handler each runs when its
// flow is installed, and the executor that does one sub-step's work.

class cCharaObj;
class cCommandRun;

inline constexpr int kCharaCommandKinds = 37;

using CharaCommandProc = int (*)(cCharaObj& chara, cCommandRun& run);
// The argument is the one InstallFlows hands on (the character's facing).
using CharaCommandStartProc = void (*)(cCharaObj& chara, cCommandRun& run, int argument);

extern const CharaCommandProc g_CharaCommandProc[kCharaCommandKinds];
extern const CharaCommandStartProc g_CharaCommandStartProc[kCharaCommandKinds];

// Runs the executor of the run's command kind once.
int RunCharaCommand(cCharaObj& chara, cCommandRun& run);
