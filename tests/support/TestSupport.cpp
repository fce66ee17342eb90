#include "TestSupport.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "diag/STLogFile.h"

namespace {

// Every test program logs into a temporary state folder, set before the log's first use.
struct LogSandbox {
    TempDir dir;
    LogSandbox() { setenv("XDG_STATE_HOME", dir.Path().c_str(), 1); }
};
const LogSandbox logSandbox;

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessera-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
    owner = getpid();
}

TempDir::~TempDir() {
    if (getpid() != owner) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = ReadBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

std::filesystem::path DiagnosticLogPath() {
    return CSTLogFile::Instance().Path();
}

std::vector<std::string> LogLines(const std::filesystem::path& file) {
    std::istringstream text(ReadText(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

size_t CountLogLines(const std::string& needle) {
    size_t n = 0;
    for (const auto& line : LogLines()) n += line.find(needle) != std::string::npos;
    return n;
}

ShellResult RunShell(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, "popen failed"};
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

ScopedEnv::ScopedEnv(std::string name) : name(std::move(name)) {
    if (const char* value = getenv(this->name.c_str())) saved = value;
}

ScopedEnv::~ScopedEnv() {
    Set(saved ? saved->c_str() : nullptr);
}

void ScopedEnv::Set(const char* value) {
    value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    tzset();
}
