#include "world/frame_seq.h"

#include <utility>

#include "core/checked_access.h"

void cFrameSeq::Build(FrameSeqTable table)
{
    if (table) m_Seqs = std::move(table);
}

void cFrameSeq::Build(std::vector<FrameSeq> sequences)
{
    Build(std::make_shared<const std::vector<FrameSeq>>(std::move(sequences)));
}

void cFrameSeq::Build(const std::int32_t* const* table)
{
    if (!table) return;
    std::vector<FrameSeq> sequences;
    for (; *table; ++table) {
        FrameSeq seq;
        const std::int32_t* triple = *table;
        for (;;) {
            seq.push_back({triple[0], triple[1], triple[2] & 0xFF});
            // A negative frame ends the array, unless it is the first step
            // of a longer list (a lone code is a sequence of one step).
            if (triple[0] < 0) break;
            triple += 3;
        }
        sequences.push_back(std::move(seq));
    }
    Build(std::move(sequences));
}

const std::vector<FrameSeq>& cFrameSeq::NoSequences()
{
    static const std::vector<FrameSeq> none;
    return none;
}

const FrameStep& cFrameSeq::StepAt(int seq, int step) const
{
    return VecAt(VecAt(Sequences(), seq), step);
}

int cFrameSeq::Set(int n, int forced)
{
    if (!forced && !Sequences().empty() && StepAt(m_Seq, m_Step).m_Flag) return 0;
    m_Seq = n;
    m_Step = 0;
    m_Counter = 0;
    return 1;
}

int cFrameSeq::Change(int n, int forced)
{
    if (n == m_Seq) return 1;
    return Set(n, forced);
}

int cFrameSeq::Step()
{
    const std::vector<FrameSeq>& seqs = Sequences();
    if (seqs.empty()) return 0;
    const FrameSeq& seq = VecAt(seqs, m_Seq);
    if (seq.empty()) return StepAt(m_Seq, m_Step).m_Frame;
    // A step that holds a code is where the sequence rests: an end, or a
    // control code with nowhere to go.
    if (StepAt(m_Seq, m_Step).m_Frame < 0) return StepAt(m_Seq, m_Step).m_Frame;
    ++m_Counter;
    if (m_Counter < StepAt(m_Seq, m_Step).m_Duration) return StepAt(m_Seq, m_Step).m_Frame;
    m_Counter = 0;
    // A sequence without a closing code holds its last frame.
    if (m_Step + 1 >= static_cast<int>(seq.size())) return StepAt(m_Seq, m_Step).m_Frame;
    ++m_Step;
    const FrameStep& next = StepAt(m_Seq, m_Step);
    if (next.m_Frame == -3) {
        const int target = next.m_Duration;
        const bool exists = target >= 0 && target < static_cast<int>(seqs.size()) &&
                            !seqs[static_cast<std::size_t>(target)].empty();
        if (exists) Set(target, 1);
    } else if (next.m_Frame == -2) {
        m_Step = 0;
    } else if (next.m_Frame == -1) {
        if (m_Step > 0) --m_Step;
    }
    return StepAt(m_Seq, m_Step).m_Frame;
}

int cFrameSeq::Current() const
{
    if (Sequences().empty()) return 0;
    return StepAt(m_Seq, m_Step).m_Frame;
}
