#pragma once
// The wallet application on a phone kept in a folder. PHONE/state.json says whether it is installed and
// whether it runs ({"installed": true, "running": false}; a missing file is neither), the phone's registry
// gives its version. The phone's own tools start and close the application by rewriting the same file.
// Calls return ERROR_SUCCESS or the platform error. Thread-safe.

#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/api/Rapi.h"

class WalletApp {
public:
    // An empty file is a phone without the application.
    WalletApp(std::filesystem::path stateFile, std::shared_ptr<const PhoneRegistry> registry)
        : stateFile(std::move(stateFile)), registry(std::move(registry)) {}

    DWORD Status(PhoneAppStatus* out) const;
    // Marks the application closed; nothing to do when it does not run.
    DWORD Close();

private:
    void ReadVersion(char16_t (&version)[32]) const;

    std::filesystem::path stateFile;
    std::shared_ptr<const PhoneRegistry> registry;
    std::mutex closing;
};

// The state file on its own. Loading a missing file gives neither installed nor running; saving
// writes the whole file and renames it over the old one.
DWORD LoadAppStateFile(const std::filesystem::path& file, bool* installed, bool* running);
DWORD SaveAppStateFile(const std::filesystem::path& file, bool installed, bool running);
