// The recorded input of a session: written and read back unchanged, and
// every damage to the file found and said, never half read.

#include <gtest/gtest.h>

#include <string>

#include "data/input_session_log.h"

namespace {

cInputSessionLog Sample()
{
    cInputSessionLog log;
    log.m_Polls.assign(300, SessionPoll{});
    log.m_Polls.insert(log.m_Polls.end(), 7, SessionPoll{2, 6, 1, 0});
    log.m_Polls.push_back(SessionPoll{1 | 2, 5, 3, kSessionKeySpace});
    log.m_Polls.push_back(SessionPoll{0, 5, 0, kSessionKeyF3});
    log.m_Clocks = {123456, 0, 4294967295u};
    log.m_Names = {"ABC", "", "\x83\x65\x83\x58\x83\x67 x"};
    return log;
}

TEST(InputSessionLog, ReadsBackWhatItWrote)
{
    const cInputSessionLog log = Sample();
    const std::string text = log.ToText();
    std::string error;
    const auto back = cInputSessionLog::FromText(text, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->m_Polls, log.m_Polls);
    EXPECT_EQ(back->m_Clocks, log.m_Clocks);
    EXPECT_EQ(back->m_Names, log.m_Names);
    // Equal polls in a row take one line.
    EXPECT_NE(text.find("\np 300 0 5 0 0\n"), std::string::npos) << text;

    const auto empty = cInputSessionLog::FromText(cInputSessionLog().ToText(), error);
    ASSERT_TRUE(empty) << error;
    EXPECT_TRUE(empty->m_Polls.empty());
}

// A text with its first occurrence of `from` replaced by `to`.
std::string Changed(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(InputSessionLog, ADamagedFileIsSaidAndNotRead)
{
    const std::string good = Sample().ToText();
    struct Case {
        const char* what;
        std::string text;
        const char* said; // a part of the error
    };
    const Case cases[] = {
        {"empty", "", "line 1"},
        {"another version", Changed(good, "input-session 1", "input-session 2"), "line 1"},
        {"no counts", Changed(good, "polls", "frames"), "line 2"},
        {"a changed entry", Changed(good, "p 7 2 6 1 0", "p 7 2 6 2 0"), "check"},
        {"a changed name", Changed(good, "n 414243", "n 414244"), "check"},
        {"more polls than counted", Changed(good, "p 300", "p 301"), "line 6"},
        {"fewer polls than counted", Changed(good, "p 300", "p 299"), "counts"},
        {"a direction code off the keypad", Changed(good, "p 300 0 5", "p 300 0 0"), "line 3"},
        {"a clock before a poll", Changed(good, "p 300 0 5 0 0\n", "c 1\np 300 0 5 0 0\n"),
         "line 4"},
        {"not a number", Changed(good, "c 123456", "c 12x456"), "line"},
        {"an odd name", Changed(good, "n 414243", "n 41424"), "line"},
        {"cut short", good.substr(0, good.find("c 0\n")), "ends before"},
        {"no end", Changed(good, "end\n", ""), "ends before"},
        {"text after the end", good + "p 1 0 5 0 0\n", "after the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(cInputSessionLog::FromText(c.text, error));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
}

} // namespace
