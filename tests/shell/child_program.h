#pragma once
// The program itself (the built executable) run as a child process in a
// game folder, for what only a process of its own shows: how it ends on a
// signal, without a display or when the display goes, and what it writes
// to an inherited pipe. Its standard error goes to a file in the folder.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace test {

// The built program.
inline std::filesystem::path programPath()
{
    const char* binary = std::getenv("RT_BINARY_DIR");
    return std::filesystem::path(binary ? binary : ".") / "quenholt";
}

struct ChildEnd {
    bool ended = false; // within the time given
    int status = -1;    // the exit status when it exited
    int signal = 0;     // the signal that ended it, if one did
};

class ChildProgram {
public:
    // Starts the program in `folder` with this process's environment changed
    // by `env` (a value of nullopt removes the variable) and the arguments
    // `args`. Descriptors without close-on-exec are inherited.
    ChildProgram(const std::filesystem::path& folder,
                 const std::map<std::string, std::optional<std::string>>& env = {},
                 std::vector<std::string> args = {})
        : errPath_(folder / "child_stderr.txt")
    {
        std::vector<std::string> vars;
        for (char** e = environ; *e; ++e) {
            const std::string var = *e;
            if (!env.count(var.substr(0, var.find('=')))) vars.push_back(var);
        }
        for (const auto& [name, value] : env)
            if (value) vars.push_back(name + "=" + *value);
        std::vector<char*> envp;
        for (std::string& v : vars)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        std::string program = programPath().string();
        std::vector<char*> argv{program.data()};
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int error =
            posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(error);
            pid_ = -1;
        }
    }
    ~ChildProgram()
    {
        if (pid_ > 0 && !end_.ended) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    pid_t pid() const { return pid_; }
    bool started() const { return pid_ > 0; }

    // Waits up to `seconds` for the program to end.
    ChildEnd wait(int seconds = 60)
    {
        if (pid_ <= 0 || end_.ended) return end_;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            int status = 0;
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                end_.ended = true;
                if (WIFEXITED(status)) end_.status = WEXITSTATUS(status);
                if (WIFSIGNALED(status)) end_.signal = WTERMSIG(status);
                return end_;
            }
            if (std::chrono::steady_clock::now() > limit) return end_;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // What the program wrote to its standard error.
    std::string errors() const
    {
        std::ifstream in(errPath_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path errPath_;
    pid_t pid_ = -1;
    ChildEnd end_;
};

} // namespace test
