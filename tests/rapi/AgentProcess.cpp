#include "AgentProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace {

constexpr int kWaitMs = 5000;

enum class Output { Found, Ended, Silent };

// Reads the agent's output until `needle` appears (never, when it is empty), the output ends, or nothing
// comes for a few seconds.
Output ReadUntil(int fd, const std::string& needle) {
    std::string seen;
    // Each pass reads something or ends the loop.
    while (needle.empty() || seen.find(needle) == std::string::npos) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, kWaitMs) != 1) return Output::Silent;
        char chunk[256];
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) return Output::Ended;
        seen.append(chunk, static_cast<size_t>(n));
    }
    return Output::Found;
}

}  // namespace

AgentProcess::AgentProcess(const std::filesystem::path& phoneDir, const std::filesystem::path& socket) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) return;
    output = UniqueFd(pipe[0]);
    UniqueFd writeEnd(pipe[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
    std::string program = TESSERA_PHONE_EXE, dir = phoneDir.string(), path = socket.string();
    char* argv[] = {program.data(), const_cast<char*>("serve"),
                    dir.data(),     const_cast<char*>("--socket"),
                    path.data(),    nullptr};
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    writeEnd = UniqueFd();
    serving = pid > 0 && ReadUntil(output.Get(), "serving") == Output::Found;
}

AgentProcess::~AgentProcess() {
    if (pid <= 0) return;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

void AgentProcess::Signal(int signal) {
    if (pid > 0) ::kill(pid, signal);
}

std::optional<int> AgentProcess::WaitForEnd() {
    if (pid <= 0 || ReadUntil(output.Get(), "") != Output::Ended) return std::nullopt;
    // The output ended, so the agent has ended or is about to: waitpid returns at once.
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return std::nullopt;
    pid = -1;
    return status;
}
