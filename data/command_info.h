#pragma once
// The two tables of command kinds: the character commands that flows run as
// timed steps, and the flow/item commands that items and block effects run
// at once on the player. The game reads only the parameter counts, to size a
// loaded command's parameters.

#include <cstdint>

struct CommandInfo {
    const char* m_Label;       // UTF-8; Label() gives the game's text
    std::int32_t m_ParamCount; // parameters of a command of this kind

    // The label as the game's Shift-JIS text.
    const char* Label() const;
};

inline constexpr int kCharaCommandKinds = 37;
inline constexpr int kFlowCommandKinds = 22;

extern const CommandInfo g_CharaCommandInfo[kCharaCommandKinds];
extern const CommandInfo g_FlowCommandInfo[kFlowCommandKinds];

// The entry of a kind in the table of a list kind (0 character commands,
// otherwise flow/item commands); null for a kind outside its table.
const CommandInfo* FindCommandInfo(int listKind, int kind);
