#include "world/trace.h"

#include "core/format.h"
#include "world/running_stage.h"

cTraceRecorder* g_Trace = nullptr;

cTraceRecorder::cTraceRecorder() : m_Previous(g_Trace)
{
    g_Trace = this;
}

cTraceRecorder::~cTraceRecorder()
{
    g_Trace = m_Previous;
}

std::vector<std::string> cTraceRecorder::LinesStartingWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const std::string& line : m_Lines)
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

namespace {

int SubStepTotal()
{
    return g_RunStage ? g_RunStage->m_SubStepTotal : 0;
}

} // namespace

void TraceTrigger(const cCharaObj& chara, int trigger)
{
    if (!g_Trace) return;
    std::string line;
    FormatStr(line, "fire %d %d %d", SubStepTotal(), chara.m_ObjNo, trigger);
    g_Trace->Add(std::move(line));
}

void TraceDeath(const cCharaObj& chara, const char* reason)
{
    if (!g_Trace) return;
    std::string line;
    FormatStr(line, "death %d %d %s", SubStepTotal(), chara.m_ObjNo, reason ? reason : "");
    g_Trace->Add(std::move(line));
}

void TraceDraw(const char* part, int number)
{
    if (!g_Trace) return;
    std::string line;
    FormatStr(line, "draw %s %d", part, number);
    g_Trace->Add(std::move(line));
}

void TraceSubStep(const cRunningStage& stage)
{
    if (!g_Trace || stage.Player.empty()) return;
    const cPlayerObj& p = stage.Player.front();
    std::string line;
    FormatStr(line, "step %d %.6f %.6f %.6f %.6f %.6f %.6f %d%d%d%d", stage.m_SubStepTotal, p.m_X,
              p.m_Y, p.m_Right, p.m_Bottom, p.m_SpeedX, p.m_SpeedY, p.m_ContactL, p.m_ContactR,
              p.m_ContactU, p.m_ContactD);
    g_Trace->Add(std::move(line));
}
