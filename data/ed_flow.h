#pragma once
// A flow: one event script of a character (or, installed by a command, of
// the player): a trigger, conditions, a key sequence and the commands it
// runs in order.

#include <cstdint>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_cond.h"
#include "data/ed_data.h"
#include "data/ed_key_cond.h"

// Triggers 0 to 19: 0 always, 1 damage, 2 impact, 3 death, 4 character,
// 5 solid character, 6 riding a solid character, 7 shot, 8 item, 9 block,
// 10 block left or right, 11 left, 12 right, 13 block above or below,
// 14 above, 15 below, 16 ridden by the player, 17 ridden by a character,
// 18 before the stage starts, 19 only by the flow operation.
inline constexpr int kFlowTriggerCount = 20;

class cEdFlow : public cEdData {
public:
    std::uint8_t m_FlowId = 0; // 0 to 26; 0 none
    std::int8_t m_Group = 0;   // 0 to 26; 0 none
    std::uint8_t m_TestOnly = 0;
    std::uint8_t m_CondMode = 0;  // 0 all must hold, 1 at least one
    std::uint8_t m_CondLatch = 0; // once held, a running flow stops testing them
    std::int8_t m_Trigger = 0;
    std::uint8_t m_KeyGap = 3;    // most frames between two key conditions
    std::uint8_t m_KeyRepeat = 0; // 1 fires whenever the keys hold, 0 on the rising edge
    std::vector<cEdCond> m_Conds;
    std::vector<cEdKeyCond> m_KeyConds; // oldest step first
    std::vector<cEdCommand> m_Commands;

    void RegisterMembers(int version) override;
    // The record body, the conditions, key conditions and commands; then the
    // trigger upgrades of older files and Check. Flows nested deeper than
    // kMaxFlowNesting refuse the file.
    void Load(plat::ByteReader& f) override;
    // Check, then the same layout.
    void Save(ByteWriter& f) override;

    // A new flow: cleared, key gap 3, empty lists.
    void Clear();
    // CheckParams on every command.
    void Check();
    // CheckRefs on every command.
    void CheckRefs();
    // Whether the flow has no conditions, key conditions or commands.
    bool IsEmpty() const;
};

// Reads a flow list: uint32 n, then n new flows.
void LoadFlowList(std::vector<cEdFlow>& list, plat::ByteReader& f);
// Makes dst as long as src and assigns element by element (deep copies).
void AssignFlowList(std::vector<cEdFlow>& dst, const std::vector<cEdFlow>& src);
// Erases every test-only flow, keeping the order of the others.
void PurgeTestFlows(std::vector<cEdFlow>& list);
