#pragma once
// The wallet application's state on a phone kept in a folder: PHONE/state.json holds whether the
// application is installed and whether it runs ({"installed": true, "running": false}); its version lives
// in the phone's registry. The desktop reads the file; the phone's own tools start and close the
// application by rewriting it.

#include <filesystem>
#include <string>

struct PhoneAppState {
    bool installed = false;
    bool running = false;
    bool operator==(const PhoneAppState&) const = default;
};

class PhoneState {
public:
    // An empty path is a phone without the application.
    explicit PhoneState(std::filesystem::path file) : file(std::move(file)) {}
    static PhoneState InFolder(const std::filesystem::path& phoneDir) {
        return PhoneState(phoneDir / "state.json");
    }

    // A missing file reads as not installed and not running; false only for an unreadable or malformed
    // file (a flag that is neither true nor false), with `error` set.
    bool Load(PhoneAppState& state, std::string& error) const;
    // Writes the whole state beside the old file, then renames it over it.
    bool Save(const PhoneAppState& state, std::string& error) const;

private:
    std::filesystem::path file;
};
