#include "platform/rapi/SocketTransport.h"

#include "platform/rapi/SocketSession.h"
#include "platform/rapi/UnixSocket.h"

SocketTransport::SocketTransport(std::filesystem::path socket, LinkTimeouts timeouts)
    : socket(std::move(socket)), timeouts(timeouts), roundTrips(std::make_shared<std::atomic<uint64_t>>(0)) {}

std::unique_ptr<RapiSession> SocketTransport::Connect(DWORD& error) {
    int socketError = 0;
    error = ERROR_NOT_CONNECTED;
    UniqueFd fd = ConnectUnixSocket(socket, timeouts.connect, &socketError);
    if (!fd || !PeerIsOurUser(fd.Get())) return nullptr;
    auto session = std::make_unique<SocketSession>(std::move(fd), timeouts, roundTrips);
    if (!session->Hello(error)) return nullptr;
    return session;
}
