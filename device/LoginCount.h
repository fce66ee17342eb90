#pragma once
// The wrong wallet passwords since the last right one, kept on the phone in a file of its own beside the
// option record ("Logins.dat": one little-endian 32-bit count), so that the plug-in and every run of the
// command line count on one tally whatever way they reach the phone. A password is checked only in turn:
// the count file is held without sharing while the lockout is looked up, the attempt counted, the
// password checked and the count cleared, so however many programs guess at once, at most
// Lockout::kAttempts wrong passwords are checked before the lockout starts.

#include <cstdint>
#include <functional>

#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "platform/rapi/api/Rapi.h"

// What a password check found; kUnknown: it ended before it got to the password.
enum class Guess { kRight, kWrong, kUnknown };
using PasswordCheck = std::function<Guess()>;

struct LoginVerdict {
    enum class Kind { kRight, kWrong, kUnknown, kLockedOut, kFailed };  // begins with Guess's values
    Kind kind = Kind::kUnknown;  // until a check
    bool lockoutStarted = false;  // this wrong password started the lockout

    static LoginVerdict Of(Guess guess) { return {static_cast<Kind>(guess)}; }
};
// A password check run on the phone's count; the plug-in's login dialog gets one from its session.
using CountedCheck = std::function<LoginVerdict(const PasswordCheck&)>;

// The count file held without sharing, for as long as this object lives; waits its turn.
class LoginTurn {
public:
    explicit LoginTurn(const WalletLocation& location);
    ~LoginTurn();
    LoginTurn(const LoginTurn&) = delete;
    LoginTurn& operator=(const LoginTurn&) = delete;

    bool Held() const { return file != INVALID_HANDLE_VALUE; }
    // The count; a file that holds anything but a count up to Lockout::kAttempts is taken as spent.
    int Count();
    bool SetCount(int count);

private:
    HANDLE file;
};

// Checks a password in turn: refused (kLockedOut) while a lockout runs, else counted first and then
// checked; the count is cleared by a right password and put back when the check did not get to it, and the
// wrong password that reaches Lockout::kAttempts starts the lockout. `options` is read from the phone
// (what is left of a lockout now) and carries a lockout started. kFailed: nothing was checked.
LoginVerdict CheckPasswordInTurn(const WalletLocation& location, PhoneOptionRecord& options,
                                 const PasswordCheck& check);
