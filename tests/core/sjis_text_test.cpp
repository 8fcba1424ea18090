#include "core/sjis_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SjisText, ConvertsLiteralToShiftJis)
{
    EXPECT_STREQ(Sjis("%s のロードに失敗！"), "%s \x82\xCC\x83\x8D\x81\x5B\x83\x68\x82\xC9"
                                              "\x8E\xB8\x94\x73\x81\x49");
    EXPECT_STREQ(Sjis("ソ\\"), "\x83\x5C\\");
    EXPECT_STREQ(Sjis(""), "");
    EXPECT_STREQ(Sjis(nullptr), "");
}

TEST(SjisText, SameTextGivesTheSameLastingPointer)
{
    const std::string first = "既に起動しています";
    const std::string second = first; // equal text at another address
    const char* a = Sjis(first.c_str());
    for (int i = 0; i < 1000; ++i)
        Sjis(("filler " + std::to_string(i)).c_str());
    EXPECT_EQ(Sjis(second.c_str()), a);
    EXPECT_STREQ(a, "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7");
}

TEST(SjisText, CharacterWithoutShiftJisFormBecomesQuestionMark)
{
    EXPECT_STREQ(Sjis("caf\u00E9!"), "caf?!");
}

TEST(SjisText, ThreadsAskingAtOnceShareOneEntry)
{
    constexpr int kThreads = 8;
    std::vector<std::vector<const char*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&seen, t] {
            for (int i = 0; i < 200; ++i) {
                seen[t].push_back(Sjis(("スレッド " + std::to_string(i)).c_str()));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(seen[t], seen[0]);
    EXPECT_STREQ(seen[0][7], "\x83\x58\x83\x8C\x83\x62\x83\x68 7");
}

} // namespace
