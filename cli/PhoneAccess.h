#pragma once
// The wallet commands' way to the phone: the transport the setting names, this thread's
// connection, the wallet application's files and its option record, the lockout and the password.

#include <iosfwd>
#include <memory>
#include <string>

#include "cli/ExitStatus.h"
#include "device/LoginCount.h"
#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "platform/rapi/api/Rapi.h"
#include "store/SecureBytes.h"

struct PhoneOptions {
    std::string phone;  // "unix:PATH" or "folder:PATH"; empty: POCKETDECK_PHONE or the default socket
    bool passwordStdin = false;  // read the password as one line of standard input instead of prompting
};

class PhoneAccess {
public:
    explicit PhoneAccess(const PhoneOptions& options) : options(options) {}

    // Connects and finds the wallet application's three files; kExitOk or a status with a message. A wallet
    // that an unfinished restore moved aside is missing only for commands that cannot settle that.
    int Connect(std::ostream& err, bool settlesRestore = false);
    // kExitLockedOut, with the lockout message, while a lockout runs on the phone.
    int CheckLockout(std::ostream& err);
    // kExitFailed while the wallet application runs on the phone (it would not see the change).
    int RefuseWhileAppRuns(std::ostream& err);
    // The password from the terminal or standard input; false, with a message, when there is none to be
    // had or it is not valid UTF-8.
    bool ReadPassword(std::istream& in, SecureBytes& password, std::ostream& err);
    // Checks the wallet password in turn on the phone's count of wrong ones (device/LoginCount): kExitOk
    // when it is right or the check did not get to it, kExitWrongPassword, or kExitLockedOut (a lockout
    // running, or started by this third wrong password in a row), each with its message. An empty
    // password is wrong without being checked or counted.
    int CheckPassword(bool empty, const PasswordCheck& check, std::ostream& err);

    const WalletLocation& Location() const { return location; }

private:
    PhoneOptions options;
    std::unique_ptr<RapiConnection> connection;
    WalletLocation location;
    PhoneOptionRecord optionRecord;
};
