#pragma once
// Whole frames over a connected stream socket that someone else owns. Every wait ends by its deadline; a
// peer that is gone shows at once as a closed or failed channel, never as a signal (sends use MSG_NOSIGNAL).

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/rapi/wire/WireFrame.h"

using LinkClock = std::chrono::steady_clock;

enum class FrameStatus {
    Ok,
    Closed,     // the peer closed the connection between frames
    Truncated,  // the peer closed the connection inside a frame
    TooLarge,   // the header announced a body over the limit; nothing of it was read
    TimedOut,
    Failed,  // the socket failed
};
const char* FrameStatusText(FrameStatus status);

class WireChannel {
public:
    explicit WireChannel(int fd) : fd(fd) {}

    FrameStatus Send(WireWriter& frame, LinkClock::time_point deadline);
    // Receives one frame whose body holds at most maxBody bytes into *body.
    FrameStatus Receive(uint32_t* op, std::vector<uint8_t>* body, LinkClock::time_point deadline,
                        uint32_t maxBody = kMaxFrameBody);
    // Waits until something arrives or the peer hangs up (true), or until the deadline (false).
    bool WaitReadable(LinkClock::time_point deadline);
    // Whether anything arrived, or the peer hung up, without being asked: between requests, either means
    // that the peer is gone or out of step.
    bool Unexpected();

private:
    FrameStatus ReceiveExactly(uint8_t* out, size_t size, LinkClock::time_point deadline, bool frameStarted);
    bool Wait(short events, LinkClock::time_point deadline);

    int fd;
};
