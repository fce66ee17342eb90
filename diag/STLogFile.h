#pragma once
// The process-wide diagnostic log: failures the user never sees, one line each, with the time,
// the thread and the source position that wrote them. Each process run appends to the file; a file over
// 1 MiB is renamed NAME.1 (replacing the one before) and a new one started.

#include <cstdarg>
#include <filesystem>
#include <mutex>
#include <string>

class CSTLogFile {
public:
    // The process-wide log; every call made while the file is not open tries to open it.
    static CSTLogFile& Instance();

    // A log at an explicit path (the process-wide one computes its path from the environment).
    explicit CSTLogFile(std::filesystem::path path);
    ~CSTLogFile();
    CSTLogFile(const CSTLogFile&) = delete;
    CSTLogFile& operator=(const CSTLogFile&) = delete;

    // Formats a printf-style UTF-8 message and appends one line; a message or a line longer than
    // 1023 characters is dropped, and nothing is written while the log is closed.
    void Write(const char* sourceFile, int line, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    void WriteV(const char* sourceFile, int line, const char* format, va_list args);

    bool IsOpen();
    const std::filesystem::path& Path() const { return path; }

    // ${XDG_STATE_HOME:-$HOME/.local/state}/ + the executable's name with everything from its
    // last dot replaced by (or, without a dot, followed by) "_log.txt".
    static std::filesystem::path DefaultPath(const std::string& executablePath);

private:
    void TryOpen();  // under the lock
    void Rotate();
    void RotateWhenFull();  // under the lock, with the file open
    void Append(const std::string& text);

    std::filesystem::path path;
    std::mutex lock;
    int fd = -1;
};

#define ST_LOG(...) CSTLogFile::Instance().Write(__FILE__, __LINE__, __VA_ARGS__)
