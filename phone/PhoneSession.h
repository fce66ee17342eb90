#pragma once
// The phone application's own access to its files: the phone folder served in process through the
// folder transport, and its stores opened and changed through the store code, as the desktop does.

#include <filesystem>
#include <memory>
#include <string>

#include "phone/ExitStatus.h"
#include "platform/rapi/api/Rapi.h"
#include "store/SecureBytes.h"
#include "store/TesseraEncryptedLinkList.h"

// Serves the phone folder to the Ce* calls and holds the calling thread's session while it lives.
class PhoneSession {
public:
    explicit PhoneSession(const std::filesystem::path& phoneDir);
    ~PhoneSession();
    PhoneSession(const PhoneSession&) = delete;
    PhoneSession& operator=(const PhoneSession&) = delete;

    bool Ok() const { return connection->Ok(); }

private:
    std::unique_ptr<RapiConnection> connection;
};

// Opens the store and unlocks it with the password: kDone, or kFailed / kWrongPassword with `error` set.
int UnlockStore(CTesseraEncryptedLinkList& store, const SecureBytes& password, std::string& error);

// Adds the item under the store's next id (lastId + 1) and raises lastId to it.
bool AddNewRecord(CTesseraEncryptedLinkList& store, const CTesseraItem& item);
