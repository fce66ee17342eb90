#include "shell/BackupSession.h"

#include "device/WalletRestore.h"
#include "model/Data.h"
#include "shell/PluginSession.h"
#include "ui/resources/Resource.h"

std::u16string BackupSession::Make(const std::function<void(const std::u16string&)>& listed) {
    if (!WalletOpen()) return {};
    const std::u16string& wallet = session.location.WalletPath();
    std::u16string folder = session.location.BackupFolder(session.options);
    if (wallet.empty() || folder.empty()) return {};
    std::u16string made =
        session.backups.Make(folder, wallet, GetSystemTimeUtc(), static_cast<uint32_t>(data.cardCount()));
    if (made.empty()) {
        Message(IDS_BACKUP_FAILED);
        return {};
    }
    session.backupListRead = true;
    if (listed) listed(made);  // the list shows the new backup before the message says so
    Message(IDS_BACKUP_DONE, made);
    return made;
}

int BackupSession::Restore(const std::u16string& name, const BackupPasswordCheck& askPassword) {
    std::u16string folder = session.location.BackupFolder(session.options);
    if (folder.empty() || !session.location.InstallDirKnown()) return 0;
    RestoreResult result =
        RestoreBackup(folder, name, session.location.WalletPath(), [&](CTesseraEncryptedLinkList& backup) {
            session.loginDialogOpen = true;
            BackupLogin login = askPassword(backup);
            session.loginDialogOpen = false;
            return login;
        });
    switch (result) {
        case RestoreResult::Restored:
            Message(IDS_RESTORE_DONE);
            if (session.views) session.views->PostHostExit();
            return 1;
        case RestoreResult::Unreadable:
            if (session.views) session.views->Message({IDS_READ_BACKUP_FAILED, MessageIcon::Error});
            [[fallthrough]];
        case RestoreResult::Failed:
            Message(IDS_RESTORE_FAILED);
            return 0;
        case RestoreResult::Unfinished:
            Message(IDS_RESTORE_UNFINISHED);
            return 0;
        case RestoreResult::Cancelled:
            break;
    }
    return 0;
}

CTesseraBackup& BackupSession::List() {
    return session.backups;
}

bool BackupSession::WalletOpen() const {
    return session.WalletRead() && session.loggedIn && data.HasStores();
}

void BackupSession::Message(unsigned text, const std::u16string& name) {
    if (session.views) session.views->Message({text, MessageIcon::None, 0, name});
}
