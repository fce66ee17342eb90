#pragma once
// The installed application's wallet, opened through the folder transport and unlocked, with the
// categories of its templates store, for the commands that fill the wallet.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "phone/PhoneSession.h"
#include "store/CategoryRecord.h"

class PhoneWallet {
public:
    // kDone, or kFailed / kWrongPassword with `error` set. Without a readable templates store the
    // wallet opens all the same, with no categories.
    int Open(const std::filesystem::path& phoneDir, const SecureBytes& password, std::string& error);

    CTesseraEncryptedLinkList& Store() { return *wallet; }
    const std::vector<Category>& Categories() const { return categories; }

private:
    std::unique_ptr<PhoneSession> session;
    std::unique_ptr<CTesseraEncryptedLinkList> wallet;
    std::vector<Category> categories;
};
