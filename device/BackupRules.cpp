#include "device/BackupRules.h"

#include "device/WalletRestore.h"

std::u16string BackupRules::Make(const std::function<void(const std::u16string&)>& listed) {
    if (!WalletOpen()) return {};
    const std::u16string& walletPath = wallet.location.WalletPath();
    std::u16string folder = wallet.location.BackupFolder(wallet.options);
    if (walletPath.empty() || folder.empty()) return {};
    std::u16string made = list.Make(folder, walletPath, GetSystemTimeUtc(), wallet.cardCount());
    if (made.empty()) {
        tell(BackupNotice::MakeFailed, {});
        return {};
    }
    listRead = true;
    if (listed) listed(made);  // the list shows the new backup before the user is told
    tell(BackupNotice::Made, made);
    return made;
}

bool BackupRules::Restore(const std::u16string& name, const BackupPasswordCheck& askPassword) {
    std::u16string folder = wallet.location.BackupFolder(wallet.options);
    if (folder.empty() || !wallet.location.InstallDirKnown()) return false;
    switch (RestoreBackup(folder, name, wallet.location.WalletPath(), askPassword)) {
        case RestoreResult::Restored:
            tell(BackupNotice::Restored, name);
            return true;
        case RestoreResult::Unreadable:
            tell(BackupNotice::Unreadable, name);
            [[fallthrough]];
        case RestoreResult::Failed:
            tell(BackupNotice::RestoreFailed, name);
            return false;
        case RestoreResult::Unfinished:
            tell(BackupNotice::RestoreUnfinished, name);
            return false;
        case RestoreResult::Cancelled:
            break;
    }
    return false;
}

void BackupRules::Clear() {
    list.Clear();
    listRead = false;
}
