#pragma once
// A command: one step of a flow, or of the command list of an item or block
// effect. A kind number (from the character command table when m_ListKind
// is 0, else from the flow/item command table), integer parameters sized by
// the kind, a text, timing and presentation fields, an optional movement
// part and an optional shot part, and the flows that a flow-change command
// installs.
//
// The movement and shot parts are owned by this command alone: copying a
// command always makes new parts with copied values. The kinds that use a
// part (movements 2 to 7 and the warp 20: m_Move; shots, sword and summons
// 11 to 15: m_Shot) may still lack it in a file; users test the pointer.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_move.h"
#include "data/ed_shot.h"

class cEdFlow;

class cEdCommand : public cEdData {
public:
    std::uint8_t m_ListKind = 0; // 0 character command, otherwise flow/item command
    std::int8_t m_Kind = 0;
    std::string m_Text;               // the message, or the code text
    std::int16_t m_Time = 0;          // tenths of a second
    std::int16_t m_TimeStep = 0;      // per copy number of the running character
    std::uint8_t m_Parallel = 0;      // the next command starts in the same sub-step
    std::int16_t m_Sound = 0;         // Sound record played when it fires; 0 none
    std::uint8_t m_SoundOnScreen = 1; // only while the character is on screen
    std::int16_t m_Anime = 0;         // Anime record shown while it runs; 0 none
    std::shared_ptr<cEdMove> m_Move;
    std::shared_ptr<cEdShot> m_Shot;
    std::vector<cEdFlow> m_Flows;
    std::vector<std::int32_t> m_Params;

    cEdCommand();
    ~cEdCommand() override;
    // Copies every value and makes new parts: a copy never shares a part.
    cEdCommand(const cEdCommand& src);
    cEdCommand& operator=(const cEdCommand& src);
    cEdCommand(cEdCommand&&) noexcept;
    cEdCommand& operator=(cEdCommand&&) noexcept;

    void RegisterMembers(int version) override;
    // The record body, the parts (each behind a uint32 flag), the flows and
    // the parameters; then the upgrades of older files, the removal of
    // test-only flows and CheckParams. A kind, fire pattern or shot movement
    // outside its table makes it a command of kind 0 without parameters,
    // parts or flows (it does nothing), with a line in the run report and
    // the error log that names the file and the command's place in it.
    void Load(plat::ByteReader& f) override;
    // CheckParams, then the same layout.
    void Save(ByteWriter& f) override;

    // A new command: cleared, no parts, sound on screen only.
    void Clear();
    // Sizes the parameters to the kind's count and resets database
    // references outside their tables; the same for the flows' commands.
    void CheckParams();
    // Resets palette references outside their palettes; the same for the
    // flows' commands.
    void CheckRefs();
};

// Reads a command list: uint32 n, then n new commands.
void LoadCommandList(std::vector<cEdCommand>& list, plat::ByteReader& f);
// Makes dst as long as src and assigns element by element (deep copies).
void AssignCommandList(std::vector<cEdCommand>& dst, const std::vector<cEdCommand>& src);
