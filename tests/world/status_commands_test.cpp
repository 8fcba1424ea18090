// The status switches, the item, graphic, animation, background, sound,
// music and code commands.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_command.h"
#include "support/world_fixture.h"
#include "world/command_status.h"
#include "world/commands.h"
#include "world/database_tables.h"

namespace {

cEdCommand Command(std::vector<std::int32_t> params)
{
    cEdCommand c;
    c.m_Params = std::move(params);
    return c;
}

class StatusCommands : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        cEdStage data = test::MakeStage(20, 15, 2, 2);
        data.PlacedBlocks.push_back(test::BlockAt(2, 3));
        Start(data);
        cNpcObj npc;
        npc.m_ObjNo = 1;
        npc.m_Operator = 1;
        npc.m_Def.nMaxHP = 10;
        npc.m_Hp = 10;
        other = &stage->AddChara(npc);
        other->m_TargetNo = -1;
    }

    cNpcObj* other = nullptr;
};

TEST_F(StatusCommands, VanishOnItselfAndOnOthers)
{
    const cEdCommand self = Command({0, 0, 1});
    StatusOperation2(*other, self);
    EXPECT_EQ(other->m_Vanish, 1);
    EXPECT_EQ(stage->m_LifeCheck, 0) << "its own flows end it";

    other->m_Vanish = 0;
    stage->SetTarget(player(), other->m_ObjNo);
    const cEdCommand target = Command({1, 0, 0});
    StatusOperation2(player(), target);
    EXPECT_EQ(other->m_Vanish, 1);
    EXPECT_EQ(stage->m_LifeCheck, 1) << "another character: the play step checks";

    stage->m_LifeCheck = 0;
    stage->SetTarget(*other, player().m_ObjNo);
    StatusOperation2(*other, target);
    EXPECT_EQ(player().m_Hp, 0) << "the player loses its hit points instead";
    EXPECT_EQ(player().m_Vanish, 0);
    EXPECT_EQ(stage->m_LifeCheck, 1);

    other->m_TargetNo = -1;
    player().m_Hp = 10;
    StatusOperation2(*other, target);
    EXPECT_EQ(player().m_Hp, 10) << "no target: nothing";
}

TEST_F(StatusCommands, FlyingChangesOnlyThePlayer)
{
    StatusOperation2(*other, Command({0, 3, 1}));
    EXPECT_EQ(other->m_Def.nFlying, 0);
    EXPECT_EQ(other->m_Flying, 0);
    StatusOperation2(player(), Command({0, 3, 2}));
    EXPECT_EQ(player().m_Def.nFlying, 2);
    EXPECT_EQ(player().m_Flying, 1);
    EXPECT_EQ(player().m_BlockMode, 1);
}

TEST_F(StatusCommands, GrowingKeepsTheFeetOnTheGround)
{
    cPlayerObj& p = player();
    const double bottom = p.m_Bottom;
    const int width = p.m_Width0;
    StatusOperation2(p, Command({0, 5, 3}));
    EXPECT_EQ(p.m_Def.nSize, 3);
    EXPECT_EQ(p.m_Width, 3 * width);
    EXPECT_DOUBLE_EQ(p.m_Bottom, bottom);
    EXPECT_EQ(p.m_ItemBox.m_Width, 3 * g_Stage.nPlayerPickW) << "the item box grows too";
    StatusOperation2(p, Command({0, 5, 1}));
    EXPECT_DOUBLE_EQ(p.m_Bottom, bottom);
    EXPECT_EQ(p.m_Width, width);
    // Factors outside 1 to 10 are held to them.
    StatusOperation2(p, Command({0, 5, 0}));
    EXPECT_EQ(p.m_Def.nSize, 1);
    StatusOperation2(p, Command({0, 5, 50}));
    EXPECT_EQ(p.m_Def.nSize, 10);
    EXPECT_EQ(p.m_Width, 10 * width);
}

TEST_F(StatusCommands, SwitchesOfTheCharacterAndTheSystem)
{
    StatusOperation2(*other, Command({0, 1, 1}));
    StatusOperation2(*other, Command({0, 2, 0}));
    StatusOperation2(*other, Command({0, 4, 2}));
    StatusOperation2(*other, Command({0, 6, 1}));
    EXPECT_EQ(other->m_Def.bTransparent, 1);
    EXPECT_EQ(other->m_Def.bFixedFacing, 0);
    EXPECT_EQ(other->m_Def.nInvincible, 2);
    EXPECT_EQ(other->m_Def.bScrollSync, 1);
    EXPECT_EQ(other->m_ScrollFollow, 1);

    g_Stage.nAutoScrollY = 30;
    StatusOperation2(*other, Command({2, 1, 1}));
    EXPECT_EQ(g_Stage.bAutoScrollY, 1);
    EXPECT_EQ(stage->m_ScrollY.m_Auto, 1);
    EXPECT_GT(stage->m_ScrollY.m_Speed, 0);
    StatusOperation2(*other, Command({2, 1, 0}));
    EXPECT_EQ(stage->m_ScrollY.m_Auto, 0);
    EXPECT_EQ(stage->m_ScrollY.m_Speed, 0);
}

TEST_F(StatusCommands, GetItemFromAnUnknownPaletteClearsNothing)
{
    stage->m_ClearRequest = 1;
    GetItem(*other, Command({2, 1}));
    EXPECT_EQ(stage->m_ClearRequest, 0);
    stage->m_ClearRequest = 1;
    GetItem(*other, Command({-1, 1}));
    EXPECT_EQ(stage->m_ClearRequest, 0);
    EXPECT_EQ(services.m_CloseRequests, 0);
}

TEST_F(StatusCommands, GraphicAndAnimeSet)
{
    ChangeGraphic(*other, Command({-2, 70000, 5}));
    EXPECT_EQ(other->m_GraphicKind, -2);
    EXPECT_EQ(other->m_GraphicNo, static_cast<std::int16_t>(70000));
    EXPECT_EQ(other->m_Def.nGraphicNo, static_cast<std::int16_t>(70000));
    EXPECT_EQ(other->m_Def.nGraphicFrame, 5);

    g_Database.AnimeSet.resize(3);
    ChangeAnimeSet(*other, Command({2}));
    EXPECT_EQ(other->m_Def.nAnimeSet, 2);
}

TEST_F(StatusCommands, EachSubStepOfTheAnimeCommandStartsAPlayer)
{
    const std::vector<FrameSeq> saved = g_AnimeSeqs;
    g_AnimeSeqs = {FrameSeq{{0, 1, 1}, {-2, 0, 1}}, FrameSeq{{5, 6, 0}, {6, 6, 0}, {-4, 0, 0}}};
    cEdCommand anime = Command({1});
    anime.m_Kind = 27;
    cCommandRun run;
    run.m_Command = &anime;
    cFlowRun flow;
    flow.m_Serial = 7;
    stage->m_CurFlowRun = &flow;
    for (int subStep = 0; subStep < 3; ++subStep)
        g_CharaCommandProc[27](*other, run);
    stage->m_CurFlowRun = nullptr;
    ASSERT_EQ(other->m_Overlays.size(), 3u);
    for (const OverlayAnim& overlay : other->m_Overlays) {
        EXPECT_EQ(overlay.m_FlowSerial, 7);
        EXPECT_EQ(overlay.m_Ranked, 0);
        EXPECT_EQ(overlay.m_Countdown, 0);
        EXPECT_EQ(overlay.m_Seq.Sequences().size(), 1u);
        EXPECT_EQ(overlay.m_Seq.Current(), 5);
    }
    g_AnimeSeqs = saved;
}

TEST_F(StatusCommands, EffectPlacements)
{
    stage->m_ScrollX.m_Pos = 100.5;
    stage->m_ScrollY.m_Pos = 40;
    other->m_ScrLeft = 200;
    other->m_ScrTop = 150;
    other->m_PicWidth = 32;
    other->m_PicHeight = 48;
    struct Case {
        int placement;
        int x;
        int y;
    };
    // A 96 x 72 effect, block (2, 3), offsets (5, -7).
    const Case cases[] = {
        {0, 5 + 100 + 320 - 48, -7 + 40 + 240 - 36},
        {1, 5 + 200 + 16 + 100 - 48, -7 + 150 + 24 + 40 - 36},
        {3, 100 + 64 + 5, 40 + 96 - 7},
        {4, (2 + kMapMargin) * 32 + 5, (3 + kMapMargin) * 32 - 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placement);
        int x = 0;
        int y = 0;
        EffectPosition(x, y, 96, 72, *other, c.placement, 2, 3, 5, -7);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
    cPlayerObj& p = player();
    int x = 0;
    int y = 0;
    EffectPosition(x, y, 96, 72, *other, 2, 2, 3, 5, -7);
    EXPECT_EQ(x, static_cast<int>(5 + p.m_ScrLeft + p.m_PicWidth / 2 + 100.5 - 48));
}

TEST_F(StatusCommands, BackgroundLayers)
{
    g_Stage.Layers.resize(2);
    g_Stage.Layers[0].bShow = 1;
    g_Stage.Layers[1].bShow = 1;
    struct Case {
        int layer;
        int action;
        int shown0;
        int shown1;
    };
    const Case cases[] = {
        {2, 1, 1, 0}, // hide the second
        {2, 2, 1, 1}, // toggle it back
        {1, 2, 0, 1}, // toggle the first
        {1, 0, 1, 1}, // show it
        {0, 1, 1, 1}, // no layer 0
        {3, 1, 1, 1}, // no layer 3
        {1, 3, 1, 1}, // no action 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layer << " " << c.action);
        ChangeBackground(*other, Command({c.layer, c.action}));
        EXPECT_EQ(g_Stage.Layers[0].bShow, c.shown0);
        EXPECT_EQ(g_Stage.Layers[1].bShow, c.shown1);
    }
}

TEST_F(StatusCommands, SoundsAndMusic)
{
    cEdCommand sound = Command({4});
    other->m_OnScreen = 0;
    PlaySoundCommand(*other, sound);
    EXPECT_TRUE(services.m_Sounds.empty()) << "off screen";
    other->m_OnScreen = 1;
    PlaySoundCommand(*other, sound);
    sound.m_SoundOnScreen = 0;
    other->m_OnScreen = 0;
    PlaySoundCommand(*other, sound);
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{20, 20}));
    PlaySoundCommand(*other, Command({0}));
    EXPECT_EQ(services.m_Sounds.size(), 2u) << "sound 0 is none";

    services.m_Music.clear();
    PlayBgmCommand(*other, Command({3, 1}));
    PlayBgmCommand(*other, Command({0, 0}));
    EXPECT_EQ(services.m_Music, (std::vector<std::int32_t>{3, 0}));
    EXPECT_EQ(g_Progress.bStageMusicLoop, 0);
}

TEST_F(StatusCommands, ACodeCommandShowsOneErrorBoxPerRun)
{
    cEdCommand code;
    code.m_Kind = 36;
    code.m_Text = "v1 = v1 + 1 v2 = ( 1 / 0 )";
    cCommandRun run;
    run.m_Command = &code;
    run.m_Duration = 3;
    stage->m_CurCommandRun = &run;
    for (int pass = 0; pass < 2; ++pass) {
        for (run.m_Remaining = run.m_Duration; run.m_Remaining > 0; --run.m_Remaining)
            RunCode(*other, code);
    }
    stage->m_CurCommandRun = nullptr;
    EXPECT_EQ(other->m_Vars[1], 6) << "the text ran on every sub-step";
    ASSERT_EQ(services.m_ErrorBoxes.size(), 2u) << "one box for each of the two runs";
    EXPECT_EQ(services.m_ErrorBoxes[0], Sjis("0除算が行われました！( 1 / 0 )"));
    // Run outside a command run (an item list): each run its box.
    RunCode(*other, code);
    EXPECT_EQ(services.m_ErrorBoxes.size(), 3u);
}

} // namespace
