#include "cli/WalletRepair.h"

#include <algorithm>

#include "cli/StoreCommands.h"
#include "device/WalletRestore.h"
#include "platform/SystemTime.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"
#include "store/StoreRepair.h"

namespace {

// What an unfinished restore left beside the wallet, settled before the wallet's own check; kExitOk when
// nothing was found or repair settled it.
int SettleRestoreLeftovers(const std::u16string& walletPath, bool checkOnly, std::ostream& out,
                           std::ostream& err) {
    std::string report;
    RestoreSettlement settled = SettleRestore(walletPath, checkOnly, report);
    if (settled == RestoreSettlement::Nothing) return kExitOk;
    if (settled == RestoreSettlement::Settled && !checkOnly) {
        out << "Tessera.dat: " << report << "\n";
        return kExitOk;
    }
    err << "tessera: Tessera.dat: " << report << "\n";
    return kExitFailed;
}

// A repair refused may have stopped before the password; every other result had it checked.
Guess PasswordGuess(RepairResult result) {
    if (result == RepairResult::kWrongPassword) return Guess::kWrong;
    return result == RepairResult::kRefused ? Guess::kUnknown : Guess::kRight;
}

int RepairOrCheck(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                  bool checkOnly) {
    PhoneAccess phone(options.phone);
    if (int status = phone.Connect(err, true)) return status;
    if (!checkOnly) {
        if (int status = phone.RefuseWhileAppRuns(err)) return status;
    }
    if (int status = phone.CheckLockout(err)) return status;
    SecureBytes password;
    if (!phone.ReadPassword(in, password, err)) return kExitFailed;
    SYSTEMTIME now = GetSystemTimeUtc();
    RepairMode mode = RepairModeOf(checkOnly, options.salvage);
    std::string report;
    int restore = SettleRestoreLeftovers(phone.Location().WalletPath(), checkOnly, out, err);
    RepairResult wallet = RepairResult::kRefused;
    // The wallet's repair checks the password, so it runs in turn on the phone's count of wrong ones.
    PasswordCheck repairWallet = [&] {
        wallet = RepairStoreFile(phone.Location().WalletPath(), kWalletFileType, password, now, report, mode);
        return PasswordGuess(wallet);
    };
    if (int status = phone.CheckPassword(password.empty(), repairWallet, err)) return status;
    int status = std::max(PrintRepair("Tessera.dat", wallet, report, out, err), restore);
    RepairResult templates = RepairStoreFile(phone.Location().TemplatesPath(), kTemplatesFileType,
                                             PasswordBytes(kTemplatesPassword), now, report, mode);
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
