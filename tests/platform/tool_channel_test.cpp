// The authoring tool's channel: a pipe named by QUENHOLT_TOOL_FD receives
// each notice as two little-endian 32-bit words; without the variable, or
// with one that names no open descriptor, there is no channel; and a tool
// that has stopped reading does not end the program.
#include "platform/tool_channel.h"

#include "support/scoped_env.h"
#include "support/test_pipe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(ToolChannel, ANoticeIsTwoLittleEndianWordsOnThePipe)
{
    test::TestPipe pipe;
    test::ScopedEnv channel(plat::kToolFdVariable, pipe.writingEnd());
    ASSERT_TRUE(plat::toolChannelPresent());
    plat::toolNotify(1, 1);
    plat::toolNotify(0, 0);
    plat::toolNotify(0x01020304, -2);
    const std::vector<unsigned char> expected = {1, 0, 0, 0, 1, 0, 0, 0, 0,    0,    0,    0,
                                                 0, 0, 0, 0, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(pipe.written(), expected);
}

TEST(ToolChannel, WithoutAnOpenDescriptorThereIsNoChannel)
{
    test::TestPipe pipe;
    const int unused = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(unused, 0);
    ::close(unused); // a descriptor number that is not open now
    const std::optional<std::string> values[] = {
        std::nullopt, "", "x", "3x", "-1", "99999999999", std::to_string(unused)};
    for (const auto& value : values) {
        SCOPED_TRACE(value.value_or("(unset)"));
        test::ScopedEnv channel(plat::kToolFdVariable, value);
        EXPECT_FALSE(plat::toolChannelPresent());
        plat::toolNotify(1, 1); // goes nowhere, harms nothing
    }
    EXPECT_TRUE(pipe.written().empty());
}

TEST(ToolChannel, AToolThatStoppedReadingDoesNotEndTheProgram)
{
    test::TestPipe pipe;
    test::ScopedEnv channel(plat::kToolFdVariable, pipe.writingEnd());
    pipe.closeReading();
    // In a process of its own: the default action of SIGPIPE would end it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        plat::toolNotify(0, 1);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    // And in this one, its signal mask as it was.
    plat::toolNotify(0, 1);
    sigset_t mask;
    pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    EXPECT_FALSE(sigismember(&mask, SIGPIPE));
}

} // namespace
