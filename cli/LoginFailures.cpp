#include "cli/LoginFailures.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "diag/STLogFile.h"
#include "platform/PrivateFile.h"
#include "store/Sha256.h"

namespace {

constexpr int kMaxCount = 1000;  // more than any lockout needs; a larger number in the file is damage

// A file name that names the phone without spelling its path.
std::string FileName(const std::string& phone) {
    uint8_t digest[32];
    Sha256(phone.data(), phone.size(), digest);
    std::string name = "failures-";
    char hex[3];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", digest[i]);
        name += hex;
    }
    return name;
}

}  // namespace

LoginFailures::LoginFailures(const std::string& phone) {
    std::filesystem::path state = CSTLogFile::DefaultPath("tessera").parent_path();
    if (!state.empty()) file = state / "tessera" / FileName(phone);
}

int LoginFailures::Read() const {
    std::ifstream in(file);
    int count = 0;
    if (!(in >> count) || count < 0 || count > kMaxCount) return 0;
    return count;
}

int LoginFailures::Add() {
    int count = Read() + 1;
    if (file.empty()) return count;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::string text = std::to_string(count) + "\n";
    std::string error;
    WritePrivateFile(
        file,
        [&](int fd) { return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()); },
        error);
    return count;
}

void LoginFailures::Reset() {
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);
}
