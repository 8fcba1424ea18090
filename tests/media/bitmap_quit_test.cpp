// The loading of numbered bitmaps stops between two pictures once its
// thread has been asked to quit, so that closing the game while a play's
// pictures load ends the program at once.

#include "media/bmp_writer.h"
#include "media/graphics_fixture.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "media/dd_bitmap.h"
#include "platform/thread.h"
#include "support/temp_dir.h"

using namespace gfxtest;

namespace {

TEST(BitmapLoading, AThreadAskedToQuitStopsBeforeTheNextPicture)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("bmp/Character1.bmp", WriteBmp24(64, 2, std::vector<std::uint32_t>(128, 0x123456)));
    ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12));
    std::atomic<int> askedToQuit{0};
    std::atomic<int> result{-1};
    plat::Thread loader;
    ASSERT_TRUE(loader.start([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!plat::quitRequested() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        askedToQuit = plat::quitRequested() ? 1 : 0;
        const int numbers[] = {4, 5};
        result = DDLoadBitmaps(g_BitmapSD.data(), numbers, 2);
    }));
    loader.requestQuit();
    ASSERT_TRUE(loader.join(5000));
    EXPECT_EQ(askedToQuit, 1);
    EXPECT_EQ(result, -1) << "the loading did not return";
    EXPECT_EQ(g_BitmapSD[4].pixels(), nullptr) << "no picture was loaded";
    // A thread that goes on loads the same list.
    const int numbers[] = {4, 5};
    EXPECT_EQ(DDLoadBitmaps(g_BitmapSD.data(), numbers, 2), 1);
    EXPECT_EQ(g_BitmapSD[5].width, 64);
    DDReleaseSurface(&g_BitmapSD[4]);
    DDReleaseSurface(&g_BitmapSD[5]);
    TearDownMode();
}

} // namespace
