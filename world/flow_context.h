#pragma once
// The play scene's current character, flow and command run: the executors
// read them to know whom they work for. A walk over a character's flows
// (firing, stepping) sets them; a walk can begin inside another one (a
// death's flows run at once, a flow starts another), so each walk keeps
// the values it found and puts them back on every way out.

#include "world/running_stage.h"

class cFlowContext {
public:
    cFlowContext() : cFlowContext(RunStage()) {}
    explicit cFlowContext(cRunningStage& stage)
        : m_Stage(stage), m_Chara(stage.m_CurChara), m_Flow(stage.m_CurFlowRun),
          m_Command(stage.m_CurCommandRun)
    {
    }
    ~cFlowContext()
    {
        m_Stage.m_CurChara = m_Chara;
        m_Stage.m_CurFlowRun = m_Flow;
        m_Stage.m_CurCommandRun = m_Command;
    }
    cFlowContext(const cFlowContext&) = delete;
    cFlowContext& operator=(const cFlowContext&) = delete;

private:
    cRunningStage& m_Stage;
    cCharaObj* m_Chara;
    cFlowRun* m_Flow;
    cCommandRun* m_Command;
};

// Counts a walk over a character's flows for its length: while one is
// going on, the flow lists keep their shape (changes wait for its end).
class cFlowWalk {
public:
    explicit cFlowWalk(cCharaObj& chara) : m_Chara(chara) { ++m_Chara.m_FlowWalks; }
    ~cFlowWalk() { --m_Chara.m_FlowWalks; }
    cFlowWalk(const cFlowWalk&) = delete;
    cFlowWalk& operator=(const cFlowWalk&) = delete;
    // The walk began outside every other walk over the same flows.
    bool Outermost() const { return m_Chara.m_FlowWalks == 1; }

private:
    cCharaObj& m_Chara;
};
