#pragma once
// Stand-ins for the agent that misbehave or go away. Each serves one connection on a thread of its own
// on a private socket; every wait ends within a few seconds.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "TestSupport.h"
#include "platform/rapi/client/SocketTransport.h"
#include "platform/rapi/wire/UniqueFd.h"
#include "platform/rapi/wire/WireChannel.h"

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

// Relays one client to a real agent and cuts the link after passing on the nth request after the
// handshake: the agent does it, but the client sees the connection close without the answer.
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
