// The commands that stop the game: the game wait and the message. The
// pause thread is stood in for by services that record each wait (the
// wait record and the message list as the pause thread would find them)
// and then draw the frames a test asks for, as the pause thread does.

#include "media/graphics_fixture.h"

#include <functional>
#include <list>
#include <vector>

#include "data/ed_command.h"
#include "media/font.h"
#include "world/command_object.h"
#include "world/flow_fixture.h"
#include "world/message.h"
#include "world/play_pictures.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kGameWait = 18;
constexpr int kMessage = 19;
constexpr int kWait = 1;
constexpr std::uint32_t kMessageSound = 11;

// What the pause thread found when it was asked for.
struct SeenWait {
    PauseWait wait;
    std::size_t messages = 0;
    int kind = -1; // of the last message
    int zoom = -1;
    int timeLeft = 0;
    std::size_t sounds = 0; // sounds asked for before the wait
};

class WaitServices : public cRecordingServices {
public:
    void RunPauseWait() override
    {
        cRecordingServices::RunPauseWait();
        const cRunningStage& stage = RunStage();
        SeenWait seen;
        seen.wait = stage.m_PauseWait;
        seen.messages = stage.m_MessageList.size();
        if (!stage.m_MessageList.empty()) {
            const cMessage& last = stage.m_MessageList.back();
            seen.kind = last.m_Kind;
            seen.zoom = last.m_Zoom;
            seen.timeLeft = last.m_TimeLeft;
        }
        seen.sounds = m_Sounds.size();
        m_Seen.push_back(seen);
        if (m_During) m_During();
    }

    std::vector<SeenWait> m_Seen;
    std::function<void()> m_During; // the pause thread's frames
};

class WaitCommands : public test::FlowFixture {
protected:
    void SetUp() override
    {
        test::FlowFixture::SetUp();
        ASSERT_TRUE(SetUpMode(gfxtest::AllModes().front(), 640, 480));
        InitFontDef();
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(g_Fonts[1].Create(d.face.data(), d.fontWidth, d.fontHeight, d.cellWidth,
                                      d.lineHeight, d.colour, nullptr, 1, 240, nullptr));
        ASSERT_TRUE(DDCreateSurface(&m_Dest, 640, 480, 0, 1, 0, 0, 0));
        SetWorldServices(&m_Waits);
    }
    void TearDown() override
    {
        SetWorldServices(nullptr);
        m_Play->m_MessageList.clear();
        DDReleaseSurfaceList(g_MessageSurfaces);
        g_MessageSurfaces.clear();
        g_MessageSurfaceDefs.clear();
        g_Fonts[1].Release();
        std::erase(g_FontList, &g_Fonts[1]);
        g_Fonts[1] = Font();
        DDReleaseSurface(&m_Dest);
        gfxtest::TearDownMode();
        test::FlowFixture::TearDown();
    }

    // A message command: placement, block x, y, offsets, keep on screen,
    // duration mode, time in tenths, stops the game, expand codes.
    static cEdCommand MessageCommand(const char* text, std::vector<int> params)
    {
        cEdCommand command = Command(kMessage);
        command.m_Params = std::move(params);
        command.m_Text = text;
        return command;
    }
    // Frames of the pause thread: each message drawn, and removed when its
    // drawing says so.
    void DrawFrames(int frames)
    {
        std::list<cMessage>& list = Play().m_MessageList;
        for (int i = 0; i < frames; ++i)
            for (auto it = list.begin(); it != list.end();)
                it = it->Draw(&m_Dest, 1) ? list.erase(it) : std::next(it);
    }

    WaitServices m_Waits;
    DDSURFACEDATA m_Dest;
};

TEST_F(WaitCommands, AGameWaitStopsTheGameForItsTime)
{
    Start();
    for (int tenths : {3, 0}) {
        m_Waits.m_Seen.clear();
        EXPECT_EQ(GameWait(Command(kGameWait, 0, {tenths})), 0);
        ASSERT_EQ(m_Waits.m_Seen.size(), 1u) << tenths;
        const SeenWait& seen = m_Waits.m_Seen[0];
        EXPECT_EQ(seen.wait.m_Kind, 0);
        EXPECT_EQ(seen.wait.m_WaitButton, 0);
        EXPECT_EQ(seen.wait.m_Frames, tenths * 6);
        EXPECT_EQ(seen.wait.m_KeyLock, 0);
        EXPECT_EQ(seen.wait.m_Counter, 0);
        // An invisible timer of the same time is on the list meanwhile.
        EXPECT_EQ(seen.messages, 1u);
        EXPECT_EQ(seen.kind, 0);
        EXPECT_EQ(seen.timeLeft, tenths * 6);
        EXPECT_TRUE(Play().m_MessageList.empty());
    }
    EXPECT_TRUE(m_Waits.m_Sounds.empty());
}

TEST_F(WaitCommands, AButtonMessageWaitsWithTheKeyLockAndItsSound)
{
    Start();
    struct Case {
        int mode, tenths, stops, chained;
        int waits, button, frames, keyLock, zoom;
        std::vector<std::uint32_t> sounds;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 1, 1, 0, 10, 1, {kMessageSound}}, // until a button
        {0, 0, 1, 1, 1, 1, 0, 0, 0, {}},               // following another: no lock, zoom, sound
        {2, 5, 1, 0, 1, 0, 30, 0, 0, {}},              // for a time
        {2, 5, 1, 1, 1, 0, 30, 0, 0, {}},
        {1, 0, 1, 0, 0, 0, 0, 0, 0, {}}, // until the stage ends: nothing could end a stop
        {5, 0, 1, 0, 0, 0, 0, 0, 0, {}}, // a mode the data does not know, the same
        {0, 0, 0, 0, 0, 0, 0, 0, 1, {}}, // the game goes on
    };
    for (const Case& c : cases) {
        m_Waits.m_Seen.clear();
        m_Waits.m_Sounds.clear();
        Play().m_PauseWait = PauseWait{4, 3, 7, 99, 1};
        const cEdCommand command =
            MessageCommand("AB", {0, 0, 0, 0, 0, 0, c.mode, c.tenths, c.stops});
        EXPECT_EQ(ShowMessage(Player(), command, c.chained), 0);
        const std::string label = std::to_string(c.mode) + " " + std::to_string(c.stops) + " " +
                                  std::to_string(c.chained);
        EXPECT_EQ(m_Waits.m_Sounds, c.sounds) << label;
        ASSERT_EQ(static_cast<int>(m_Waits.m_Seen.size()), c.waits) << label;
        if (c.waits == 0) {
            // Not waited for: it stays on the list with its window, and the
            // wait record is left as it was.
            EXPECT_EQ(Play().m_PauseWait.m_Kind, 4) << label;
            EXPECT_EQ(Play().m_PauseWait.m_Frames, 99) << label;
            ASSERT_EQ(Play().m_MessageList.size(), 1u);
            EXPECT_EQ(Play().m_MessageList.back().m_Zoom, c.zoom);
            EXPECT_EQ(g_MessageSurfaces.size(), 1u);
            RemoveMessage(&Play().m_MessageList.back());
            continue;
        }
        const SeenWait& seen = m_Waits.m_Seen[0];
        EXPECT_EQ(seen.wait.m_Kind, 1) << label;
        EXPECT_EQ(seen.wait.m_WaitButton, c.button) << label;
        EXPECT_EQ(seen.wait.m_Frames, c.frames) << label;
        EXPECT_EQ(seen.wait.m_KeyLock, c.keyLock) << label;
        EXPECT_EQ(seen.kind, 1);
        EXPECT_EQ(seen.zoom, c.zoom) << label;
        EXPECT_EQ(seen.sounds, c.sounds.size()) << "the sound comes before the wait";
        // Afterwards the message and its window are gone.
        EXPECT_TRUE(Play().m_MessageList.empty()) << label;
        EXPECT_TRUE(g_MessageSurfaces.empty()) << label;
        EXPECT_TRUE(g_MessageSurfaceDefs.empty()) << label;
    }
}

TEST_F(WaitCommands, TheMessageFollowsItsOwnerAndTakesItsParameters)
{
    AddChara(20, 10);
    Start();
    g_Progress.vCommonVar.assign(256, 0);
    g_Progress.vCommonVar[5] = 42;
    cNpcObj& chara = Chara(0);
    const int owners[] = {0,
                          chara.m_ObjNo,
                          chara.m_ObjNo,
                          chara.m_ObjNo,
                          Player().m_ObjNo,
                          Player().m_ObjNo,
                          Player().m_ObjNo,
                          0,
                          0};
    ASSERT_NE(chara.m_ObjNo, Player().m_ObjNo);
    for (int placement = 0; placement <= 8; ++placement) {
        ShowMessage(chara, MessageCommand("#C5", {placement, 2, 3, 4, 5, 1, 2, 7, 0, 1}), 0);
        const cMessage& m = Play().m_MessageList.back();
        EXPECT_EQ(m.m_ObjectNo, owners[placement]) << placement;
        EXPECT_EQ(m.m_Placement, placement);
        EXPECT_EQ(m.m_BlockX, 2);
        EXPECT_EQ(m.m_BlockY, 3);
        EXPECT_EQ(m.m_OffsetX, 4);
        EXPECT_EQ(m.m_OffsetY, 5);
        EXPECT_EQ(m.m_KeepOnScreen, 1);
        EXPECT_EQ(m.m_DurationMode, 2);
        EXPECT_EQ(m.m_TimeLeft, 42);
        EXPECT_EQ(m.m_StopsGame, 0);
        EXPECT_EQ(m.m_Text, "42");
    }
    EXPECT_TRUE(m_Waits.m_Seen.empty());
    // A command with fewer parameters reads 0 for the missing ones.
    ShowMessage(chara, MessageCommand("#C5", {}), 0);
    EXPECT_EQ(Play().m_MessageList.back().m_Text, "#C5");
    EXPECT_EQ(Play().m_MessageList.back().m_DurationMode, 0);
}

TEST_F(WaitCommands, NoMessageStartsOnceTheProgramCloses)
{
    Start();
    Play().m_StopFlag = 1;
    ShowMessage(Player(), MessageCommand("AB", {0, 0, 0, 0, 0, 0, 0, 0, 1}), 0);
    EXPECT_TRUE(Play().m_MessageList.empty());
    EXPECT_TRUE(m_Waits.m_Seen.empty());
    EXPECT_TRUE(m_Waits.m_Sounds.empty());
}

TEST_F(WaitCommands, TheAwaitedMessageIsRemovedByIdentity)
{
    Start();
    // A message that stays meanwhile, before the awaited one.
    ShowMessage(Player(), MessageCommand("XY", {0, 0, 0, 0, 0, 0, 1, 0, 0}), 0);
    const cMessage* staying = &Play().m_MessageList.front();
    DDSURFACEDATA* stayingWindow = staying->m_Surface;
    struct Case {
        const char* what;
        cEdCommand command;
        int frames; // drawn by the pause thread
    };
    const Case cases[] = {
        // Timed out during the wait: the drawing removed it.
        {"timed out", MessageCommand("AB", {0, 0, 0, 0, 0, 0, 2, 1, 1}), 7},
        // Still there after the wait.
        {"still shown", MessageCommand("AB", {0, 0, 0, 0, 0, 0, 0, 0, 1}), 3},
    };
    for (const Case& c : cases) {
        m_Waits.m_During = [&] { DrawFrames(c.frames); };
        ShowMessage(Player(), c.command, 0);
        ASSERT_EQ(Play().m_MessageList.size(), 1u) << c.what;
        EXPECT_EQ(&Play().m_MessageList.front(), staying) << c.what;
        ASSERT_EQ(g_MessageSurfaces.size(), 1u) << c.what;
        EXPECT_EQ(&g_MessageSurfaces.front(), stayingWindow) << c.what;
        EXPECT_EQ(g_MessageSurfaceDefs.size(), 1u) << c.what;
    }
    // The same for the game wait's timer.
    m_Waits.m_During = [&] { DrawFrames(19); };
    GameWait(Command(kGameWait, 0, {3}));
    ASSERT_EQ(Play().m_MessageList.size(), 1u);
    EXPECT_EQ(&Play().m_MessageList.front(), staying);
}

TEST_F(WaitCommands, AButtonMessageThatFollowsAnotherOfItsFlowOpensQuietly)
{
    // Two button messages, a plain wait, then another: the second follows
    // the first; the wait breaks the chain.
    const cEdCommand button = MessageCommand("AB", {0, 0, 0, 0, 0, 0, 0, 0, 1});
    Hero().Flows = {Flow(0, {button, button, Command(kWait), button, Command(kWait, 100)})};
    Start();
    for (int frame = 0; frame < 20 && m_Waits.m_Seen.size() < 3; ++frame)
        Frame();
    ASSERT_EQ(m_Waits.m_Seen.size(), 3u);
    const int keyLocks[] = {10, 0, 10};
    const int zooms[] = {1, 0, 1};
    const std::size_t sounds[] = {1, 1, 2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_Waits.m_Seen[i].wait.m_KeyLock, keyLocks[i]) << i;
        EXPECT_EQ(m_Waits.m_Seen[i].zoom, zooms[i]) << i;
        EXPECT_EQ(m_Waits.m_Seen[i].sounds, sounds[i]) << i;
    }
    EXPECT_TRUE(Play().m_MessageList.empty());
}

TEST_F(WaitCommands, TheExecutorsRunTheBodies)
{
    Start();
    cCommandRun run;
    EXPECT_EQ(ExecGameWait(Player(), run), 0);
    EXPECT_EQ(ExecMessage(Player(), run), 0);
    EXPECT_TRUE(m_Waits.m_Seen.empty());
    const cEdCommand wait = Command(kGameWait, 0, {2});
    run.m_Command = &wait;
    EXPECT_EQ(ExecGameWait(Player(), run), 0);
    ASSERT_EQ(m_Waits.m_Seen.size(), 1u);
    EXPECT_EQ(m_Waits.m_Seen[0].wait.m_Frames, 12);
    // Outside a flow the message is not chained.
    const cEdCommand message = MessageCommand("AB", {0, 0, 0, 0, 0, 0, 0, 0, 1});
    run.m_Command = &message;
    Play().m_CurFlowRun = nullptr;
    EXPECT_EQ(ExecMessage(Player(), run), 0);
    ASSERT_EQ(m_Waits.m_Seen.size(), 2u);
    EXPECT_EQ(m_Waits.m_Seen[1].wait.m_KeyLock, 10);
}

} // namespace
