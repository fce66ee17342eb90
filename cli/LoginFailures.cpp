#include "cli/LoginFailures.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "device/Lockout.h"
#include "diag/STLogFile.h"
#include "platform/PrivateFile.h"
#include "store/Sha256.h"

namespace {

constexpr int kMaxCount = 1000;  // more than any lockout needs; a larger number in the file is damage
constexpr int32_t kMaxLockoutMs = 3600000;

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

LoginFailures::Note LoginFailures::Read() const {
    std::ifstream in(file);
    Note note;
    if (!(in >> note.count >> note.lockoutMs) || note.count < 0 || note.count > kMaxCount ||
        note.lockoutMs < 0 || note.lockoutMs > kMaxLockoutMs)
        return {};
    return note;
}

// The file's time is when it was written: for a note of a lockout, when the lockout started.
void LoginFailures::Write(const Note& note) {
    if (file.empty()) return;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::string text = std::to_string(note.count) + " " + std::to_string(note.lockoutMs) + "\n";
    std::string error;
    WritePrivateFile(
        file,
        [&](int fd) { return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()); },
        error);
}

int LoginFailures::Add() {
    Note note{Read().count + 1, 0};
    Write(note);
    return note.count;
}

void LoginFailures::Reset() {
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);
}

void LoginFailures::LockoutStarted(int32_t lengthMs) {
    Write({0, lengthMs});
}

std::optional<int32_t> LoginFailures::LockoutLeftMs() const {
    Note note = Read();
    std::error_code error;
    auto written = std::filesystem::last_write_time(file, error);
    if (error || note.lockoutMs == 0) return std::nullopt;
    auto elapsed = std::chrono::file_clock::now() - written;
    auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / Lockout::kTickMs;
    return ticks >= note.lockoutMs / Lockout::kTickMs
               ? 0
               : note.lockoutMs - static_cast<int32_t>(ticks) * Lockout::kTickMs;
}
