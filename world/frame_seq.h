#pragma once
// The frame-sequence animator of every object, effect instance and overlay
// animation. A sequence is a list of steps, each showing one frame (a cell of
// the object's picture) for a number of drawn frames; a step may hold a
// control code instead:
//   -1  go back to the previous step (the last frame is held for good)
//   -2  go back to step 0 (the sequence loops)
//   -3  start the sequence named by the step's duration field, forced
//   -4 and any other negative value: handed to the caller as the frame, the
//       end of a one-shot sequence
// Drawing code calls Step once per drawn frame and draws the cell it returns;
// a negative frame draws nothing.
//
// Once a sequence has reached an end code (or a control code that leads
// nowhere: -1 on the first step, -3 naming a missing sequence, -2 or -3
// landing on another control code, a last step without a code after it),
// that step stays current and Step keeps returning its code: stepping on
// never reads past the sequence. Game thread only.

#include <cstdint>
#include <memory>
#include <vector>

struct FrameStep {
    std::int32_t m_Frame = 0;    // a cell index, or a negative control code
    std::int32_t m_Duration = 0; // drawn frames; for -3 the sequence to start
    std::int32_t m_Flag = 0;     // 1: the step may not be interrupted
};

using FrameSeq = std::vector<FrameStep>;
// A table of sequences that never changes once made, so that the animators
// showing it share it instead of each holding a copy.
using FrameSeqTable = std::shared_ptr<const std::vector<FrameSeq>>;

class cFrameSeq {
public:
    // Replaces every sequence by those of a definition table; nothing
    // happens for a null table; the current sequence, step and counter are
    // kept. The table is shared with every animator built from it, or made
    // from sequences written in code, or read from null-ended pointers to
    // step arrays, each a list of (frame, duration, flag) triples ending
    // with the first triple after the first whose frame is negative (that
    // triple included).
    void Build(FrameSeqTable table);
    void Build(std::vector<FrameSeq> sequences);
    void Build(const std::int32_t* const* table);

    // Starts sequence n at its first step. Unless forced, refused (0, nothing
    // changes) while the current step carries the flag; else 1.
    int Set(int n, int forced);
    // As Set, but 1 at once without a restart when n is already current.
    int Change(int n, int forced);
    // Advances one drawn frame and returns the frame to draw (0 without any
    // sequence; the end code again once the sequence has ended).
    int Step();
    // The frame of the current step, without advancing.
    int Current() const;

    int CurrentSequence() const { return m_Seq; }
    int CurrentStep() const { return m_Step; }
    int Counter() const { return m_Counter; }
    const std::vector<FrameSeq>& Sequences() const { return m_Seqs ? *m_Seqs : NoSequences(); }

private:
    // The current step; a sequence or step index outside its table goes
    // through the checked access.
    const FrameStep& StepAt(int seq, int step) const;
    static const std::vector<FrameSeq>& NoSequences();

    FrameSeqTable m_Seqs; // null while there is none
    std::int32_t m_Seq = 0;
    std::int32_t m_Step = 0;
    std::int32_t m_Counter = 0;
};
