#pragma once
// The wallet application's state on a phone kept in a folder: PHONE/state.json holds whether the
// application is installed and whether it runs; its version lives in the phone's registry.

#include <filesystem>
#include <string>

struct PhoneAppState {
    bool installed = false;
    bool running = false;
};

class PhoneState {
public:
    explicit PhoneState(std::filesystem::path phoneDir) : file(std::move(phoneDir) / "state.json") {}

    // A missing file reads as not installed and not running; false only for an unreadable or
    // malformed file, with `error` set.
    bool Load(PhoneAppState& state, std::string& error) const;
    // Writes the whole state (to a temporary file, then renamed over the old one).
    bool Save(const PhoneAppState& state, std::string& error) const;

private:
    std::filesystem::path file;
};
