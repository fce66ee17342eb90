#include "StandInAgents.h"

#include <poll.h>
#include <sys/socket.h>

#include "platform/rapi/wire/UnixSocket.h"

LinkClock::time_point SoonDeadline() {
    return LinkClock::now() + std::chrono::seconds(5);
}

bool ReceiveFrame(WireChannel& channel, uint32_t* op, std::vector<uint8_t>* body) {
    return channel.Receive(op, body, SoonDeadline()) == FrameStatus::Ok;
}

bool SkipRequest(WireChannel& channel) {
    uint32_t op = 0;
    std::vector<uint8_t> body;
    return ReceiveFrame(channel, &op, &body);
}

void ReplyAndLinger(WireChannel& channel, WireWriter& reply) {
    channel.Send(reply, SoonDeadline());
    channel.WaitReadable(SoonDeadline());
}

StandInAgent::StandInAgent() : socket(dir / "phone.sock") {
    sockaddr_un address;
    UnixAddress(socket, &address);
    listener = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::listen(listener.Get(), 4);
}

StandInAgent::~StandInAgent() {
    Join();
}

void StandInAgent::Join() {
    if (thread.joinable()) thread.join();
}

std::shared_ptr<SocketTransport> StandInAgent::Transport(LinkTimeouts timeouts) const {
    return std::make_shared<SocketTransport>(socket, timeouts);
}

void StandInAgent::Run(std::function<void(WireChannel&)> serve) {
    thread = std::thread([this, serve] {
        pollfd waiting{listener.Get(), POLLIN, 0};
        if (::poll(&waiting, 1, 5000) != 1) return;
        UniqueFd client(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        WireChannel channel(client.Get());
        serve(channel);
    });
}

ScriptedAgent::ScriptedAgent(std::function<void(WireChannel&)> script, uint32_t version) {
    Run([script, version](WireChannel& channel) {
        uint32_t op = 0;
        std::vector<uint8_t> body;
        if (!ReceiveFrame(channel, &op, &body)) return;
        WireWriter hello(WireOp::Hello);
        hello.U32(ERROR_SUCCESS);
        hello.U32(version);
        channel.Send(hello, SoonDeadline());
        script(channel);
    });
}

CuttingRelay::CuttingRelay(std::filesystem::path agentSocket, uint64_t nth) {
    Run([this, agentSocket, nth](WireChannel& client) {
        int error = 0;
        UniqueFd agentFd = ConnectUnixSocket(agentSocket, std::chrono::seconds(5), &error);
        Relay(client, agentFd.Get(), nth);
    });
}

void CuttingRelay::Relay(WireChannel& client, int agentFd, uint64_t nth) {
    WireChannel agent(agentFd);
    uint32_t op = 0;
    std::vector<uint8_t> body;
    // One request and its reply per pass, until the cut or until either side hangs up.
    while (ReceiveFrame(client, &op, &body)) {
        WireWriter request(static_cast<WireOp>(op));
        request.Raw(body.data(), body.size());
        if (agent.Send(request, SoonDeadline()) != FrameStatus::Ok) return;
        if (op != static_cast<uint32_t>(WireOp::Hello) && ++passed == nth) {
            // The agent answers, sees the end of the requests and ends the session, then hangs up.
            ::shutdown(agentFd, SHUT_WR);
            while (ReceiveFrame(agent, &op, &body)) continue;
            return;
        }
        if (!ReceiveFrame(agent, &op, &body)) return;
        WireWriter reply(static_cast<WireOp>(op));
        reply.Raw(body.data(), body.size());
        if (client.Send(reply, SoonDeadline()) != FrameStatus::Ok) return;
    }
}
