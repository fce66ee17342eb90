#pragma once
// A phone agent serving a phone folder in this process, on a socket in a private temporary folder.

#include <filesystem>
#include <memory>

#include "TestSupport.h"
#include "phone/PhoneAgent.h"
#include "platform/rapi/client/SocketTransport.h"

class RunningAgent {
public:
    // Starts serving at once, making the phone's fs folder when it is missing.
    explicit RunningAgent(std::filesystem::path phoneDir, AgentLimits limits = {});

    const std::filesystem::path& Socket() const { return socket; }
    std::shared_ptr<SocketTransport> Transport(LinkTimeouts timeouts = {}) const;
    // Ends every session and removes the socket, as when the agent goes away.
    void Stop() { agent->Stop(); }

private:
    TempDir socketDir;
    std::filesystem::path socket;
    std::unique_ptr<PhoneAgent> agent;
};

// The socket transport to an agent that lives as long as the transport.
class AgentBackedTransport : public RapiTransport {
public:
    explicit AgentBackedTransport(std::filesystem::path phoneDir)
        : agent(std::move(phoneDir)), socket(agent.Transport()) {}

    using RapiTransport::Connect;
    std::unique_ptr<RapiSession> Connect(DWORD& error) override { return socket->Connect(error); }

private:
    RunningAgent agent;
    std::shared_ptr<SocketTransport> socket;
};
