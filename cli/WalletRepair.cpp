#include "cli/WalletRepair.h"

#include <algorithm>

#include "cli/StoreCommands.h"
#include "platform/SystemTime.h"
#include "store/PasswordBytes.h"
#include "store/StoreFormat.h"
#include "store/StoreRepair.h"

namespace {

int RepairOrCheck(const WalletCommandOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                  bool checkOnly) {
    PhoneAccess phone(options.phone);
    if (int status = phone.Connect(err)) return status;
    if (!checkOnly) {
        if (int status = phone.RefuseWhileAppRuns(err)) return status;
    }
    SecureBytes password;
    if (!phone.ReadPassword(in, password, err)) return kExitFailed;
    SYSTEMTIME now = GetSystemTimeUtc();
    RepairMode mode = RepairModeOf(checkOnly, options.salvage);
    std::string report;
    RepairResult wallet =
        RepairStoreFile(phone.Location().WalletPath(), kWalletFileType, password, now, report, mode);
    int status = PrintRepair("Tessera.dat", wallet, report, out, err);
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
