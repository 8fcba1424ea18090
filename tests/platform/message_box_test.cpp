// Message boxes never block a test or a run without a screen: a responder
// answers them, or, with no display, the first button does.
#include "platform/message_box.h"
#include "platform/text_encoding.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Sjis(const char* utf8)
{
    return plat::utf8ToSjis(utf8).value();
}

TEST(MessageBox, TheResponderSeesTheRequestAndItsAnswerIsTheResult)
{
    std::vector<plat::BoxRequest> seen;
    plat::setMessageBoxResponder([&](const plat::BoxRequest& r) {
        seen.push_back(r);
        return IDNO;
    });
    EXPECT_EQ(plat::messageBox(7, Sjis("既に起動しています"), Sjis("二重起動"), MB_YESNO), IDNO);
    plat::setMessageBoxResponder(nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, 7u);
    EXPECT_EQ(seen[0].text, Sjis("既に起動しています"));
    EXPECT_EQ(seen[0].textUtf8(), "既に起動しています");
    EXPECT_EQ(seen[0].captionUtf8(), "二重起動");
    EXPECT_EQ(seen[0].type, MB_YESNO);
}

TEST(MessageBox, WithoutADisplayEachBoxIsAnsweredWithItsFirstButton)
{
    test::ScopedEnv noDisplay("SDL_VIDEODRIVER", "dummy");
    struct Case {
        std::uint32_t type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},           {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDOK},     {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNOCANCEL, IDYES},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::messageBox(0, "text", "caption", c.type), c.answer);
}

TEST(MessageBox, AWorkerThreadIsAnsweredWithoutAPumpingMainThread)
{
    test::ScopedEnv noDisplay("SDL_VIDEODRIVER", "dummy");
    plat::setMainThread(); // and never pumped here
    std::atomic<int> answer{-1};
    std::thread worker([&] { answer = plat::messageBox(0, "text", "caption", MB_OK); });
    worker.join();
    EXPECT_EQ(answer.load(), IDOK);
}

TEST(MessageBox, EveryBoxIsMirroredToStandardError)
{
    plat::setMessageBoxResponder([](const plat::BoxRequest&) { return IDOK; });
    testing::internal::CaptureStderr();
    plat::messageBox(0, Sjis("メモリが不足しています！"), Sjis("エラー"), MB_OK);
    const std::string err = testing::internal::GetCapturedStderr();
    plat::setMessageBoxResponder(nullptr);
    EXPECT_NE(err.find("エラー"), std::string::npos) << err;
    EXPECT_NE(err.find("メモリが不足しています！"), std::string::npos) << err;
}

} // namespace
