#include "cli/WalletRepair.h"

#include <algorithm>

#include "cli/StoreCommands.h"
#include "platform/SystemTime.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"
#include "store/StoreRepair.h"

namespace {

// A repair refused may have stopped before the password; every other result had it checked.
Guess PasswordGuess(RepairResult result) {
    if (result == RepairResult::kWrongPassword) return Guess::kWrong;
    return result == RepairResult::kRefused ? Guess::kUnknown : Guess::kRight;
}

int RepairOrCheck(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                  bool checkOnly) {
    PhoneAccess phone(options.phone);
    if (int status = phone.Connect(err)) return status;
    if (!checkOnly) {
        if (int status = phone.RefuseWhileAppRuns(err)) return status;
    }
    if (int status = phone.CheckLockout(err)) return status;
    SecureBytes password;
    if (!phone.ReadPassword(in, password, err)) return kExitFailed;
    SYSTEMTIME now = GetSystemTimeUtc();
    std::string report;
    RepairResult wallet = RepairResult::kRefused;
    // The wallet's repair checks the password, so it runs in turn on the phone's count of wrong ones.
    PasswordCheck repairWallet = [&] {
        wallet =
            RepairStoreFile(phone.Location().WalletPath(), kWalletFileType, password, now, report, checkOnly);
        return PasswordGuess(wallet);
    };
    if (int status = phone.CheckPassword(password.empty(), repairWallet, err)) return status;
    int status = PrintRepair("Tessera.dat", wallet, report, out, err);
    RepairResult templates = RepairStoreFile(phone.Location().TemplatesPath(), kTemplatesFileType,
                                             PasswordBytes(kTemplatesPassword), now, report, checkOnly);
    return std::max(PrintRepair("Templates.dat", templates, report, out, err), status);
}

}  // namespace

int RepairWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    return RepairOrCheck(options, in, out, err, false);
}

int CheckWallet(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    return RepairOrCheck(options, in, out, err, true);
}
