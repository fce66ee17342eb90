#pragma once
// Small helpers shared by the test programs.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it by the process
// that made it (not by a death test's child, which runs the same destructors when it exits).
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
    int owner;
};

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);
std::string ReadText(const std::filesystem::path& file);
std::filesystem::path DiagnosticLogPath();

// A shell command's exit status and its standard output and error together.
struct ShellResult {
    int status;
    std::string text;
};
ShellResult RunShell(const std::string& command);

// The lines of a log, by default the process-wide diagnostic log (each test program logs into a folder
// of its own).
std::vector<std::string> LogLines(const std::filesystem::path& file = DiagnosticLogPath());
size_t CountLogLines(const std::string& needle);

// Gives an environment variable back its value, and the time zone its setting, when it goes.
class ScopedEnv {
public:
    explicit ScopedEnv(std::string name);
    ScopedEnv(std::string name, const char* value) : ScopedEnv(std::move(name)) { Set(value); }
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* value);  // nullptr unsets it

private:
    std::string name;
    std::optional<std::string> saved;
};
