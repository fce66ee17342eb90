#pragma once
// The login dialog's rules: an empty password counts for nothing, three wrong ones close the dialog, as
// does a lockout on the phone's count of wrong passwords, and the templates store unlocks with its
// built-in password on the same OK.
#include <string>

#include "device/LoginCount.h"
#include "store/PasswordBytes.h"

class CTesseraEncryptedLinkList;

class LoginAttempts {
public:
    static constexpr int kMaxAttempts = 3;
    static constexpr size_t kMaxLength = kMaxPasswordUnits;

    enum class Answer {
        Empty,  // say the password is wrong; nothing counted
        Wrong,  // say the password is wrong; the dialog stays
        Close,  // accepted, the last attempt, a lockout, or the templates do not unlock
    };

    // store may be null (then only the templates are unlocked and ok stays 0); without `counted` the
    // password is checked directly.
    LoginAttempts(CTesseraEncryptedLinkList* store, CTesseraEncryptedLinkList* templates,
                  CountedCheck counted = {})
        : store(store), templates(templates), counted(std::move(counted)) {}

    // The typed password is wiped before this returns.
    Answer Submit(std::u16string& password);

    int ok = 0;
    int attempts = 0;
    LoginVerdict verdict{};
    bool templatesLocked = false;

private:
    CTesseraEncryptedLinkList* store;
    CTesseraEncryptedLinkList* templates;
    CountedCheck counted;
};
