#pragma once
// The running copies of a character's flows and of their commands. When a
// character is set up each of its flows gets a cFlowRun and each command
// of that flow a cCommandRun; the flow runner starts, steps, pauses,
// resumes, stops and deletes them, and counts each command's time in
// sub-steps. Which flows fire is the character's FireFlows; stepping every
// running flow once per sub-step is the character's RunFlows; what each
// command kind does is its executor. Game thread only.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

class cCharaObj;
class cEdCommand;
class cEdFlow;
class cEdKeyCond;
class cRunningStage;

// One animation that a flow starts at a given run-counter value.
struct FlowAnimEntry {
    std::int32_t m_StartTime = 0;  // run-counter value at which it starts
    std::int16_t m_Anime = 0;      // Anime record (the command's m_Anime)
    std::int16_t m_Skipped = 0;    // lead-in frames without room before the command
    std::int16_t m_LeadIn = 0;     // lead-in frames that are played
    std::int16_t m_Hold = 0;       // the command's time x 6
    std::int32_t m_HoldSwitch = 0; // 0 for a jump or a sword command, else 1
};

// A point that a movement command remembered.
struct DPoint {
    double x = 0;
    double y = 0;
};

class cCommandRun {
public:
    // Prepares the command to start: remaining = duration, done 0, the
    // integer state cleared.
    void Reset();
    // One sub-step: becomes the play scene's current command run, runs its
    // executor once, counts down; 1 when its time is used up.
    int Step();
    // Derives the speed (timing mode 1) or the duration (timing mode 2) of a
    // movement command from its distance (base + step x copy number, in
    // pixels or hbl).
    void SetMoveTiming(const cEdCommand& command, int copyNo);

    const cEdCommand* m_Command = nullptr;
    std::int32_t m_Done = 0;      // finished in the current run of the flow
    std::int32_t m_Duration = 0;  // sub-steps: (time + time step x copy) x 6 x b
    std::int32_t m_Remaining = 0; // sub-steps left; 0 not started or finished
    std::uint8_t m_Kind = 0;      // the command kind
    // State the start handlers and executors keep between sub-steps.
    std::uint8_t m_Dir = 0;     // movement direction code ("direction byte")
    std::int32_t m_OffsetX = 0; // target offsets
    std::int32_t m_OffsetY = 0;
    double m_Speed = 0; // speed per sub-step; the jump's start speed
    std::int32_t m_Angle = 0;
    std::int32_t m_Radius = 0;
    std::int32_t m_Start = 0; // start, end and interval words
    std::int32_t m_End = 0;
    std::int32_t m_Interval = 0;
    double m_SpeedX = 0; // the command's own speeds
    double m_SpeedY = 0;
    std::int32_t m_FacingRequest = 0; // 1 turn left, 2 turn right, 0 none
    std::int32_t m_Repeat = 0;        // repeat counter
    std::int32_t m_Started = 0;
    double m_Phase1 = 0; // two working angles
    double m_Phase2 = 0;
    double m_MaxSpeed = 0;
    std::int32_t m_PrevFacing = 0;
    std::deque<DPoint> m_Points; // remembered target points
    std::int32_t m_CodeBoxShown = 0; // the code command showed an error box in this run
};

class cFlowRun {
public:
    // Starts the flow: running, first command, run counter 0; a "常時" flow
    // with an exclusion number marks it running and started on the current
    // character; a flow "ステージ開始前" runs its instant parallel commands
    // once and stops again.
    void Start();
    // One sub-step of the flow's commands; 1 when the last command is done.
    int Step();
    // Ends the flow: not running, every command's remaining time 0, its
    // exclusion number marked ended on the character.
    void Stop(cCharaObj& chara);
    void Pause() { m_Paused = 1; }
    void Resume() { m_Paused = 0; }
    // Stops the flow for good: it keeps its place and never runs again.
    void StopForever(cCharaObj& chara);

    std::int32_t m_Index = 0;  // index of the flow in its character's list
    std::int32_t m_Serial = 0; // from the character's flow serial counter
    const cEdFlow* m_Flow = nullptr;
    std::vector<const cEdKeyCond*> m_KeyConds;
    std::int32_t m_KeysHeld = 0; // edge memory of the key test ("matched at last test")
    std::vector<cCommandRun> m_Commands;
    std::vector<FlowAnimEntry> m_Anims; // the animation schedule
    std::int32_t m_Running = 0;
    std::int32_t m_Paused = 0;
    std::int32_t m_StoppedForGood = 0;
    std::int32_t m_DeleteRequest = 0;  // "to-be-deleted flag"
    std::int32_t m_CurIndex = 0;       // the command the flow waits for
    std::int32_t m_FirstOpen = 0;      // the commands before it are done
    std::int32_t m_RunCounter = 0;     // sub-steps stepped without finishing
    std::int32_t m_FireDir = 0;        // "input direction key" when it fired
    std::int32_t m_FiredThisFrame = 0; // "fired-this-step flag"
    std::int32_t m_MsgChain = 0;       // "message-wait flag"
    std::int32_t m_Abort = 0;          // "operated flag": give up the rest of the pass
    std::uint8_t m_Latch = 0;          // the conditions have held once
};

// One running flow of a character's flow run: a running flow without
// commands is stopped; one not paused, not stopped for good (and, for
// death flows only, of the death trigger) is stepped and stopped when it
// finishes. Whether it was stepped.
bool StepFlowRun(cCharaObj& chara, std::size_t index, int deathOnly);
// Steps every flow of a character's flow run in turn with StepFlowRun;
// 1 as soon as a stepped flow made the character vanish or, outside a
// death's run, a flow of another trigger than death left it without HP.
int StepFlowRuns(cCharaObj& chara, int deathOnly);

// The exclusion number of a flow: 1 to 26, or 0 (none) for any other value.
int FlowExclNumber(const cEdFlow& flow);
