#include "platform/rapi/phone/HostFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteFile(const std::filesystem::path& file, int flags, const uint8_t* data, size_t size,
               std::string& error) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool written = WriteAll(fd, data, size);
    if (::close(fd) != 0) written = false;
    if (!written) {
        error = "cannot write the file";
        ::unlink(file.c_str());
    }
    return written;
}

}  // namespace

bool WriteNewFile(const std::filesystem::path& file, const uint8_t* data, size_t size, std::string& error) {
    return WriteFile(file, O_EXCL, data, size, error);
}

bool ReplaceFile(const std::filesystem::path& file, std::string_view text, std::string& error) {
    std::filesystem::path temporary = file;
    temporary += ".new";
    auto bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (!WriteFile(temporary, O_TRUNC, bytes, text.size(), error)) return false;
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) error = ec.message();
    return !ec;
}
