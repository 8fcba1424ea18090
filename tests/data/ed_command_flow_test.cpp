// Flows and commands: parameters sized by kind, the upgrades of older files,
// the checks against the database and the palettes, deep copies of the parts,
// the removal of test-only flows, commands that nothing can run, and the
// refusal of damaged commands.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/ed_command.h"
#include "data/ed_flow.h"
#include "data/load_checks.h"
#include "file_bytes.h"
#include "stage_fixtures.h"

namespace {

using test::FileBytes;
using Params = std::vector<std::int32_t>;

// The body of a command without parts or flows, with the stored parameters.
void PutCommand(FileBytes& b, int listKind, int kind, const Params& params, int sound = 0,
                int anime = 0)
{
    b.i32(8).u8(static_cast<std::uint8_t>(listKind)).u8(static_cast<std::uint8_t>(kind));
    b.i16(0).i16(0).u8(0).i16(static_cast<std::int16_t>(sound)).u8(1);
    b.i16(static_cast<std::int16_t>(anime));
    b.i32(1).str("").i32(0).i32(0).i32(0);
    b.i32(static_cast<std::int32_t>(params.size()));
    for (std::int32_t p : params)
        b.i32(p);
}

FileBytes CommandFile(int version, int listKind, int kind, const Params& params)
{
    FileBytes b;
    b.i32(version);
    PutCommand(b, listKind, kind, params);
    return b;
}

cEdCommand Command(int listKind, int kind, const Params& params = {})
{
    cEdCommand c;
    c.m_ListKind = static_cast<std::uint8_t>(listKind);
    c.m_Kind = static_cast<std::int8_t>(kind);
    c.m_Params = params;
    return c;
}

cEdFlow FlowWith(std::vector<cEdCommand> commands, int testOnly = 0)
{
    cEdFlow flow;
    flow.m_TestOnly = static_cast<std::uint8_t>(testOnly);
    flow.m_Commands = std::move(commands);
    return flow;
}

class FlowsAndCommands : public test::StageRecordsTest {};

TEST_F(FlowsAndCommands, NewRecordsAndListElementsStartFromTheirDefaults)
{
    const cEdFlow flow;
    EXPECT_EQ(flow.m_KeyGap, 3);
    const cEdCommand command;
    EXPECT_EQ(command.m_SoundOnScreen, 1);
    EXPECT_FALSE(command.m_Move);
    EXPECT_FALSE(command.m_Shot);

    // List elements whose bodies hold no member blocks keep the defaults.
    FileBytes file;
    file.i32(kDataVersion).i32(1).i32(0).i32(0).i32(0).i32(0).i32(1);
    file.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
    auto stream = OpenReadBytes(file.bytes());
    std::vector<cEdFlow> flows;
    LoadFlowList(flows, stream->in);
    ASSERT_FALSE(stream->in.failed());
    ASSERT_EQ(flows.size(), 1u);
    EXPECT_EQ(flows[0].m_KeyGap, 3);
    ASSERT_EQ(flows[0].m_Commands.size(), 1u);
    EXPECT_EQ(flows[0].m_Commands[0].m_SoundOnScreen, 1);
}

TEST_F(FlowsAndCommands, KindTablesGiveTheParameterCounts)
{
    EXPECT_EQ(g_CharaCommandInfo[22].m_ParamCount, 18);
    EXPECT_EQ(g_CharaCommandInfo[31].m_ParamCount, 11);
    EXPECT_EQ(g_FlowCommandInfo[1].m_ParamCount, 2);
    // Flow/item kind k from 2 on is character kind k + 15.
    for (int k = 2; k < kFlowCommandKinds; ++k) {
        EXPECT_EQ(g_FlowCommandInfo[k].m_ParamCount, g_CharaCommandInfo[k + 15].m_ParamCount);
        EXPECT_STREQ(g_FlowCommandInfo[k].m_Label, g_CharaCommandInfo[k + 15].m_Label);
    }
    EXPECT_EQ(FindCommandInfo(0, 37), nullptr);
    EXPECT_EQ(FindCommandInfo(1, 22), nullptr);
    EXPECT_EQ(FindCommandInfo(2, 21), &g_FlowCommandInfo[21]);
}

TEST_F(FlowsAndCommands, ParametersAreSizedByTheKindOnLoadAndSave)
{
    struct Case {
        int listKind, kind;
        Params stored, loaded;
    };
    const Case cases[] = {
        {0, 17, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5}},
        {0, 17, {1, 2, 3}, {1, 2, 3, 0, 0}},
        {1, 2, {9}, {9, 0, 0, 0, 0}},
        {0, 2, {4, 4}, {}},
        {1, 1, {}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.listKind << "/" << c.kind);
        cEdCommand loaded;
        ASSERT_EQ(
            LoadFileBytes(loaded, CommandFile(kDataVersion, c.listKind, c.kind, c.stored).bytes()),
            1);
        EXPECT_EQ(loaded.m_Params, c.loaded);
        cEdCommand saved = Command(c.listKind, c.kind, c.stored);
        cEdCommand back;
        ASSERT_EQ(LoadFileBytes(back, SaveToBytes(saved)), 1);
        EXPECT_EQ(back.m_Params, c.loaded);
    }
}

TEST_F(FlowsAndCommands, OlderParametersAreUpgraded)
{
    struct Case {
        const char* what;
        int version, listKind, kind;
        Params stored, loaded;
    };
    auto statusWith = [](std::initializer_list<std::pair<int, int>> set) {
        Params p(18, 0);
        for (auto [i, v] : set)
            p[static_cast<std::size_t>(i)] = v;
        return p;
    };
    const Case cases[] = {
        {"stage clear gets five parameters", 144, 0, 17, {1, 2, 3}, {1, 2, 3, 0, 0}},
        {"music gets its loop switch", 165, 0, 35, {1}, {1, 1}},
        {"music from 166 keeps it", 166, 0, 35, {1, 0}, {1, 0}},
        {"self status 12 moves twice", 160, 0, 22, statusWith({{4, 12}}), statusWith({{4, 14}})},
        {"self status 7 moves once", 160, 0, 22, statusWith({{4, 7}}), statusWith({{4, 8}})},
        {"system status is not moved", 160, 0, 22, statusWith({{3, 2}, {4, 12}}),
         statusWith({{3, 2}, {4, 12}})},
        {"a variable is not moved", 160, 0, 22, statusWith({{0, 1}, {4, 12}}),
         statusWith({{0, 1}, {4, 12}})},
        {"right status 10 moves twice", 167, 0, 22, statusWith({{0, 1}, {6, 2}, {13, 10}}),
         statusWith({{0, 1}, {6, 2}, {13, 12}})},
        {"status from 203 stays", 203, 0, 22, statusWith({{4, 7}}), statusWith({{4, 7}})},
        {"target gets a parameter at 2",
         188,
         0,
         21,
         {1, 2, 3, 4, 5, 6, 7, 8, 9},
         {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
        {"target from 189 is sized",
         189,
         0,
         21,
         {1, 2, 3, 4, 5, 6, 7, 8, 9},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}},
        {"picture gets a 1 at 6",
         193,
         0,
         31,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 10}},
        {"character effect gets a parameter at 1", 194, 0, 29, {1, 6}, {1, 0, 6}},
        {"screen effect gets a parameter at 1", 194, 0, 30, {1, 6}, {1, 0, 6}},
        {"second status operation switch 6 moves", 209, 0, 23, {0, 6, 3}, {0, 7, 3}},
        {"second status operation system switch stays", 209, 0, 23, {2, 6, 3}, {2, 6, 3}},
        {"graphic change to the shot sheet moves", 218, 0, 25, {3, 5, 0}, {3, 6, 0}},
        {"graphic change stays within 119", 218, 0, 25, {3, 119, 0}, {3, 119, 0}},
        {"graphic change of another sheet stays", 218, 0, 25, {2, 5, 0}, {2, 5, 0}},
        {"graphic change from 219 stays", 219, 0, 25, {3, 5, 0}, {3, 5, 0}},
        {"item stage clear gets five parameters", 144, 1, 2, {1}, {1, 0, 0, 0, 0}},
        {"item music gets its loop switch", 165, 1, 20, {1}, {1, 1}},
        {"item status moves twice", 160, 1, 7, statusWith({{4, 12}}), statusWith({{4, 14}})},
        {"item target gets a parameter at 2",
         188,
         1,
         6,
         {1, 2, 3, 4, 5, 6, 7, 8, 9},
         {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
        {"item picture gets a 1 at 6",
         193,
         1,
         16,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 10}},
        {"item effect gets a parameter at 1", 194, 1, 14, {1, 6}, {1, 0, 6}},
        {"item second status operation", 209, 1, 8, {0, 6, 3}, {0, 7, 3}},
        {"item graphic change", 218, 1, 10, {3, 5, 0}, {3, 6, 0}},
        {"a flow change is never upgraded", 100, 1, 1, {2, 3}, {2, 3}},
        {"the current version is never upgraded",
         kDataVersion,
         0,
         21,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdCommand command;
        ASSERT_EQ(
            LoadFileBytes(command, CommandFile(c.version, c.listKind, c.kind, c.stored).bytes()),
            1);
        EXPECT_EQ(command.m_Params, c.loaded);
    }
}

TEST_F(FlowsAndCommands, OlderShotCommandsTakeTheNextShotGraphic)
{
    struct Case {
        int version, kind, graphic, loaded;
    };
    const Case cases[] = {
        {219, 11, 5, 6},
        {219, 11, 119, 119},
        {220, 11, 5, 5},
        {219, 13, 5, 5},
    };
    for (const Case& c : cases) {
        cEdCommand command = Command(0, c.kind);
        MakeShotPart(command.m_Shot);
        command.m_Shot->m_Graphic = static_cast<std::int16_t>(c.graphic);
        cEdCommand loaded;
        ASSERT_EQ(LoadFileBytes(loaded, test::SaveAtVersion(command, c.version)), 1);
        ASSERT_TRUE(loaded.m_Shot);
        EXPECT_EQ(loaded.m_Shot->m_Graphic, c.loaded) << c.version << " " << c.graphic;
    }
    // An old shot command without its part loads without one.
    cEdCommand bare;
    ASSERT_EQ(LoadFileBytes(bare, CommandFile(200, 0, 11, {}).bytes()), 1);
    EXPECT_FALSE(bare.m_Shot);
}

TEST_F(FlowsAndCommands, DatabaseReferencesOutsideTheirTablesAreReset)
{
    // The default database: 1 AnimeSet, 2 of Anime, Effect, CharaEffect,
    // ScrEffect, Picture, Sound and Bgm.
    struct Case {
        int listKind, kind, p0, loaded;
    };
    const Case cases[] = {
        {0, 26, 5, 0}, {0, 26, 0, 0}, {0, 27, 5, 1},  {0, 27, 1, 1}, {0, 28, -1, 1}, {0, 29, 2, 1},
        {0, 30, 7, 1}, {0, 31, 2, 1}, {0, 34, 1, 1},  {0, 34, 9, 1}, {0, 35, 3, 1},  {0, 35, 0, 0},
        {0, 9, 9, 9},  {1, 11, 9, 0}, {1, 12, 9, 1},  {1, 13, 9, 1}, {1, 14, 9, 1},  {1, 15, 9, 1},
        {1, 16, 9, 1}, {1, 19, 2, 1}, {1, 20, -5, 1}, {1, 17, 9, 9}, {1, 3, 9, 9},
    };
    for (const Case& c : cases) {
        cEdCommand command = Command(c.listKind, c.kind, {c.p0});
        command.CheckParams();
        ASSERT_FALSE(command.m_Params.empty());
        EXPECT_EQ(command.m_Params[0], c.loaded) << c.listKind << "/" << c.kind << " " << c.p0;
    }

    struct Fields {
        int anime, sound, outAnime, outSound;
    };
    for (const Fields& f : {Fields{2, -1, 0, 0}, Fields{1, 1, 1, 1}, Fields{-3, 2, 0, 0}}) {
        cEdCommand command = Command(0, 1);
        command.m_Anime = static_cast<std::int16_t>(f.anime);
        command.m_Sound = static_cast<std::int16_t>(f.sound);
        cEdCommand loaded;
        ASSERT_EQ(LoadFileBytes(loaded, SaveToBytes(command)), 1);
        EXPECT_EQ(loaded.m_Anime, f.outAnime);
        EXPECT_EQ(loaded.m_Sound, f.outSound);
    }
}

TEST_F(FlowsAndCommands, ReferencesIntoTablesOfOneRecordAreResetToNone)
{
    // Tables that hold only their none record: a reset to 1 would name a
    // record past the end, which would close the game when it is played.
    g_Database.Anime.resize(1);
    g_Database.Effect.resize(1);
    g_Database.CharaEffect.resize(1);
    g_Database.ScrEffect.resize(1);
    g_Database.Picture.resize(1);
    g_Database.Sound.resize(1);
    g_Database.Bgm.resize(1);
    for (int kind : {27, 28, 29, 30, 31, 34, 35}) {
        cEdCommand command = Command(0, kind, {5});
        command.CheckParams();
        ASSERT_FALSE(command.m_Params.empty());
        EXPECT_EQ(command.m_Params[0], 0) << "kind " << kind;
    }
}

TEST_F(FlowsAndCommands, SwordTimeIsItsPartsSummedAndCapped)
{
    auto swordType = [](std::initializer_list<int> times) {
        cEdSwordType type;
        type.m_Parts.clear();
        for (int t : times) {
            cEdSwordPart part;
            part.m_Setting[9] = t;
            type.m_Parts.push_back(part);
        }
        return type;
    };
    g_Database.SwordType = {swordType({3, 4}), swordType({6000, 5000}),
                            swordType({9000, 2000, -500})};
    struct Case {
        int type, outType, time;
    };
    const Case cases[] = {{0, 0, 7}, {1, 1, 9999}, {2, 2, 9499}, {3, 0, 7}, {200, 0, 7}};
    for (const Case& c : cases) {
        cEdCommand sword = Command(0, 12);
        MakeShotPart(sword.m_Shot);
        sword.m_Shot->m_MoveKind = static_cast<std::uint8_t>(c.type);
        sword.CheckParams();
        EXPECT_EQ(sword.m_Shot->m_MoveKind, c.outType) << c.type;
        EXPECT_EQ(sword.m_Time, c.time) << c.type;
    }

    // A sword without its part keeps its time and loads.
    cEdCommand bare = Command(0, 12);
    bare.m_Time = 42;
    cEdCommand loaded;
    ASSERT_EQ(LoadFileBytes(loaded, SaveToBytes(bare)), 1);
    EXPECT_FALSE(loaded.m_Shot);
    EXPECT_EQ(loaded.m_Time, 42);
    loaded.CheckRefs();

    // An empty sword table leaves the time alone.
    g_Database.SwordType.clear();
    cEdCommand lone = Command(0, 12);
    MakeShotPart(lone.m_Shot);
    lone.m_Time = 5;
    lone.CheckParams();
    EXPECT_EQ(lone.m_Time, 5);
}

TEST_F(FlowsAndCommands, PaletteReferencesOutsideThePalettesAreReset)
{
    g_CommonPalette.PaletteBlocks.resize(3);
    g_CommonPalette.PaletteCharas.resize(4);
    g_CommonPalette.PaletteItems.resize(5);
    g_Stage.PaletteBlocks.resize(2);
    g_Stage.PaletteCharas.resize(2);
    g_Stage.PaletteItems.resize(2);

    struct ItemCase {
        int kind, palette, index, outPalette, outIndex;
    };
    const ItemCase itemCases[] = {
        {11, 1, 4, 1, 4}, {11, 1, 5, 0, 0},   {12, 2, 2, 0, 0}, {12, 2, -1, 0, 0},
        {11, 2, 1, 2, 1}, {11, 3, 99, 3, 99}, {13, 1, 9, 1, 9},
    };
    for (const ItemCase& c : itemCases) {
        cEdCommand command = Command(0, c.kind);
        MakeShotPart(command.m_Shot);
        command.m_Shot->m_ItemPalette = static_cast<std::uint8_t>(c.palette);
        command.m_Shot->m_ItemIndex = static_cast<std::int16_t>(c.index);
        command.CheckRefs();
        EXPECT_EQ(command.m_Shot->m_ItemPalette, c.outPalette) << c.kind << " " << c.index;
        EXPECT_EQ(command.m_Shot->m_ItemIndex, c.outIndex) << c.kind << " " << c.index;
    }

    struct SummonCase {
        int kind, palette, index, outIndex;
    };
    const SummonCase summonCases[] = {
        {13, 0, 2, 2}, {13, 0, 3, 1}, {13, 1, 2, 1},   {14, 0, 3, 3},   {14, 0, 4, 1},
        {15, 0, 4, 4}, {15, 1, 5, 1}, {15, 2, 50, 50}, {11, 0, 50, 50},
    };
    for (const SummonCase& c : summonCases) {
        cEdCommand command = Command(0, c.kind);
        MakeShotPart(command.m_Shot);
        command.m_Shot->m_SummonPalette = static_cast<std::uint8_t>(c.palette);
        command.m_Shot->m_SummonIndex = static_cast<std::int16_t>(c.index);
        command.CheckRefs();
        EXPECT_EQ(command.m_Shot->m_SummonIndex, c.outIndex) << c.kind << " " << c.index;
    }

    struct GetCase {
        int listKind, kind, p0, p1, outP1;
    };
    const GetCase getCases[] = {
        {0, 24, 0, 4, 4},   {0, 24, 0, 5, 1}, {0, 24, 1, 2, 1},
        {0, 24, 2, 50, 50}, {1, 9, 0, 5, 1},  {1, 9, 1, 1, 1},
    };
    for (const GetCase& c : getCases) {
        cEdCommand command = Command(c.listKind, c.kind, {c.p0, c.p1});
        command.CheckRefs();
        EXPECT_EQ(command.m_Params[1], c.outP1) << c.listKind << "/" << c.kind << " " << c.p1;
    }

    // The commands of a command's flows are checked too.
    cEdCommand outer = Command(1, 1, {0, 0});
    outer.m_Flows.push_back(FlowWith({Command(0, 24, {0, 9})}));
    outer.CheckRefs();
    EXPECT_EQ(outer.m_Flows[0].m_Commands[0].m_Params[1], 1);
}

TEST_F(FlowsAndCommands, CopiesNeverShareTheirParts)
{
    cEdCommand original = Command(0, 11);
    MakeShotPart(original.m_Shot);
    MakeMovePart(original.m_Move);
    original.m_Shot->m_Power = 5;
    original.m_Move->m_Speed = 20;
    original.m_Text = "text";
    cEdCommand inner = Command(0, 2);
    MakeMovePart(inner.m_Move);
    original.m_Flows.push_back(FlowWith({inner}));

    cEdCommand copy = original;
    ASSERT_TRUE(copy.m_Shot && copy.m_Move);
    EXPECT_NE(copy.m_Shot.get(), original.m_Shot.get());
    EXPECT_NE(copy.m_Move.get(), original.m_Move.get());
    EXPECT_EQ(copy.m_Shot.use_count(), 1);
    copy.m_Shot->m_Power = 99;
    copy.m_Move->m_Speed = 1;
    copy.m_Flows[0].m_Commands[0].m_Move->m_Speed = 3;
    EXPECT_EQ(original.m_Shot->m_Power, 5);
    EXPECT_EQ(original.m_Move->m_Speed, 20);
    EXPECT_EQ(original.m_Flows[0].m_Commands[0].m_Move->m_Speed, 10);
    EXPECT_EQ(copy.m_Text, "text");

    cEdCommand withParts = original;
    withParts = Command(0, 1);
    EXPECT_FALSE(withParts.m_Shot);
    EXPECT_FALSE(withParts.m_Move);

    std::vector<cEdCommand> list(4);
    AssignCommandList(list, {original, original});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_NE(list[0].m_Shot.get(), list[1].m_Shot.get());
    std::vector<cEdFlow> flows;
    AssignFlowList(flows, original.m_Flows);
    ASSERT_EQ(flows.size(), 1u);
    EXPECT_NE(flows[0].m_Commands[0].m_Move.get(), original.m_Flows[0].m_Commands[0].m_Move.get());
}

TEST_F(FlowsAndCommands, WholeCommandsRoundTrip)
{
    cEdCommand command = Command(0, 22, Params(18, 7));
    command.m_Text = "code";
    command.m_Time = -4;
    command.m_TimeStep = 3;
    command.m_Parallel = 1;
    command.m_Sound = 1;
    command.m_SoundOnScreen = 0;
    command.m_Anime = 1;
    MakeMovePart(command.m_Move);
    command.m_Move->m_TurnFactor = 0.25;
    MakeShotPart(command.m_Shot);
    command.m_Shot->m_Power = -77;
    cEdFlow flow = FlowWith({Command(1, 2, {1, 2, 3, 4, 5})});
    flow.m_Conds.resize(2);
    flow.m_Conds[1].m_Kind = 7;
    flow.m_KeyConds.resize(1);
    flow.m_KeyConds[0].m_KeyStates[3] = 2;
    flow.m_Trigger = 19;
    command.m_Flows.push_back(flow);

    const auto bytes = SaveToBytes(command);
    cEdCommand back;
    ASSERT_EQ(LoadFileBytes(back, bytes), 1);
    EXPECT_EQ(SaveToBytes(back), bytes);
    ASSERT_TRUE(back.m_Move && back.m_Shot);
    EXPECT_EQ(back.m_Move->m_TurnFactor, 0.25);
    EXPECT_EQ(back.m_Shot->m_Power, -77);
    ASSERT_EQ(back.m_Flows.size(), 1u);
    EXPECT_EQ(back.m_Flows[0].m_Trigger, 19);
    EXPECT_EQ(back.m_Flows[0].m_Conds[1].m_Kind, 7);
    EXPECT_EQ(back.m_Flows[0].m_KeyConds[0].m_KeyStates[3], 2);
    EXPECT_EQ(back.m_Text, "code");
}

TEST_F(FlowsAndCommands, OlderFlowTriggersAreRenumbered)
{
    struct Case {
        int version, trigger, group;
        int outTrigger, outGroup;
    };
    const Case cases[] = {
        {130, 12, 0, 15, 0},
        {130, 4, 0, 4, 0},
        {130, 5, 0, 7, 0},
        {131, 11, 0, 14, 0},
        {132, 11, 0, 13, 0},
        {162, 2, 3, 2, 0},
        {162, 0, 3, 0, 3},
        {163, 2, 3, 2, 3},
        {163, 5, 0, 7, 0},
        {164, 5, 0, 5, 0},
        {kDataVersion, 12, 4, 12, 4},
    };
    for (const Case& c : cases) {
        cEdFlow flow;
        flow.m_Trigger = static_cast<std::int8_t>(c.trigger);
        flow.m_Group = static_cast<std::int8_t>(c.group);
        cEdFlow loaded;
        ASSERT_EQ(LoadFileBytes(loaded, test::SaveAtVersion(flow, c.version)), 1);
        EXPECT_EQ(loaded.m_Trigger, c.outTrigger) << c.version << " " << c.trigger;
        EXPECT_EQ(loaded.m_Group, c.outGroup) << c.version << " " << c.trigger;
    }
}

TEST_F(FlowsAndCommands, TestOnlyFlowsStayOnlyInTestPlaysOrWhenKept)
{
    cEdCommand change = Command(1, 1, {0, 0});
    for (int i = 0; i < 4; ++i) {
        change.m_Flows.push_back(FlowWith({Command(0, 1)}, i % 2 == 0));
        change.m_Flows.back().m_FlowId = static_cast<std::uint8_t>(i + 1);
    }
    const auto bytes = SaveToBytes(change);

    struct Case {
        int startedByTool, keep;
        std::vector<int> ids;
    };
    const Case cases[] = {{0, 0, {2, 4}}, {1, 0, {1, 2, 3, 4}}, {0, 1, {1, 2, 3, 4}}};
    for (const Case& c : cases) {
        g_StartedByTool = c.startedByTool;
        g_System.bKeepTestFlows = c.keep;
        cEdCommand loaded;
        ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
        std::vector<int> ids;
        for (const cEdFlow& flow : loaded.m_Flows)
            ids.push_back(flow.m_FlowId);
        EXPECT_EQ(ids, c.ids) << c.startedByTool << c.keep;
    }
}

// A command that no table can run (an unknown kind, fire pattern or shot
// movement) loads as a step of kind 0 that does nothing, and says so in the
// run report; the file it is in loads.
using UnknownCommands = test::StageReportTest;

TEST_F(UnknownCommands, LoadAsCommandsWithoutEffect)
{
    struct Case {
        const char* what;
        int listKind, kind;
        bool withShot;
        int pattern, moveKind;
        const char* unknown; // what the report names; null: a command that runs
    };
    const Case cases[] = {
        {"character kind 37", 0, 37, false, 0, 0, "command kind 37"},
        {"negative kind", 0, -1, false, 0, 0, "command kind -1"},
        {"flow/item kind 22", 1, 22, false, 0, 0, "command kind 22"},
        {"last character kind", 0, 36, false, 0, 0, nullptr},
        {"last flow/item kind", 1, 21, false, 0, 0, nullptr},
        {"shot pattern 6", 0, 11, true, 6, 0, "fire pattern 6"},
        {"shot pattern 5", 0, 11, true, 5, 9, nullptr},
        {"shot movement 10", 0, 11, true, 0, 10, "shot movement 10"},
        {"summon pattern 6", 0, 14, true, 6, 0, "fire pattern 6"},
        {"summons do not move", 0, 13, true, 0, 10, nullptr},
        {"a sword names its sword type there", 0, 12, true, 0, 10, nullptr},
        {"a part the kind does not use", 0, 2, true, 9, 20, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdCommand command = Command(c.listKind, c.kind, {1, 2, 3});
        command.m_Time = 25;
        command.m_Text = "text";
        command.m_Flows.push_back(FlowWith({Command(0, 1)}));
        if (c.withShot) {
            MakeShotPart(command.m_Shot);
            command.m_Shot->m_Pattern = static_cast<std::uint8_t>(c.pattern);
            command.m_Shot->m_MoveKind = static_cast<std::uint8_t>(c.moveKind);
        }
        std::ofstream("report.txt", std::ios::trunc).close();
        cEdCommand loaded;
        ASSERT_EQ(LoadFileBytes(loaded, SaveToBytes(command)), 1);
        const auto lines = reportLines();
        if (!c.unknown) {
            EXPECT_EQ(loaded.m_Kind, c.kind);
            EXPECT_TRUE(lines.empty());
            continue;
        }
        EXPECT_EQ(loaded.m_ListKind, c.listKind);
        EXPECT_EQ(loaded.m_Kind, 0);
        EXPECT_EQ(loaded.m_Time, 25) << "the step keeps its time";
        EXPECT_TRUE(loaded.m_Params.empty());
        EXPECT_TRUE(loaded.m_Text.empty());
        EXPECT_FALSE(loaded.m_Shot);
        EXPECT_TRUE(loaded.m_Flows.empty());
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], std::string("(memory): the command at byte 4 has ") + c.unknown +
                                ", which no table holds; it is read as a command without effect");
    }
}

TEST_F(FlowsAndCommands, FlowsNestedTooDeepRefuseTheFile)
{
    // A flow whose command holds a flow, and so on, `levels` flows deep.
    auto nested = [](int levels) {
        cEdFlow flow;
        for (int i = 1; i < levels; ++i) {
            cEdCommand command = Command(1, 1, {0, 0});
            command.m_Flows.push_back(flow);
            flow = FlowWith({command});
        }
        return flow;
    };
    cEdFlow deepest = nested(kMaxFlowNesting);
    cEdFlow loaded;
    EXPECT_EQ(LoadFileBytes(loaded, SaveToBytes(deepest)), 1);
    cEdFlow tooDeep = nested(kMaxFlowNesting + 1);
    EXPECT_EQ(LoadFileBytes(loaded, SaveToBytes(tooDeep)), 0);
    // The refusal leaves nothing behind for the next file.
    EXPECT_EQ(LoadFileBytes(loaded, SaveToBytes(deepest)), 1);
}

} // namespace
