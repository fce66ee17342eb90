#pragma once
// One connection to the phone agent: the handshake, then the requests of one session in order, each answered
// by a call on a session of the phone's transport (docs/phone-link.md). It ends when the client says goodbye
// or hangs up, when it stays silent too long, when a frame is malformed or late, or when the agent shuts the
// socket down; the session, and with it every file it holds, ends with it.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/rapi/api/RapiTransport.h"
#include "platform/rapi/wire/WireChannel.h"

class AgentSession {
public:
    // fd stays open, and owned by the caller, until Serve returns.
    // A client silent for `idle` between requests is cut off.
    AgentSession(int fd, RapiTransport& phone, std::chrono::milliseconds idle)
        : channel(fd), phone(phone), idle(idle) {}

    // Why the connection ended: empty when the client ended it.
    std::string Serve();

private:
    std::string Handshake();
    // Answers one request; empty, or why the connection has to end.
    std::string Answer(uint32_t op);
    std::string Goodbye();

    WireChannel channel;
    RapiTransport& phone;
    std::chrono::milliseconds idle;
    std::unique_ptr<RapiSession> session;
    std::vector<uint8_t> body;
    // Kept from one request to the next, so that large reads do not allocate every time.
    WireWriter reply{WireOp::Bye};
    std::vector<uint8_t> scratch;  // a registry value
};
