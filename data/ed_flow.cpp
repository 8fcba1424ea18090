#include "data/ed_flow.h"

#include <algorithm>

#include "data/load_checks.h"

void cEdFlow::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField1(&m_FlowId, 1);
    AddField1(&m_Group, 1);
    AddField1(&m_TestOnly, 1);
    AddField1(&m_CondMode, 1);
    AddField1(&m_CondLatch, 1);
    AddField1(&m_Trigger, 1);
    AddField1(&m_KeyGap, 1);
    AddField1(&m_KeyRepeat, 1);
}

void cEdFlow::Load(plat::ByteReader& f)
{
    FlowNesting nesting;
    if (!nesting.ok()) {
        MarkBadContent(f);
        return;
    }
    cEdData::Load(f);
    LoadCondList(m_Conds, f);
    LoadKeyCondList(m_KeyConds, f);
    LoadCommandList(m_Commands, f);
    const int v = g_FileVersion;
    if (v < kDataVersion) {
        // Triggers were inserted into the list: at 11, and later two at 5.
        if (v <= 131 && m_Trigger >= 11) ++m_Trigger;
        // Groups once applied only to the always-trigger.
        if (v < 163 && m_Trigger != 0) m_Group = 0;
        if (v < 164 && m_Trigger >= 5) m_Trigger = static_cast<std::int8_t>(m_Trigger + 2);
    }
    Check();
}

void cEdFlow::Save(ByteWriter& f)
{
    Check();
    cEdData::Save(f);
    SaveVector(m_Conds, f);
    SaveVector(m_KeyConds, f);
    SaveVector(m_Commands, f);
}

void cEdFlow::Clear()
{
    cEdData::Clear();
    m_KeyGap = 3;
}

void cEdFlow::Check()
{
    for (cEdCommand& command : m_Commands)
        command.CheckParams();
}

void cEdFlow::CheckRefs()
{
    for (cEdCommand& command : m_Commands)
        command.CheckRefs();
}

bool cEdFlow::IsEmpty() const
{
    return m_Conds.empty() && m_KeyConds.empty() && m_Commands.empty();
}

void LoadFlowList(std::vector<cEdFlow>& list, plat::ByteReader& f)
{
    LoadVector(list, f, cEdFlow{});
}

void AssignFlowList(std::vector<cEdFlow>& dst, const std::vector<cEdFlow>& src)
{
    dst = src;
}

void PurgeTestFlows(std::vector<cEdFlow>& list)
{
    std::erase_if(list, [](const cEdFlow& flow) { return flow.m_TestOnly != 0; });
}
