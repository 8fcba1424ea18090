#pragma once
// The sub-step trace: while a recorder is installed, the world writes what
// happens inside each sub-step (the triggers fired, the deaths with their
// reason, and a line of the player's state at the end of every sub-step;
// and the parts of every drawn frame in their order) as text lines, so
// that a test can compare a run with a golden trace.
// Without a recorder nothing is written and nothing is paid.

#include <cstdint>
#include <string>
#include <vector>

class cCharaObj;
class cRunningStage;

class cTraceRecorder {
public:
    cTraceRecorder();
    ~cTraceRecorder();
    cTraceRecorder(const cTraceRecorder&) = delete;
    cTraceRecorder& operator=(const cTraceRecorder&) = delete;

    // The lines recorded so far, and only those that begin with a prefix.
    const std::vector<std::string>& Lines() const { return m_Lines; }
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const;
    void Add(std::string line) { m_Lines.push_back(std::move(line)); }
    void Clear() { m_Lines.clear(); }

private:
    std::vector<std::string> m_Lines;
    cTraceRecorder* m_Previous;
};

// The recorder installed now, or null.
extern cTraceRecorder* g_Trace;

// "fire <sub-step total> <object> <trigger>"
void TraceTrigger(const cCharaObj& chara, int trigger);
// "death <sub-step total> <object> <reason>"
void TraceDeath(const cCharaObj& chara, const char* reason);
// "draw <part> <number>": one part of the play field's frame as it is drawn
// (a pass, or an object by its number, or a block cell by its index).
void TraceDraw(const char* part, int number);
// "step <sub-step total> x y right bottom vx vy LRUD" of the player.
void TraceSubStep(const cRunningStage& stage);
