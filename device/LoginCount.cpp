#include "device/LoginCount.h"

#include "device/Lockout.h"
#include "diag/STLogFile.h"
#include "platform/ByteOrder.h"
#include "platform/rapi/client/TurnTaking.h"

namespace {

// A turn lasts one password check, so twenty programs that guess at once all get theirs in this wait.
constexpr std::chrono::milliseconds kLoginTurnWait{10000};

// Starts the lockout; the count stays spent until the lockout is on the phone, so that the next attempt
// starts it again rather than checking a password.
LoginVerdict StartLockout(LoginTurn& turn, PhoneOptionRecord& options, const char16_t* optionsPath) {
    if (Lockout::Start(options, optionsPath)) turn.SetCount(0);
    return {LoginVerdict::Kind::kLockedOut, true};
}

}  // namespace

LoginTurn::LoginTurn(const WalletLocation& location)
    : file(OpenWithoutSharing(location.LoginCountPath().c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS,
                              kLoginTurnWait)) {}

LoginTurn::~LoginTurn() {
    if (Held()) CeCloseHandle(file);
}

int LoginTurn::Count() {
    uint8_t bytes[4];
    DWORD read = 0;
    if (CeSetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0 ||
        !CeReadFile(file, bytes, sizeof bytes, &read, nullptr))
        return Lockout::kAttempts;
    if (read == 0) return 0;  // a new file
    uint32_t count = read == sizeof bytes ? GetU32(bytes) : UINT32_MAX;
    return count <= Lockout::kAttempts ? static_cast<int>(count) : Lockout::kAttempts;
}

bool LoginTurn::SetCount(int count) {
    uint8_t bytes[4];
    PutU32(bytes, static_cast<uint32_t>(count));
    DWORD written = 0;
    return CeSetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           CeWriteFile(file, bytes, sizeof bytes, &written, nullptr) && written == sizeof bytes;
}

LoginVerdict CheckPasswordInTurn(const WalletLocation& location, PhoneOptionRecord& options,
                                 const PasswordCheck& check) {
    LoginTurn turn(location);
    const char16_t* optionsPath = location.OptionsPath().c_str();
    if (!turn.Held() || !Lockout::Read(options, optionsPath)) {
        ST_LOG("Critical Error: Login: the count of wrong passwords or Options.dat cannot be had (%u)",
               static_cast<unsigned>(CeGetLastError()));
        return {LoginVerdict::Kind::kFailed};
    }
    if (options.LockoutRemainingMs() > 0) return {LoginVerdict::Kind::kLockedOut};
    int count = turn.Count();
    if (count >= Lockout::kAttempts) return StartLockout(turn, options, optionsPath);
    if (!turn.SetCount(count + 1)) {
        ST_LOG("Critical Error: Login: the attempt cannot be counted on the phone");
        return {LoginVerdict::Kind::kFailed};
    }
    Guess guess = check();
    if (guess != Guess::kWrong) turn.SetCount(guess == Guess::kRight ? 0 : count);
    if (guess != Guess::kWrong || count + 1 < Lockout::kAttempts) return LoginVerdict::Of(guess);
    return StartLockout(turn, options, optionsPath);
}
