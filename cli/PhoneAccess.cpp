#include "cli/PhoneAccess.h"

#include <cstdlib>
#include <filesystem>
#include <istream>
#include <ostream>

#include "cli/LoginFailures.h"
#include "cli/PasswordPrompt.h"
#include "device/BackupMessages.h"
#include "device/DeviceFiles.h"
#include "device/Lockout.h"
#include "device/WalletRestore.h"
#include "platform/rapi/PhoneSocketPath.h"
#include "platform/rapi/RapiTransport.h"

namespace {

const char* Setting(const PhoneOptions& options) {
    if (!options.phone.empty()) return options.phone.c_str();
    return std::getenv("POCKETDECK_PHONE");
}

}  // namespace

int PhoneAccess::Connect(std::ostream& err, bool settlesRestore) {
    auto transport = RapiTransportFromSetting(Setting(options));
    if (!transport) {
        err << "tessera: no phone: give --phone unix:PATH or folder:PATH\n";
        return kExitFailed;
    }
    RapiSetTransport(transport);
    connection = std::make_unique<RapiConnection>();
    if (!connection->Ok() && CeGetLastError() == ERROR_REQ_NOT_ACCEP) {
        err << "tessera: the phone serves as many connections as it may; try again when one ends\n";
        return kExitFailed;
    }
    if (!connection->Ok()) {
        err << "tessera: the phone does not answer (is tessera-phone serve running?)\n";
        return kExitFailed;
    }
    if (!location.Locate()) {
        err << "tessera: the wallet application is not installed on the phone\n";
        return kExitFailed;
    }
    if (!DeviceFileExists(location.WalletPath().c_str())) {
        bool unfinished = FindRestoreLeftovers(location.WalletPath()).Unfinished();
        if (unfinished && settlesRestore) return kExitOk;
        if (unfinished)
            err << "tessera: " << kReadFailedRestoreText << "\n";
        else
            err << "tessera: the wallet is not set up: launch Tessera on your phone and initialize the "
                   "password\n";
        return kExitFailed;
    }
    if (!DeviceFileExists(location.TemplatesPath().c_str())) {
        err << "tessera: Template.dat not found!\n";
        return kExitFailed;
    }
    if (!DeviceFileExists(location.OptionsPath().c_str())) {
        err << "tessera: Options.dat not found!\n";
        return kExitFailed;
    }
    return kExitOk;
}

int PhoneAccess::CheckLockout(std::ostream& err) {
    if (!optionRecord.Read(location.OptionsPath().c_str())) {
        err << "tessera: cannot read Options.dat on the phone\n";
        return kExitFailed;
    }
    int32_t remaining = optionRecord.LockoutRemainingMs();
    if (remaining <= 0) return kExitOk;
    // The countdown the plug-in would have made since this command started the lockout.
    if (std::optional<int32_t> left = LoginFailures(PhoneName()).LockoutLeftMs(); left && *left < remaining) {
        remaining = *left;
        optionRecord.SetLockoutRemainingMs(remaining);
        optionRecord.Write(
            location.OptionsPath().c_str());  // as the plug-in's ticks, a failed write is ignored
        if (remaining <= 0) return kExitOk;
    }
    err << Lockout::Message(Lockout::MinutesToShow(remaining)) << "\n";
    return kExitLockedOut;
}

int PhoneAccess::RefuseWhileAppRuns(std::ostream& err) {
    PhoneAppStatus status{};
    if (!CePhoneGetAppState(&status)) {
        err << "tessera: cannot ask the phone whether Tessera runs\n";
        return kExitFailed;
    }
    if (!status.running) return kExitOk;
    err << "tessera: Tessera is running on the phone; close it there (or with tessera-phone app DIR close) "
           "before changing the wallet\n";
    return kExitFailed;
}

bool PhoneAccess::ReadPassword(std::istream& in, SecureBytes& password, std::ostream& err) {
    return ReadSecret("Wallet password: ", options.passwordStdin, in, password, err);
}

// The phone as reached, its path made absolute, so that one phone keeps one count of wrong passwords.
std::string PhoneAccess::PhoneName() const {
    std::string setting = Setting(options) ? Setting(options) : "";
    if (setting.empty()) setting = "unix:" + DefaultPhoneSocketPath().string();
    size_t colon = setting.find(':');
    std::error_code ignored;
    std::filesystem::path path = std::filesystem::weakly_canonical(setting.substr(colon + 1), ignored);
    return setting.substr(0, colon + 1) + path.string();
}

int PhoneAccess::WrongPassword(bool empty, std::ostream& err) {
    LoginFailures failures(PhoneName());
    if (empty || failures.Add() < Lockout::kAttempts) {
        err << "tessera: The password you entered is incorrect!\n";
        return kExitWrongPassword;
    }
    int minutes = Lockout::Start(optionRecord, location.OptionsPath().c_str());
    failures.LockoutStarted(optionRecord.LockoutRemainingMs());
    err << Lockout::Message(minutes) << "\n";
    return kExitLockedOut;
}

void PhoneAccess::RightPassword() {
    LoginFailures(PhoneName()).Reset();
}
