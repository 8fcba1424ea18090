// The animations played over a character: the frame to draw, the flows'
// scheduled animations and the flow operations on them.

#include <climits>
#include <list>
#include <vector>

#include "core/checked_access.h"
#include "world/chara_obj.h"
#include "world/database_tables.h"

namespace {

constexpr int kEndCode = -4;

// An overlay for a scheduled animation: it shows its lead-in, counting down
// to the start of its command, then lasts the command's hold frames.
OverlayAnim MakeScheduledOverlay(const FlowAnimEntry& entry, int serial)
{
    FrameSeq seq = VecAt(g_AnimeSeqs, entry.m_Anime);
    // The held part lasts as long as the command holds it.
    if (entry.m_Hold > 1 && entry.m_HoldSwitch) {
        for (FrameStep& step : seq) {
            if (!step.m_Flag) continue;
            const long long lengthened = static_cast<long long>(step.m_Duration) + entry.m_Hold - 1;
            step.m_Duration = lengthened > INT_MAX ? INT_MAX : static_cast<int>(lengthened);
            break;
        }
    }
    OverlayAnim overlay;
    overlay.m_Seq.Build({std::move(seq)});
    overlay.m_Seq.Set(0, 1);
    // The lead-in frames that had no room before the command are skipped.
    for (int i = 0; i < entry.m_Skipped; ++i)
        overlay.m_Seq.Step();
    overlay.m_Ranked = 1;
    overlay.m_Countdown = entry.m_LeadIn;
    overlay.m_Length = entry.m_Hold;
    overlay.m_FlowSerial = serial;
    return overlay;
}

// A flow that is running (not paused, not stopped for good) with
// scheduled animations.
bool SchedulesAnimes(const cFlowRun& run)
{
    return !run.m_Anims.empty() && run.m_Running && !run.m_Paused && !run.m_StoppedForGood;
}

// The overlays of the animations that start at their flow's run counter,
// from the first flow that schedules any. Out of line: the caller's test
// stays small.
[[gnu::noinline]] void StartAnimesFrom(std::list<OverlayAnim>& overlays,
                                       std::vector<cFlowRun>::const_iterator run,
                                       std::vector<cFlowRun>::const_iterator end)
{
    for (; run != end; ++run) {
        if (!SchedulesAnimes(*run)) continue;
        for (const FlowAnimEntry& entry : run->m_Anims)
            if (entry.m_StartTime == run->m_RunCounter)
                overlays.push_back(MakeScheduledOverlay(entry, run->m_Serial));
    }
}

} // namespace

int cCharaObj::CurrentFrame(int hold)
{
    if (!hold) {
        m_Anime.Step();
        for (auto it = m_Overlays.begin(); it != m_Overlays.end();) {
            if (it->m_Held) {
                ++it;
                continue;
            }
            if (it->m_Seq.Step() == kEndCode) {
                it = m_Overlays.erase(it);
                continue;
            }
            if (it->m_Countdown > INT_MIN) --it->m_Countdown;
            ++it;
        }
    }
    if (m_Overlays.empty()) return m_Anime.Current();
    // Of the flows' overlays, the one started last wins once any has
    // started; before that, the one that starts soonest. Another overlay
    // shows only when no flow overlay is chosen.
    int best = INT_MAX;
    const OverlayAnim* chosen = nullptr;
    bool startedTaken = false;
    for (const OverlayAnim& overlay : m_Overlays) {
        if (overlay.m_Held) continue;
        const int c = overlay.m_Countdown;
        if (startedTaken) {
            if (c <= 0 && best <= 0 && best < c) {
                chosen = &overlay;
                if (overlay.m_Ranked) best = c;
            }
        } else if (overlay.m_Ranked) {
            if (c <= 0 && best <= 0) {
                chosen = &overlay;
                startedTaken = true;
                best = c;
            } else if (c < best) {
                chosen = &overlay;
                best = c;
            }
        } else if (!chosen) {
            chosen = &overlay;
            best = INT_MAX;
        }
    }
    return chosen ? chosen->m_Seq.Current() : m_Anime.Current();
}

void cCharaObj::StartScheduledAnimes()
{
    // Most flows schedule no animation: they cost only this test.
    for (auto run = m_FlowRuns.cbegin(); run != m_FlowRuns.cend(); ++run) {
        if (SchedulesAnimes(*run)) {
            StartAnimesFrom(m_Overlays, run, m_FlowRuns.cend());
            return;
        }
    }
}

void cCharaObj::RemoveOverlays(int serial)
{
    m_Overlays.remove_if([serial](const OverlayAnim& o) { return o.m_FlowSerial == serial; });
}

void cCharaObj::EndOverlays(int serial)
{
    for (auto it = m_Overlays.begin(); it != m_Overlays.end();) {
        if (it->m_FlowSerial != serial) {
            ++it;
            continue;
        }
        // One already past its length goes; the others wait, frozen.
        if (static_cast<long long>(it->m_Countdown) + it->m_Length - 1 < 0) {
            it = m_Overlays.erase(it);
            continue;
        }
        it->m_Held = 1;
        ++it;
    }
}

void cCharaObj::ResumeOverlays(int serial)
{
    for (OverlayAnim& overlay : m_Overlays)
        if (overlay.m_FlowSerial == serial) overlay.m_Held = 0;
}
