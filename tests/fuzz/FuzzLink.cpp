#include "FuzzLink.h"

#include <sys/socket.h>

#include <cstdlib>

namespace {

constexpr int kBufferBytes = 64 << 20;

void Enlarge(int fd) {
    // Forcing needs privileges; the plain request is capped by the system's limit.
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDBUFFORCE, &kBufferBytes, sizeof kBufferBytes) != 0)
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &kBufferBytes, sizeof kBufferBytes);
}

}  // namespace

FuzzLink::FuzzLink(const std::vector<uint8_t>& feed) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) std::abort();
    tested = UniqueFd(pair[0]);
    peer = UniqueFd(pair[1]);
    Enlarge(pair[0]);
    Enlarge(pair[1]);
    // What does not fit (only with a small system limit) is left out, the same way every time.
    size_t sent = 0;
    while (sent < feed.size()) {
        ssize_t n = ::send(pair[1], feed.data() + sent, feed.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    ::shutdown(pair[1], SHUT_WR);
}

std::vector<uint8_t> FrameBytes(WireWriter& frame) {
    std::span<const uint8_t> bytes = frame.Frame();
    return {bytes.begin(), bytes.end()};
}
