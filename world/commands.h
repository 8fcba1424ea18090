#pragma once
// The 37 character command kinds: the start handler each runs when its
// flow is installed, and the executor that does one sub-step's work.

class cCharaObj;
class cCommandRun;
class cEdCommand;

inline constexpr int kCharaCommandKinds = 37;

using CharaCommandProc = int (*)(cCharaObj& chara, cCommandRun& run);
// The argument is the one InstallFlows hands on (the character's facing).
using CharaCommandStartProc = void (*)(cCharaObj& chara, cCommandRun& run, int argument);

extern const CharaCommandProc g_CharaCommandProc[kCharaCommandKinds];
extern const CharaCommandStartProc g_CharaCommandStartProc[kCharaCommandKinds];

// Runs the executor of the run's command kind once; a kind outside the
// table only waits its duration.
int RunCharaCommand(cCharaObj& chara, cCommandRun& run);

// The command's sound: always, or only while the character is on screen.
void PlayCommandSound(const cCharaObj& chara, const cEdCommand& command);
// Parameter i of a command; 0 when it has fewer.
int CommandParam(const cEdCommand& command, int i);
// The tenth-second cadence of repeating executors: they act while the
// run's repeat counter is 0, and this counts it on, back to 0 every 6 frames.
void CountTenth(cCommandRun& run);
