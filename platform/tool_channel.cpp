#include "platform/tool_channel.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace plat {
namespace {

// The descriptor the variable names; -1 without one, or when it is not open.
int toolFd()
{
    const char* text = std::getenv(kToolFdVariable);
    if (!text || !*text) return -1;
    char* end = nullptr;
    errno = 0;
    const long fd = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || fd < 0 || fd > 0x7FFFFFFF) return -1;
    if (::fcntl(static_cast<int>(fd), F_GETFD) == -1) return -1;
    return static_cast<int>(fd);
}

void putWord(unsigned char* out, std::uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(word >> (8 * i));
}

} // namespace

bool toolChannelPresent()
{
    return toolFd() >= 0;
}

void toolNotify(std::uint32_t kind, std::int32_t value)
{
    const int fd = toolFd();
    if (fd < 0) return;
    unsigned char notice[8];
    putWord(notice, kind);
    putWord(notice + 4, static_cast<std::uint32_t>(value));
    // Writing to a pipe nobody reads raises SIGPIPE, whose default action
    // ends the process: it is held back for this write and then dropped.
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    ssize_t written;
    do {
        written = ::write(fd, notice, sizeof notice);
    } while (written < 0 && errno == EINTR);
    if (written < 0 && errno == EPIPE && !sigismember(&previous, SIGPIPE)) {
        const timespec none{};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace plat
