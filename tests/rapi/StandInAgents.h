#pragma once
// Stand-ins on the agent's side of the phone link, for tests of how the socket transport copes when the
// agent misbehaves or goes away. Each listens on a socket in a private temporary folder and serves one
// connection on a thread of its own; every wait ends within a few seconds.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "TestSupport.h"
#include "platform/rapi/SocketTransport.h"
#include "platform/rapi/UniqueFd.h"
#include "platform/rapi/WireChannel.h"

class StandInAgent {
public:
    StandInAgent();
    virtual ~StandInAgent();

    std::shared_ptr<SocketTransport> Transport(LinkTimeouts timeouts = {}) const;

protected:
    // Serves the first client on a thread; the connection closes when serve returns.
    void Run(std::function<void(WireChannel&)> serve);
    // Waits for that thread; a subclass whose members the thread uses calls it first.
    void Join();

private:
    TempDir dir;
    std::filesystem::path socket;
    UniqueFd listener;
    std::thread thread;
};

// Answers the handshake with the given version, then runs the script on the connection.
class ScriptedAgent : public StandInAgent {
public:
    explicit ScriptedAgent(std::function<void(WireChannel&)> script, uint32_t version = kLinkVersion);
};

// Passes one client's frames to a real agent and back, and cuts the link after it has passed on the nth
// request after the handshake: the agent answers that request and ends the session, then the client sees
// the connection close without the answer.
class CuttingRelay : public StandInAgent {
public:
    CuttingRelay(std::filesystem::path agentSocket, uint64_t nth);
    ~CuttingRelay() override { Join(); }
    uint64_t Passed() const { return passed; }

private:
    void Relay(WireChannel& client, int agentFd, uint64_t nth);

    std::atomic<uint64_t> passed{0};
};

// Receives one frame within a few seconds; false when none comes.
bool ReceiveFrame(WireChannel& channel, uint32_t* op, std::vector<uint8_t>* body);
// Receives one request and forgets it; false when none comes.
bool SkipRequest(WireChannel& channel);
// Sends the reply, then waits a few seconds at most for the client to hang up.
void ReplyAndLinger(WireChannel& channel, WireWriter& reply);
LinkClock::time_point SoonDeadline();
