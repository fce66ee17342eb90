#include "platform/rapi/SocketTransport.h"

#include "platform/rapi/SocketSession.h"
#include "platform/rapi/UnixSocket.h"

SocketTransport::SocketTransport(std::filesystem::path socket, LinkTimeouts timeouts)
    : socket(std::move(socket)), timeouts(timeouts), roundTrips(std::make_shared<std::atomic<uint64_t>>(0)) {}

std::unique_ptr<RapiSession> SocketTransport::Connect() {
    int error = 0;
    UniqueFd fd = ConnectUnixSocket(socket, timeouts.connect, &error);
    if (!fd || !PeerIsOurUser(fd.Get())) return nullptr;
    auto session = std::make_unique<SocketSession>(std::move(fd), timeouts, roundTrips);
    if (!session->Hello()) return nullptr;
    return session;
}
