#pragma once
// The backups' windows: the navigation page's " Backup" item opened before a backup is made, and the
// login dialog that asks for a backup's password before it is restored, over the session's backup rules.
#include "shell/PluginSession.h"
#include "ui/panes/BackupCommands.h"

class BackupWindows : public BackupActions {
public:
    explicit BackupWindows(PluginSession& session) : session(session) {}

    bool WalletOpen() const override { return session.Backup().WalletOpen(); }
    std::u16string MakeBackup(const std::function<void(const std::u16string&)>& listed) override;
    void RestoreBackup(const std::u16string& name) override;
    CTesseraBackup& Backups() override { return session.Backup().List(); }

private:
    PluginSession& session;
};
