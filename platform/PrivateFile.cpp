#include "platform/PrivateFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <system_error>

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

// A new, empty, owner-only file beside `file`, and its name; -1 when none can be made.
int CreateBeside(const std::filesystem::path& file, std::filesystem::path& made) {
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        made = file;
        made.replace_filename("." + file.filename().string() + "." + std::to_string(random()) + ".new");
        int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Fills the open file and closes it; whether it all reached the disk (errno set when not).
bool FillAndClose(int fd, const std::function<bool(int fd)>& write) {
    errno = 0;
    bool written = false;
    try {
        written = write(fd) && ::fsync(fd) == 0;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    }
    int writeError = errno;
    if (::close(fd) != 0 && written) return false;
    errno = writeError ? writeError : EIO;
    return written;
}

}  // namespace

bool WritePrivateFile(const std::filesystem::path& file, const std::function<bool(int fd)>& write,
                      std::string& error) {
    if (error = RefusedTarget(file); !error.empty()) return false;
    std::filesystem::path made;
    int fd = CreateBeside(file, made);
    if (fd < 0) {
        error = SystemMessage(errno);
        return false;
    }
    if (FillAndClose(fd, write) && ::rename(made.c_str(), file.c_str()) == 0) return true;
    error = SystemMessage(errno);
    ::unlink(made.c_str());
    return false;
}
