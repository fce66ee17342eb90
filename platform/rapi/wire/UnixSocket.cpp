#include "platform/rapi/wire/UnixSocket.h"

#include <errno.h>
#include <unistd.h>

#include <cstring>

bool UnixAddress(const std::filesystem::path& path, sockaddr_un* address) {
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    const std::string& text = path.native();
    if (text.empty() || text.size() >= sizeof address->sun_path) return false;
    std::memcpy(address->sun_path, text.c_str(), text.size());
    return true;
}

UniqueFd ConnectUnixSocket(const std::filesystem::path& path, std::chrono::milliseconds timeout, int* error) {
    sockaddr_un address;
    if (!UnixAddress(path, &address)) {
        *error = ENAMETOOLONG;
        return {};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        *error = errno;
        return {};
    }
    // Bounds the wait when the agent's backlog is full.
    timeval limit{static_cast<time_t>(timeout.count() / 1000),
                  static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        *error = errno;
        return {};
    }
    *error = 0;
    return fd;
}

bool PeerIsOurUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}
