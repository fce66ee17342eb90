#include "platform/PrivateFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/file.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <random>
#include <string_view>
#include <system_error>

#include "platform/EndingSignals.h"

namespace {

constexpr int kNameAttempts = 16;

std::string SystemMessage(int error) {
    return std::generic_category().message(error);
}

// Names what is wrong with an existing target, or nothing when it may be replaced.
std::string RefusedTarget(const std::filesystem::path& file) {
    struct stat info;
    if (::lstat(file.c_str(), &info) != 0) return errno == ENOENT ? "" : SystemMessage(errno);
    if (!S_ISREG(info.st_mode)) return "it exists and is not a regular file";
    if (info.st_uid != ::geteuid()) return "it exists and belongs to another user";
    return "";
}

// The new file being written, for a signal handler to remove; empty when none. One write at a time.
std::mutex writing;
char pending[PATH_MAX];

void RemovePending() {
    if (pending[0]) ::unlink(pending);
}

// Whether the name is one that CreateBeside gives for `file`: "." NAME "." digits ".new".
bool NewFileOf(const std::string& name, const std::string& file) {
    const std::string head = "." + file + ".", tail = ".new";
    if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail))
        return false;
    std::string_view digits(name.data() + head.size(), name.size() - head.size() - tail.size());
    return std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the new files that an earlier write beside `file` left when it was killed: ours, regular, and
// not locked by a write still going on.
void RemoveLeftovers(const std::filesystem::path& file) {
    std::error_code failed;
    std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    for (const auto& entry : std::filesystem::directory_iterator(folder, failed)) {
        if (!NewFileOf(entry.path().filename().string(), file.filename().string())) continue;
        int fd = ::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        struct stat info;
        if (fd < 0) continue;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

// A new, empty, owner-only file beside `file`, locked while it is written; its name is in `pending`
// before it exists. -1 when none can be made.
int CreateBeside(const std::filesystem::path& file) {
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::filesystem::path made = file;
        made.replace_filename("." + file.filename().string() + "." + std::to_string(random()) + ".new");
        if (made.native().size() >= sizeof pending) {
            errno = ENAMETOOLONG;
            return -1;
        }
        std::memcpy(pending, made.c_str(), made.native().size() + 1);
        int fd = ::open(pending, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        pending[0] = 0;
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// Fills the open file; whether it all reached the disk (errno set when not).
bool Fill(int fd, const std::function<bool(int fd)>& write) {
    errno = 0;
    bool written = false;
    try {
        written = write(fd) && ::fsync(fd) == 0;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    }
    if (!written && errno == 0) errno = EIO;
    return written;
}

}  // namespace

bool WritePrivateFile(const std::filesystem::path& file, const std::function<bool(int fd)>& write,
                      std::string& error) {
    if (error = RefusedTarget(file); !error.empty()) return false;
    std::lock_guard<std::mutex> one(writing);
    EndingSignalCleanup removal(RemovePending);
    RemoveLeftovers(file);
    int fd = CreateBeside(file);
    if (fd < 0) {
        error = SystemMessage(errno);
        return false;
    }
    // The new file stays open, and so locked, until it has its name.
    bool done = Fill(fd, write) && ::rename(pending, file.c_str()) == 0;
    int failure = errno;
    if (!done) ::unlink(pending);
    pending[0] = 0;
    ::close(fd);
    error = done ? "" : SystemMessage(failure);
    return done;
}
