#include "platform/rapi/wire/WireChannel.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

namespace {

int MillisecondsUntil(LinkClock::time_point deadline) {
    if (deadline == LinkClock::time_point::max()) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - LinkClock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 60'000));
}

}  // namespace

const char* FrameStatusText(FrameStatus status) {
    switch (status) {
        case FrameStatus::Ok:
            return "ok";
        case FrameStatus::Closed:
            return "closed by the peer";
        case FrameStatus::Truncated:
            return "truncated frame";
        case FrameStatus::TooLarge:
            return "frame over the size limit";
        case FrameStatus::TimedOut:
            return "timed out";
        case FrameStatus::Failed:
            break;
    }
    return "socket error";
}

bool WireChannel::Wait(short events, LinkClock::time_point deadline) {
    // Bounded by the deadline; a wait without one ends when the peer or a shutdown wakes the socket.
    for (;;) {
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
        if (LinkClock::now() >= deadline) return false;
    }
}

bool WireChannel::WaitReadable(LinkClock::time_point deadline) {
    return Wait(POLLIN, deadline);
}

bool WireChannel::Unexpected() {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) != 0;
}

FrameStatus WireChannel::Send(WireWriter& frame, LinkClock::time_point deadline) {
    std::span<const uint8_t> bytes = frame.Frame();
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!Wait(POLLOUT, deadline)) return FrameStatus::TimedOut;
        } else {
            return errno == EPIPE || errno == ECONNRESET ? FrameStatus::Closed : FrameStatus::Failed;
        }
    }
    return FrameStatus::Ok;
}

FrameStatus WireChannel::ReceiveExactly(uint8_t* out, size_t size, LinkClock::time_point deadline,
                                        bool frameStarted) {
    size_t received = 0;
    while (received < size) {
        ssize_t n = ::recv(fd, out + received, size - received, MSG_DONTWAIT);
        if (n > 0) {
            received += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!Wait(POLLIN, deadline)) return FrameStatus::TimedOut;
        } else if (n == 0 || errno == ECONNRESET) {
            return frameStarted || received > 0 ? FrameStatus::Truncated : FrameStatus::Closed;
        } else {
            return FrameStatus::Failed;
        }
    }
    return FrameStatus::Ok;
}

FrameStatus WireChannel::Receive(uint32_t* op, std::vector<uint8_t>* body, LinkClock::time_point deadline,
                                 uint32_t maxBody) {
    uint8_t header[kFrameHeaderSize];
    if (FrameStatus status = ReceiveExactly(header, sizeof header, deadline, false);
        status != FrameStatus::Ok)
        return status;
    FrameHeader parsed = ParseFrameHeader(header);
    if (parsed.length > maxBody) return FrameStatus::TooLarge;
    *op = parsed.op;
    body->resize(parsed.length);
    return ReceiveExactly(body->data(), body->size(), deadline, true);
}
