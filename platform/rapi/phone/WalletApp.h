#pragma once
// The wallet application on a phone kept in a folder, as the desktop sees it: the state file
// (PhoneState.h) says whether it is installed and whether it runs, the phone's registry gives its version.
// Calls return ERROR_SUCCESS or the platform error. Thread-safe.

#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/phone/PhoneState.h"

class WalletApp {
public:
    // An empty file is a phone without the application.
    WalletApp(std::filesystem::path stateFile, std::shared_ptr<const PhoneRegistry> registry)
        : stateFile(PhoneState(std::move(stateFile))), registry(std::move(registry)) {}

    DWORD Status(PhoneAppStatus* out) const;
    // Marks the application closed; nothing to do when it does not run.
    DWORD Close();

private:
    void ReadVersion(char16_t (&version)[32]) const;

    PhoneState stateFile;
    std::shared_ptr<const PhoneRegistry> registry;
    std::mutex closing;
};
