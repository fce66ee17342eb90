#include "platform/rapi/client/SocketTransport.h"

#include "platform/rapi/client/SocketSession.h"
#include "platform/rapi/wire/UnixSocket.h"

SocketTransport::SocketTransport(std::filesystem::path socket, LinkTimeouts timeouts)
    : socket(std::move(socket)), timeouts(timeouts), roundTrips(std::make_shared<std::atomic<uint64_t>>(0)) {}

std::unique_ptr<RapiSession> SocketTransport::Connect(DWORD& error) {
    error = ERROR_NOT_CONNECTED;
    auto dial = [socket = socket, timeouts = timeouts] {
        int socketError = 0;
        UniqueFd fd = ConnectUnixSocket(socket, timeouts.connect, &socketError);
        return fd && PeerIsOurUser(fd.Get()) ? std::move(fd) : UniqueFd();
    };
    UniqueFd fd = dial();
    if (!fd) return nullptr;
    auto session = std::make_unique<SocketSession>(std::move(fd), timeouts, roundTrips, dial);
    if (!session->Hello(error)) return nullptr;
    return session;
}
