#include "AgentProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/rapi/client/SocketTransport.h"

extern char** environ;

namespace {

// Polls until done() holds, for five seconds at most.
template <typename F>
bool Within5s(F done) {
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        if (done()) return true;
    return false;
}

}  // namespace

AgentProcess::AgentProcess(const std::filesystem::path& phoneDir, const std::filesystem::path& socket) {
    std::string program = TESSERA_PHONE_EXE, dir = phoneDir.string(), path = socket.string();
    char* argv[] = {program.data(), const_cast<char*>("serve"),
                    dir.data(),     const_cast<char*>("--socket"),
                    path.data(),    nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    // Neither stream stays tied to the test's: an agent that outlives a crashed test must not hold its output
    // open.
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&quiet);
    serving = pid > 0 && Within5s([&] { return SocketTransport(socket).Connect() != nullptr; });
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
    int status = 0;
    if (pid <= 0 || !Within5s([&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) return std::nullopt;
    pid = -1;
    return status;
}
