#pragma once
// A pipe for a test to read what the code under test writes to a descriptor
// (the authoring tool's channel). Both ends close with the object.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace test {

class TestPipe {
public:
    TestPipe() { EXPECT_EQ(::pipe2(fds_, O_CLOEXEC), 0); }
    ~TestPipe()
    {
        closeReading();
        closeWriting();
    }
    TestPipe(const TestPipe&) = delete;
    TestPipe& operator=(const TestPipe&) = delete;

    // The writing end's number, as an environment variable gives it.
    std::string writingEnd() const { return std::to_string(fds_[1]); }
    // The same, passed on to the programs this process starts.
    std::string inheritedWritingEnd() const
    {
        ::fcntl(fds_[1], F_SETFD, 0);
        return writingEnd();
    }
    void closeReading()
    {
        if (fds_[0] >= 0) ::close(fds_[0]);
        fds_[0] = -1;
    }
    void closeWriting()
    {
        if (fds_[1] >= 0) ::close(fds_[1]);
        fds_[1] = -1;
    }

    // Everything written so far, without waiting.
    std::vector<unsigned char> written() { return read(0, 0); }
    // Waits up to `seconds` until `count` bytes have come (or the writers
    // are gone), and returns what came.
    std::vector<unsigned char> read(std::size_t count, int seconds)
    {
        std::vector<unsigned char> bytes;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            pollfd p{fds_[0], POLLIN, 0};
            const bool waited = count > 0 && std::chrono::steady_clock::now() < limit;
            if (::poll(&p, 1, waited ? 10 : 0) < 0) break;
            if (p.revents & POLLIN) {
                unsigned char buffer[64];
                const ssize_t n = ::read(fds_[0], buffer, sizeof buffer);
                if (n <= 0) break;
                bytes.insert(bytes.end(), buffer, buffer + n);
                if (count > 0 && bytes.size() >= count) break;
                continue;
            }
            if ((p.revents & POLLHUP) || !waited) break;
        }
        return bytes;
    }

private:
    int fds_[2] = {-1, -1};
};

} // namespace test
