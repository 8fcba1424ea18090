#pragma once
// The tests of flows and movement: a small stage with a hero, set up by the
// stage set-up and played through the play scene frame by frame with the
// input each frame holds; sounds, music, boxes and close requests are kept
// by recording services. Builders of flows, commands and key conditions.
//
// Every global the stage reads or writes (the live stage, the system data,
// the progress record, the input records, the Anime sequences) is put back
// when a test ends.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "data/ed_flow.h"
#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "scenes/game_play.h"
#include "world/database_tables.h"
#include "world/input_state.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace test {

// A command of the character command table.
inline cEdCommand Command(int kind, int timeTenths = 0, std::initializer_list<int> params = {},
                          int parallel = 0)
{
    cEdCommand command;
    command.Clear();
    command.m_Kind = static_cast<std::int8_t>(kind);
    command.m_Time = static_cast<std::int16_t>(timeTenths);
    command.m_Parallel = static_cast<std::uint8_t>(parallel);
    command.m_Params.assign(params.begin(), params.end());
    return command;
}

// A movement command: the part starts with its defaults, then `set`.
inline cEdCommand MoveCommand(int kind, int timeTenths, const std::function<void(cEdMove&)>& set)
{
    cEdCommand command = Command(kind, timeTenths);
    MakeMovePart(command.m_Move);
    set(*command.m_Move);
    return command;
}

inline cEdFlow Flow(int trigger, std::vector<cEdCommand> commands, int group = 0, int id = 0)
{
    cEdFlow flow;
    flow.Clear();
    flow.m_Trigger = static_cast<std::int8_t>(trigger);
    flow.m_Group = static_cast<std::int8_t>(group);
    flow.m_FlowId = static_cast<std::uint8_t>(id);
    flow.m_Commands = std::move(commands);
    return flow;
}

// A key condition: each (slot, state) pair; slots 0 to 9 directions, 10 to
// 18 buttons; states 1 pressed, 2 released.
inline cEdKeyCond Key(std::initializer_list<std::pair<int, int>> states, int mode = 0,
                      int anyLength = 1, int minHold = 0, int maxHold = 0, int relative = 0)
{
    cEdKeyCond key;
    key.Reset();
    for (const auto& [slot, state] : states)
        key.m_KeyStates[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(state);
    key.m_Mode = static_cast<std::uint8_t>(mode);
    key.m_HoldAny = static_cast<std::uint8_t>(anyLength);
    key.m_HoldMin = static_cast<std::int16_t>(minHold);
    key.m_HoldMax = static_cast<std::int16_t>(maxHold);
    key.m_Relative = static_cast<std::uint8_t>(relative);
    return key;
}

// Key slots of the input record's lists.
inline constexpr int kSlotNone = 0;
inline constexpr int kSlotLeft = 1;
inline constexpr int kSlotRight = 2;
inline constexpr int kSlotUp = 3;
inline constexpr int kSlotDown = 4;
inline constexpr int kSlotButton1 = 11;
inline constexpr int kSlotButton2 = 12;

class FlowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_SavedStage = g_Stage;
        m_SavedSystem = g_System;
        m_SavedProgress = g_Progress;
        m_SavedInput = g_InputState;
        m_SavedAnimeSeqs = g_AnimeSeqs;
        m_SavedOption = g_Option;
        g_Stage = cEdStage();
        g_Stage.nWidth = 40;
        g_Stage.nHeight = 15;
        g_Stage.nSpeedLevel = 2;
        g_Stage.dGravity = 0.4;
        g_Stage.bShowStatus = 0;
        g_Stage.PlacedCharas.clear();
        g_Stage.PlacedItems.clear();
        g_Stage.PlacedBlocks.clear();
        g_System.bRecordReplay = 0;
        g_InputState.assign(1, InputState());
        m_Play = std::make_unique<cGamePlay>();
        m_Services = std::make_unique<cRecordingServices>();
        SetWorldServices(m_Services.get());
        Hero();
        g_Stage.SetSpeedLevel(g_Stage.nSpeedLevel);
    }

    void TearDown() override
    {
        SetWorldServices(nullptr);
        m_Play.reset();
        g_Stage = m_SavedStage;
        g_System = m_SavedSystem;
        g_Progress = m_SavedProgress;
        g_InputState = m_SavedInput;
        g_AnimeSeqs = m_SavedAnimeSeqs;
        g_Option = m_SavedOption;
    }

    // The hero's placed definition (made on first use at block (5, 10),
    // facing right, without flows).
    cEdChara& Hero()
    {
        for (cEdChara& chara : g_Stage.PlacedCharas)
            if (chara.nOperator == 0) return chara;
        cEdChara hero;
        hero.Clear();
        hero.nOperator = 0;
        hero.nGraphicNo = 1;
        hero.nX = 5;
        hero.nY = 10;
        hero.nFacing = 1;
        hero.nGroup = 0;
        hero.nCarriedItem = -1;
        g_Stage.PlacedCharas.insert(g_Stage.PlacedCharas.begin(), hero);
        return g_Stage.PlacedCharas.front();
    }

    // A placed computer character at a block, walking, facing left.
    cEdChara& AddChara(int x, int y, int group = 1)
    {
        cEdChara chara;
        chara.Clear();
        chara.nOperator = 1;
        chara.nGraphicNo = 2;
        chara.nX = static_cast<std::int16_t>(x);
        chara.nY = static_cast<std::int16_t>(y);
        chara.nGroup = static_cast<std::uint8_t>(group);
        chara.nCarriedItem = -1;
        g_Stage.PlacedCharas.push_back(chara);
        return g_Stage.PlacedCharas.back();
    }

    cEdItem& AddItem(int x, int y)
    {
        cEdItem item;
        item.Clear();
        item.nX = static_cast<std::int16_t>(x);
        item.nY = static_cast<std::int16_t>(y);
        item.nGraphicNo = 3;
        g_Stage.PlacedItems.push_back(item);
        return g_Stage.PlacedItems.back();
    }

    // Solid blocks on a row from column x0 to x1.
    void Floor(int y, int x0, int x1, int hitMode = 1)
    {
        for (int x = x0; x <= x1; ++x) {
            cEdBlock block;
            block.Clear();
            block.nX = static_cast<std::int16_t>(x);
            block.nY = static_cast<std::int16_t>(y);
            block.nGraphicNo = 1;
            block.nHitMode = static_cast<std::int8_t>(hitMode);
            g_Stage.PlacedBlocks.push_back(block);
        }
    }

    // The stage set-up, and the play phase from the next frame on.
    void Start()
    {
        m_Play->SetStage(0, 1);
        m_Play->m_Phase = PHASE_PLAY;
    }

    // One frame of play with this input held.
    void Frame(std::uint16_t dir = 0, std::uint16_t buttons = 0)
    {
        InputState& input = g_InputState[0];
        input.m_DirBits = dir;
        input.m_ButtonBits = buttons;
        input.m_DirCode = DirCode(dir);
        m_Play->PhasePlay();
    }

    // Input history only, as the play step keeps it, without playing.
    static void PushInput(std::uint16_t dir, std::uint16_t buttons, int frames = 1)
    {
        InputState& input = g_InputState[0];
        for (int i = 0; i < frames; ++i) {
            input.m_DirBits = dir;
            input.m_ButtonBits = buttons;
            PushKeyHistory(input);
            UpdateKeyEdges(input);
        }
    }

    cGamePlay& Play() { return *m_Play; }
    cPlayerObj& Player() { return m_Play->Player.front(); }
    cNpcObj& Chara(int n)
    {
        auto it = m_Play->m_CharaList.begin();
        std::advance(it, n);
        return *it;
    }

    std::unique_ptr<cGamePlay> m_Play;
    std::unique_ptr<cRecordingServices> m_Services;

private:
    cEdStage m_SavedStage;
    cEdSystem m_SavedSystem;
    cSaveData m_SavedProgress;
    std::vector<InputState> m_SavedInput;
    std::vector<FrameSeq> m_SavedAnimeSeqs;
    cEdOption m_SavedOption;
};

} // namespace test
