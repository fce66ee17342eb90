#include "phone/PhoneSession.h"

#include "platform/Utf16.h"
#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/api/RapiTransport.h"

PhoneSession::PhoneSession(const std::filesystem::path& phoneDir) {
    RapiSetTransport(std::make_shared<FolderTransport>(phoneDir));
    connection = std::make_unique<RapiConnection>();
}

PhoneSession::~PhoneSession() {
    connection.reset();
    RapiSetTransport(nullptr);
}

int UnlockStore(CTesseraEncryptedLinkList& store, const SecureBytes& password, std::string& error) {
    std::string path = Utf16ToUtf8Lossy(store.Path());
    int code = store.Open();
    if (code == CTesseraEncryptedLinkList::kCannotOpen) {
        error = "cannot open " + path + ": it is missing or in use";
        return kFailed;
    }
    if (code != CTesseraEncryptedLinkList::kOpened) {
        error = path + " is not a valid store (code " + std::to_string(code) + ")";
        return kFailed;
    }
    if (!store.CheckPassword(password.data(), password.size())) {
        error = "wrong password for " + path;
        return kWrongPassword;
    }
    return kDone;
}

bool AddNewRecord(CTesseraEncryptedLinkList& store, const CTesseraItem& item) {
    if (!store.AddRecord(item, store.lastId + 1)) return false;
    ++store.lastId;
    return true;
}
