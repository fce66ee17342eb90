#pragma once
// A host file descriptor closed on scope exit, and whole reads and writes at an offset.

#include <sys/types.h>

#include <cstddef>
#include <string>

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd(other.fd) { other.fd = -1; }
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    ~UniqueFd();
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd; }
    explicit operator bool() const { return fd >= 0; }
    // Gives the descriptor up to the caller, who closes it.
    int Release() {
        int released = fd;
        fd = -1;
        return released;
    }

private:
    int fd = -1;
};

// Read until size bytes or the end of the file; *done tells how many arrived. 0 or an errno value.
int ReadAt(int fd, void* buffer, size_t size, off_t offset, size_t* done);
// Write all size bytes; *done tells how many were written. 0 or an errno value.
int WriteAt(int fd, const void* buffer, size_t size, off_t offset, size_t* done);
// The whole of a small regular file, never through a link. 0 or an errno value: EFBIG when the file is
// larger than maxSize, EINVAL when it is not a regular file.
int ReadSmallFile(const char* path, off_t maxSize, std::string* text);
