#pragma once
// Serves a phone folder to the desktop over a Unix domain socket (docs/phone-link.md): up to a limit of
// clients at once, each connection on a thread of its own with one session. Every session goes through one
// folder transport, so "no sharing" opens hold across connections, and paths stay confined to the phone's
// folder.

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/wire/UniqueFd.h"

// What one agent allows, so that no client can starve the others.
struct AgentLimits {
    std::chrono::milliseconds idle{60'000};  // silence after the handshake that ends a connection
    size_t connections = 32;                 // served at once; the next is refused with a Hello error
};

class PhoneAgent {
public:
    // Tells `log` why connections ended badly (never what they carried); nullptr tells nobody.
    PhoneAgent(std::filesystem::path phoneDir, std::filesystem::path socket, std::ostream* log = nullptr,
               AgentLimits limits = {});
    ~PhoneAgent();
    PhoneAgent(const PhoneAgent&) = delete;
    PhoneAgent& operator=(const PhoneAgent&) = delete;

    // Starts listening and serving; false, with `error` set, when the phone folder or the socket will not do.
    bool Start(std::string& error);
    // Stops accepting, ends every session and removes the socket file. Does nothing when not started.
    void Stop();

    const std::filesystem::path& Socket() const { return socket; }

private:
    struct Connection;

    void AcceptLoop();
    bool AcceptOne();
    void Serve(Connection& connection);
    void ReapFinished();
    void Log(const std::string& line);
    void Refuse(int fd);

    std::filesystem::path phoneDir;
    std::filesystem::path socket;
    std::ostream* log;
    AgentLimits limits;
    std::shared_ptr<FolderTransport> phone;
    UniqueFd listener;
    struct stat socketFile {};
    UniqueFd wakeRead, wakeWrite;  // a byte here stops the accepting thread
    std::thread acceptor;
    std::mutex mutex;  // guards connections and log
    std::list<std::unique_ptr<Connection>> connections;
};
