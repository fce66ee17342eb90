#pragma once
// `tessera-phone serve` in a child process, for tests that end it with a signal.

#include <sys/types.h>

#include <filesystem>
#include <optional>

class AgentProcess {
public:
    // Starts the agent and waits (a few seconds at most) until it answers on the socket.
    AgentProcess(const std::filesystem::path& phoneDir, const std::filesystem::path& socket);
    // Kills the agent if it still runs.
    ~AgentProcess();

    bool Serving() const { return serving; }
    void Signal(int signal);
    // The wait status once the agent has ended, within a few seconds; nullopt when it did not end.
    std::optional<int> WaitForEnd();

private:
    pid_t pid = -1;
    bool serving = false;
};
