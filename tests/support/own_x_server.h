#pragma once
// An X server (Xvfb) of the test's own, for what the shared one cannot show:
// a display that goes away, or one that comes up late.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace test {

class OwnXServer {
public:
    // On the given display number, or on one the server chooses itself.
    // Returns once the server takes clients.
    explicit OwnXServer(std::optional<int> number = std::nullopt)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {"Xvfb", "-displayfd", "3", "-nolisten",
                                         "tcp",  "-screen",    "0", "1024x768x24"};
        if (number) args.insert(args.begin() + 1, ":" + std::to_string(*number));
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const bool spawned =
            posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (spawned) {
            // The server writes its display number and a line feed once it
            // takes clients; it gives up should the pipe close before both.
            std::string line;
            char c = 0;
            while (::read(fds[0], &c, 1) == 1 && c != '\n')
                line += c;
            if (c == '\n' && !line.empty()) display_ = ":" + line;
        } else {
            pid_ = -1;
        }
        ::close(fds[0]);
    }
    ~OwnXServer() { end(); }
    OwnXServer(const OwnXServer&) = delete;
    OwnXServer& operator=(const OwnXServer&) = delete;

    // The display's name (":n"); empty when the server could not start.
    const std::string& display() const { return display_; }
    // Ends the server (its clients lose their connection).
    void end()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // A display number that no server uses now.
    static int freeNumber()
    {
        int n = 4400;
        while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
               std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
            ++n;
        return n;
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace test
