#include "diag/STLogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kMaxText = 1023;
constexpr off_t kRotateBytes = 1 << 20;  // a log over this size becomes NAME.1 and a new one starts

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string("tessera");
}

// Local time of day and date with milliseconds.
struct LocalNow {
    std::tm tm{};
    unsigned milliseconds = 0;
};

LocalNow Now() {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    LocalNow result;
    localtime_r(&seconds, &result.tm);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    result.milliseconds = static_cast<unsigned>(ms);
    return result;
}

long long PerformanceCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The part of a source path after its last separator.
const char* BaseName(const char* path) {
    const char* base = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\') base = p + 1;
    }
    return base;
}

// printf into a string; false when the result would exceed the limit.
bool FormatLimited(std::string& out, const char* format, va_list args) {
    char buffer[kMaxText + 1];
    int n = vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0 || n > kMaxText) return false;
    out.assign(buffer, static_cast<size_t>(n));
    return true;
}

bool FormatLimited(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool FormatLimited(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = FormatLimited(out, format, args);
    va_end(args);
    return ok;
}

}  // namespace

CSTLogFile& CSTLogFile::Instance() {
    static CSTLogFile log(DefaultPath(ExecutablePath()));
    log.IsOpen();
    return log;
}

std::filesystem::path CSTLogFile::DefaultPath(const std::string& executablePath) {
    std::filesystem::path folder;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (state && *state) {
        folder = state;
    } else if (home && *home) {
        folder = std::filesystem::path(home) / ".local" / "state";
    } else {
        return {};
    }
    std::string name = std::filesystem::path(executablePath).filename().string();
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return folder / (name + "_log.txt");
}

CSTLogFile::CSTLogFile(std::filesystem::path logPath) : path(std::move(logPath)) {}

CSTLogFile::~CSTLogFile() {
    std::lock_guard guard(lock);
    if (fd < 0) return;
    std::string line;
    if (FormatLimited(line, "Log finished\r\n")) Append(line);
    close(fd);
    fd = -1;
}

bool CSTLogFile::IsOpen() {
    std::lock_guard guard(lock);
    if (fd < 0) TryOpen();
    return fd >= 0;
}

void CSTLogFile::TryOpen() {
    if (path.empty()) return;
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && info.st_size > kRotateBytes) Rotate();
    // Appended to: every process that logs (the host, each tessera run) keeps the lines of the others.
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    LocalNow now = Now();
    std::string header;
    FormatLimited(header, "=============================================\r\n");
    Append(header);
    if (FormatLimited(header, "Log is started on %02u.%02u.%04u, at %02u:%02u:%02u:%03u\r\n", now.tm.tm_mday,
                      now.tm.tm_mon + 1u, now.tm.tm_year + 1900u, now.tm.tm_hour + 0u, now.tm.tm_min + 0u,
                      now.tm.tm_sec + 0u, now.milliseconds))
        Append(header);
    if (FormatLimited(header, "Executable: %s (ProcID: 0x%08x), compile time: %s %s\r\n",
                      ExecutablePath().c_str(), static_cast<unsigned>(getpid()), __DATE__, __TIME__))
        Append(header);
}

void CSTLogFile::Rotate() {
    std::filesystem::path older = path;
    older += ".1";
    rename(path.c_str(), older.c_str());
}

void CSTLogFile::RotateWhenFull() {
    struct stat mine, named;
    if (fstat(fd, &mine) != 0 || mine.st_size <= kRotateBytes) return;
    // Another process may have rotated it already: then the name is a new file, and stays.
    if (stat(path.c_str(), &named) == 0 && named.st_ino == mine.st_ino && named.st_dev == mine.st_dev)
        Rotate();
    close(fd);
    fd = -1;
    TryOpen();
}

void CSTLogFile::Append(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

void CSTLogFile::Write(const char* sourceFile, int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(sourceFile, line, format, args);
    va_end(args);
}

void CSTLogFile::WriteV(const char* sourceFile, int line, const char* format, va_list args) {
    if (!IsOpen()) return;
    std::string message;
    if (!FormatLimited(message, format, args)) return;
    LocalNow now = Now();
    std::string stamp, text;
    FormatLimited(stamp, "%02u:%02u:%02u(%lld)", now.tm.tm_hour + 0u, now.tm.tm_min + 0u, now.tm.tm_sec + 0u,
                  PerformanceCounter());
    auto thread = static_cast<unsigned>(syscall(SYS_gettid));
    if (!FormatLimited(text, "%s thr 0x%08X : %s\t(from %s,%d)\r\n", stamp.c_str(), thread, message.c_str(),
                       BaseName(sourceFile), line))
        return;
    std::lock_guard guard(lock);
    if (fd < 0) return;
    Append(text);
    RotateWhenFull();
}
