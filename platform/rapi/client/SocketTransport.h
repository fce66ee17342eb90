#pragma once
// Reaches the phone agent (tessera-phone serve) over a Unix domain socket: each Connect opens one connection,
// which carries one session (docs/phone-link.md). A phone that does not answer, answers with another protocol
// version or runs as another user gives no session.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>

#include "platform/rapi/api/RapiTransport.h"

struct LinkTimeouts {
    std::chrono::milliseconds connect{1000};  // connecting and the handshake
    std::chrono::milliseconds reply{5000};    // each request's reply
};

class SocketTransport : public RapiTransport {
public:
    explicit SocketTransport(std::filesystem::path socket, LinkTimeouts timeouts = {});

    using RapiTransport::Connect;
    std::unique_ptr<RapiSession> Connect(DWORD& error) override;

    const std::filesystem::path& Socket() const { return socket; }
    // Requests sent through every session so far, handshakes and goodbyes included.
    uint64_t RoundTrips() const { return roundTrips->load(); }

private:
    std::filesystem::path socket;
    LinkTimeouts timeouts;
    std::shared_ptr<std::atomic<uint64_t>> roundTrips;  // shared with the sessions, which may outlive us
};
