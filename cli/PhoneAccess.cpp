#include "cli/PhoneAccess.h"

#include <cstdlib>
#include <istream>
#include <ostream>

#include "cli/PasswordPrompt.h"
#include "device/BackupMessages.h"
#include "device/DeviceFiles.h"
#include "device/Lockout.h"
#include "device/WalletRestore.h"
#include "platform/rapi/wire/PhoneSocketPath.h"
#include "platform/rapi/api/RapiTransport.h"

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
    if (!Lockout::Read(optionRecord, location.OptionsPath().c_str())) {
        err << "tessera: cannot read Options.dat on the phone\n";
        return kExitFailed;
    }
    if (optionRecord.LockoutRemainingMs() <= 0) return kExitOk;
    err << Lockout::Message(Lockout::MinutesToShow(optionRecord.LockoutRemainingMs())) << "\n";
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

int PhoneAccess::CheckPassword(bool empty, const PasswordCheck& check, std::ostream& err) {
    using Kind = LoginVerdict::Kind;
    Kind verdict = empty ? Kind::kWrong : CheckPasswordInTurn(location, optionRecord, check).kind;
    switch (verdict) {
        case Kind::kRight:
        case Kind::kUnknown:
            return kExitOk;
        case Kind::kWrong:
            err << "tessera: The password you entered is incorrect!\n";
            return kExitWrongPassword;
        case Kind::kLockedOut:
            err << Lockout::Message(Lockout::MinutesToShow(optionRecord.LockoutRemainingMs())) << "\n";
            return kExitLockedOut;
        case Kind::kFailed:
            break;
    }
    err << "tessera: cannot count the attempt on the phone; no password was checked\n";
    return kExitFailed;
}
