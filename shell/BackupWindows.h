#pragma once
// The backups' windows: the navigation page's " Backup" item opened before a backup is made, and the
// login dialog that asks for a backup's password before it is restored.
#include "shell/BackupSession.h"
#include "ui/panes/BackupCommands.h"

class BackupWindows : public BackupActions {
public:
    explicit BackupWindows(BackupSession& backups) : backups(backups) {}

    bool WalletOpen() const override { return backups.WalletOpen(); }
    std::u16string MakeBackup(const std::function<void(const std::u16string&)>& listed) override;
    void RestoreBackup(const std::u16string& name) override;
    CTesseraBackup& Backups() override { return backups.List(); }

private:
    BackupSession& backups;
};
