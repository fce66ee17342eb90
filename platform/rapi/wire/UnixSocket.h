#pragma once
// Unix domain stream sockets of the phone link: addresses, connecting with a time limit, and who is on the
// other end. Only peers running as our own user are accepted, on either side.

#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <filesystem>

#include "platform/rapi/wire/UniqueFd.h"

// The socket address for path; false when the path does not fit one.
bool UnixAddress(const std::filesystem::path& path, sockaddr_un* address);
// A connected socket, or an empty one with *error set to the errno value.
UniqueFd ConnectUnixSocket(const std::filesystem::path& path, std::chrono::milliseconds timeout, int* error);
bool PeerIsOurUser(int fd);
