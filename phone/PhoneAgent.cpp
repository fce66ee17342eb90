#include "phone/PhoneAgent.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "phone/AgentSession.h"
#include "phone/AgentSocket.h"
#include "platform/rapi/wire/UnixSocket.h"
#include "platform/rapi/wire/WireChannel.h"

namespace {

// How long the accepting thread rests after accept fails for want of resources.
constexpr int kAcceptBackoffMs = 100;

}  // namespace

struct PhoneAgent::Connection {
    explicit Connection(UniqueFd fd) : fd(std::move(fd)) {}
    UniqueFd fd;  // closed only after the thread has ended, so that Stop never shuts down a reused number
    std::thread thread;
    std::atomic<bool> done{false};
};

PhoneAgent::PhoneAgent(std::filesystem::path phoneDir, std::filesystem::path socket, std::ostream* log,
                       AgentLimits limits)
    : phoneDir(std::move(phoneDir)), socket(std::move(socket)), log(log), limits(limits) {}

PhoneAgent::~PhoneAgent() {
    Stop();
}

bool PhoneAgent::Start(std::string& error) {
    std::error_code ec;
    if (acceptor.joinable()) return true;
    std::filesystem::file_status fs = std::filesystem::symlink_status(phoneDir / "fs", ec);
    if (std::filesystem::is_symlink(fs)) {
        error = (phoneDir / "fs").string() + " is a link: only a real folder is served";
        return false;
    }
    if (!std::filesystem::is_directory(fs)) {
        error = phoneDir.string() + " is not a phone folder (it has no fs folder)";
        return false;
    }
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = "cannot make a pipe";
        return false;
    }
    wakeRead = UniqueFd(wake[0]);
    wakeWrite = UniqueFd(wake[1]);
    listener = ListenOnPhoneSocket(socket, error);
    if (!listener) return false;
    ::lstat(socket.c_str(), &socketFile);
    phone = std::make_shared<FolderTransport>(phoneDir);
    acceptor = std::thread([this] { AcceptLoop(); });
    return true;
}

void PhoneAgent::Stop() {
    if (!acceptor.joinable()) return;
    char byte = 0;
    [[maybe_unused]] ssize_t written = ::write(wakeWrite.Get(), &byte, 1);
    acceptor.join();
    listener = UniqueFd();
    {
        std::lock_guard lock(mutex);
        for (auto& connection : connections) ::shutdown(connection->fd.Get(), SHUT_RDWR);
    }
    // No thread adds connections any more: the list is ours.
    for (auto& connection : connections) connection->thread.join();
    connections.clear();
    // Only our own socket file: another agent may have taken the path over since.
    struct stat info;
    if (::lstat(socket.c_str(), &info) == 0 && info.st_dev == socketFile.st_dev &&
        info.st_ino == socketFile.st_ino)
        ::unlink(socket.c_str());
}

void PhoneAgent::AcceptLoop() {
    // Ends when Stop writes to the pipe; every pass waits for a client or for that.
    for (;;) {
        pollfd ready[2] = {{listener.Get(), POLLIN, 0}, {wakeRead.Get(), POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0 && errno != EINTR) {
            Log("tessera-phone: cannot wait for clients");
            return;
        }
        if (ready[1].revents) return;
        if ((ready[0].revents & POLLIN) && !AcceptOne()) {
            pollfd wake{wakeRead.Get(), POLLIN, 0};
            if (::poll(&wake, 1, kAcceptBackoffMs) > 0) return;
        }
    }
}

bool PhoneAgent::AcceptOne() {
    UniqueFd fd(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!fd) return errno == EAGAIN || errno == EINTR || errno == ECONNABORTED;
    ReapFinished();
    try {
        std::lock_guard lock(mutex);
        if (connections.size() >= limits.connections) {
            Refuse(fd.Get());
            if (log) *log << "tessera-phone: too many clients, one turned away" << std::endl;
            return true;
        }
        auto connection = std::make_unique<Connection>(std::move(fd));
        Connection& started = *connection;
        connections.push_back(std::move(connection));
        started.thread = std::thread([this, &started] { Serve(started); });
    } catch (...) {
        // No thread: the connection closes unserved; its entry is dropped below.
    }
    ReapFinished();
    return true;
}

void PhoneAgent::Serve(Connection& connection) {
    try {
        std::string ended = PeerIsOurUser(connection.fd.Get())
                                ? AgentSession(connection.fd.Get(), *phone, limits.idle).Serve()
                                : "the client runs as another user";
        if (!ended.empty()) Log("tessera-phone: connection closed: " + ended);
    } catch (...) {
        Log("tessera-phone: connection closed: out of resources");
    }
    // The client sees the end at once; the descriptor itself stays ours until the thread is joined.
    ::shutdown(connection.fd.Get(), SHUT_RDWR);
    connection.done = true;
}

// Says why before closing, so that the client can tell a full agent from a dead one. The socket is new, so
// the short frame fits its buffer at once.
void PhoneAgent::Refuse(int fd) {
    WireWriter refusal(WireOp::Hello);
    refusal.U32(ERROR_REQ_NOT_ACCEP);
    refusal.U32(kLinkVersion);
    WireChannel(fd).Send(refusal, LinkClock::now());
}

void PhoneAgent::ReapFinished() {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(mutex);
        for (auto it = connections.begin(); it != connections.end();) {
            auto next = std::next(it);
            if ((*it)->done || !(*it)->thread.joinable()) finished.splice(finished.end(), connections, it);
            it = next;
        }
    }
    for (auto& connection : finished) {
        if (connection->thread.joinable()) connection->thread.join();
    }
}

void PhoneAgent::Log(const std::string& line) {
    std::lock_guard lock(mutex);
    if (log) *log << line << std::endl;
}
