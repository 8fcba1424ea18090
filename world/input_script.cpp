#include "world/input_script.h"

#include "world/input_state.h"

cInputScript& cInputScript::Hold(std::uint16_t dir, std::uint16_t buttons, int frames)
{
    for (int i = 0; i < frames; ++i)
        m_Frames.push_back({dir, buttons});
    return *this;
}

InputFrame cInputScript::At(int n) const
{
    if (n < 0 || n >= FrameCount()) return {};
    return m_Frames[static_cast<std::size_t>(n)];
}

void cInputScript::Apply(int n, InputState& state) const
{
    const InputFrame frame = At(n);
    state.m_DirBits = frame.m_Dir;
    state.m_ButtonBits = frame.m_Buttons;
    state.m_DirCode = DirCode(frame.m_Dir);
}

cReplayLog cInputScript::ToReplayLog(std::int32_t seed) const
{
    cReplayLog log;
    log.nSeed = seed;
    for (const InputFrame& frame : m_Frames)
        log.Record(frame.m_Dir, frame.m_Buttons);
    return log;
}

cInputScript cInputScript::FromReplayLog(const cReplayLog& log)
{
    cReplayLog reader = log;
    reader.nPosA = reader.nPosB = reader.nStepA = reader.nStepB = 0;
    cInputScript script;
    InputFrame frame;
    while (!reader.Next(frame.m_Dir, frame.m_Buttons))
        script.m_Frames.push_back(frame);
    return script;
}
