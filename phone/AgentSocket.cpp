#include "phone/AgentSocket.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/rapi/wire/UnixSocket.h"

namespace {

constexpr int kBacklog = 64;

bool PrivateFolder(const std::filesystem::path& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        ::chmod(folder.c_str(), 0700);  // whatever the umask took away
    } else if (errno != EEXIST) {
        error = "cannot create " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 07777) != 0700) {
        error = folder.string() + " must be a folder of ours with mode 0700";
        return false;
    }
    return true;
}

// Removes a socket file that no agent answers on.
bool ClearStaleSocket(const std::filesystem::path& socket, std::string& error) {
    struct stat info;
    if (::lstat(socket.c_str(), &info) != 0) return true;
    if (!S_ISSOCK(info.st_mode)) {
        error = socket.string() + " exists and is not a socket";
        return false;
    }
    int connectError = 0;
    if (ConnectUnixSocket(socket, std::chrono::milliseconds(1000), &connectError)) {
        error = "another agent already serves on " + socket.string();
        return false;
    }
    if (::unlink(socket.c_str()) != 0 && errno != ENOENT) {
        error = "cannot remove the stale socket " + socket.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

UniqueFd ListenOnPhoneSocket(const std::filesystem::path& socket, std::string& error) {
    sockaddr_un address;
    if (!UnixAddress(socket, &address) || !socket.has_parent_path()) {
        error = "not a usable socket path: " + socket.string();
        return {};
    }
    if (!PrivateFolder(socket.parent_path(), error) || !ClearStaleSocket(socket, error)) return {};
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd || ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.Get(), kBacklog) != 0) {
        error = "cannot listen on " + socket.string() + ": " + std::strerror(errno);
        return {};
    }
    return fd;
}
