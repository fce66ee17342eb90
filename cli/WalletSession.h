#pragma once
// A logged-in wallet for one command: the phone reached, no lockout running, the password checked
// against the wallet file, both stores open and the model loaded.

#include <functional>
#include <iosfwd>

#include "cli/PhoneAccess.h"
#include "model/Data.h"

class WalletSession {
public:
    explicit WalletSession(const PhoneOptions& options) : phone(options) {}
    ~WalletSession();

    // forChange: the command will change the wallet, which the phone application must not have open.
    int Open(std::istream& in, std::ostream& err, bool forChange);

    CData& Data() { return data; }
    const WalletLocation& Location() const { return phone.Location(); }

private:
    int OpenStores(std::istream& in, std::ostream& err);

    PhoneAccess phone;  // outlives the model, whose stores use its connection
    CData data;
};

// Opens the wallet (for a change or for reading) and runs `command` on its model; the exit status.
int RunOnWallet(const PhoneOptions& options, std::istream& in, std::ostream& err, bool forChange,
                const std::function<int(CData&)>& command);
