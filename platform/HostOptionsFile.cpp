#include "platform/HostOptionsFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/ByteOrder.h"

namespace {

constexpr size_t kRecordBytes = 32;
constexpr int kAttempts = 2;
constexpr auto kRetryPause = std::chrono::milliseconds(200);

// Opens without sharing: an exclusive lock stands in for the host's share mode.
int OpenUnshared(const std::filesystem::path& path, int flags, int* error) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        int fd = ::open(path.c_str(), flags | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
        if (error) *error = errno;
        if (fd >= 0) ::close(fd);
        std::this_thread::sleep_for(kRetryPause);
    }
    return -1;
}

size_t ReadUpTo(int fd, uint8_t* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace

bool ReadOptionsFile(const std::filesystem::path& path, OptionsFileRecord& destination, int* error) {
    int fd = OpenUnshared(path, O_RDONLY, error);
    if (fd < 0) return false;
    uint8_t scratch[kRecordBytes] = {};
    size_t got = ReadUpTo(fd, scratch, sizeof scratch);
    ::close(fd);
    if (got != kRecordBytes) return false;
    for (size_t i = 0; i < destination.size(); ++i) destination[i] = GetU32(scratch + 4 * i);
    return true;
}

bool WriteOptionsFile(const std::filesystem::path& path, const OptionsFileRecord& source) {
    int fd = OpenUnshared(path, O_WRONLY, nullptr);
    if (fd < 0) return false;
    uint8_t bytes[kRecordBytes];
    for (size_t i = 0; i < source.size(); ++i) PutU32(bytes + 4 * i, source[i]);
    bool ok = ::pwrite(fd, bytes, sizeof bytes, 0) == static_cast<ssize_t>(sizeof bytes);
    ::close(fd);
    return ok;
}
