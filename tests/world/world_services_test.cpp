// The services the world asks for: the live ones reach what the shell
// registers, the recording sink keeps every request.

#include <gtest/gtest.h>

#include <vector>

#include "data/ed_save_data.h"
#include "world/world_services.h"

namespace {

TEST(WorldServices, TheLiveOnesReachTheRegisteredHooks)
{
    std::vector<int> music;
    int pauseWaits = 0;
    SetLiveServiceHooks({[&music](std::int32_t n) { music.push_back(n); },
                         [](int vk) { return vk == 0x20 ? 1 : 0; }, [] { return 1; },
                         [&pauseWaits] { ++pauseWaits; }, [] { return 4711u; }});
    cWorldServices& live = WorldServices();
    live.PlayMusic(3);
    EXPECT_EQ(music, std::vector<int>{3});
    EXPECT_EQ(live.KeyDown(0x20), 1);
    EXPECT_EQ(live.KeyDown(0x21), 0);
    EXPECT_EQ(live.CheckReplayKeys(), 1);
    live.RunPauseWait();
    EXPECT_EQ(pauseWaits, 1);
    EXPECT_EQ(live.NowMs(), 4711u);
    SetLiveServiceHooks({});
    live.PlayMusic(4);
    EXPECT_EQ(music.size(), 1u) << "nothing registered: nothing happens";
    EXPECT_EQ(live.KeyDown(0x20), 0);
    EXPECT_EQ(live.CheckReplayKeys(), 0);
}

TEST(WorldServices, TheRecordingSinkKeepsEveryRequest)
{
    cRecordingServices rec;
    {
        cScopedServices scoped(rec);
        EXPECT_EQ(&WorldServices(), &rec);
        WorldServices().PlaySe(8);
        WorldDataSe(0);
        WorldDataSe(5);
        WorldServices().PlayMusic(2);
        WorldServices().ErrorBox("box");
        WorldServices().RequestClose();
        rec.m_Clock = 77;
        EXPECT_EQ(WorldServices().NowMs(), 77u);
    }
    EXPECT_NE(&WorldServices(), &rec);
    EXPECT_EQ(rec.m_Sounds, (std::vector<std::uint32_t>{8, 21}));
    EXPECT_EQ(rec.m_Music, std::vector<std::int32_t>{2});
    EXPECT_EQ(g_Progress.nStageMusic, 2) << "as the main window remembers it";
    EXPECT_EQ(rec.m_ErrorBoxes, std::vector<std::string>{"box"});
    EXPECT_EQ(rec.m_CloseRequests, 1);
    g_Progress = cSaveData();
}

} // namespace
