#include "platform/rapi/wire/UniqueFd.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd >= 0) ::close(fd);
        fd = other.fd;
        other.fd = -1;
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd >= 0) ::close(fd);
}

int ReadAt(int fd, void* buffer, size_t size, off_t offset, size_t* done) {
    *done = 0;
    while (*done < size) {
        ssize_t n =
            ::pread(fd, static_cast<char*>(buffer) + *done, size - *done, offset + static_cast<off_t>(*done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        *done += n;
    }
    return 0;
}

int WriteAt(int fd, const void* buffer, size_t size, off_t offset, size_t* done) {
    *done = 0;
    while (*done < size) {
        ssize_t n = ::pwrite(fd, static_cast<const char*>(buffer) + *done, size - *done,
                             offset + static_cast<off_t>(*done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        *done += n;
    }
    return 0;
}

int ReadSmallFile(const char* path, off_t maxSize, std::string* text) {
    UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd) return errno;
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) return errno;
    if (!S_ISREG(info.st_mode)) return EINVAL;
    if (info.st_size > maxSize) return EFBIG;
    text->assign(static_cast<size_t>(info.st_size), '\0');
    size_t read = 0;
    int error = ReadAt(fd.Get(), text->data(), text->size(), 0, &read);
    text->resize(read);
    return error;
}
